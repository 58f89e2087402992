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
inline constexpr const char* UnstorableCharacter =
    "The character \"%1\" (U+%2) cannot be stored in %3, which is written in the Windows-1252 character "
    "set.\r\nIt was not entered.";

// The window.
inline constexpr const char* AboutMenu = "&About Quillmark...";
inline constexpr const char* Notice = "Quillmark v1.01 - trading card inventory";

} // namespace Text
