#pragma once

// Every text and caption that the program shows, each named once.

namespace Text {

// Captions.
inline constexpr const char* ErrorCaption = "Error";
inline constexpr const char* ErrorWritingFileCaption = "Error Writing File";
inline constexpr const char* ErrorSavingFileCaption = "Error Saving File.";

// Box texts. Line breaks are CR LF; the box shows one.
inline constexpr const char* SaveToFile = "Save to File";
inline constexpr const char* NameBlank = "Name Blank.\r\nNo entry added.";
inline constexpr const char* AlreadyInList = "This entry is already in the list.\r\nDo you really want to add this item?";
inline constexpr const char* ErrorLoadingFile = "Error loading file";
inline constexpr const char* PageGenerated = "Your Page Has Been Generated.\nYour page was written to:\n";
inline constexpr const char* ViewPageQuestion = "\nWould you like to view it?";
inline constexpr const char* CollectionUnreadable =
    "Your collection file qmk.dat could not be read.\r\n"
    "It will not be overwritten; when Quillmark closes, the Cards of this run are saved to a recovery file "
    "beside it.";
inline constexpr const char* CollectionLeftAsItWas =
    "qmk.dat could not be read when Quillmark started, so it was left as it was.";
inline constexpr const char* RecoverySaved = "Your Cards were saved to %1";
inline constexpr const char* NoRecoveryFile = "No recovery file could be written either.";

// The window.
inline constexpr const char* AboutMenu = "&About Quillmark...";
inline constexpr const char* Notice = "Quillmark v1.01 - trading card inventory";

// The binder.
inline constexpr const char* BinderMenu = "&Binder...";
inline constexpr const char* BinderTitle = "Quillmark - Binder";
inline constexpr const char* BinderPages = "Pages of nine";
inline constexpr const char* BinderGrid = "One grid";
inline constexpr const char* BinderLayout = "&Show:";
inline constexpr const char* BinderSize = "Si&ze:";
inline constexpr const char* BinderPrevious = "< &Previous page";
inline constexpr const char* BinderNext = "&Next page >";
inline constexpr const char* BinderPage = "Page %1 of %2";
inline constexpr const char* BinderCards = "%1 Cards";
inline constexpr const char* BinderOneCard = "1 Card";
inline constexpr const char* PictureReading = "Reading the picture...";
inline constexpr const char* PictureUnavailable = "The picture could not be shown.";
inline constexpr const char* PictureNone = "This Card has no picture.";

} // namespace Text
