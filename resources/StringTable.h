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
inline constexpr const char* UndoMenu = "&Undo";
inline constexpr const char* RedoMenu = "&Redo";
// %1 is the step, one of the step names below.
inline constexpr const char* UndoStepMenu = "&Undo %1";
inline constexpr const char* RedoStepMenu = "&Redo %1";
// %1 is the Card's Name, or a column heading.
inline constexpr const char* AddStep = "Add \u201c%1\u201d";
inline constexpr const char* UpdateStep = "Update \u201c%1\u201d";
inline constexpr const char* DeleteStep = "Delete \u201c%1\u201d";
inline constexpr const char* SortStep = "Sort by %1";
inline constexpr const char* Notice = "Quillmark v1.01 - trading card inventory";
inline constexpr const char* StatisticsMenu = "&Statistics...";

// The Statistics window.
inline constexpr const char* StatisticsCaption = "Quillmark Statistics";
inline constexpr const char* StatisticsFiltered = "Only the %1 of %2 Cards that the filter shows are counted.";
inline constexpr const char* StatisticsCards = "Cards:";
inline constexpr const char* StatisticsCopies = "Copies:";
inline constexpr const char* StatisticsPaid = "Paid:";
inline constexpr const char* StatisticsUnpriced = "Without a price:";
inline constexpr const char* StatisticsUnreadable = "Unreadable values:";
inline constexpr const char* StatisticsCurrencyOneCard = "%1 (1 Card)";
inline constexpr const char* StatisticsCurrencyCards = "%1 (%2 Cards)";
inline constexpr const char* StatisticsMostCostlyTab = "Most Costly";
inline constexpr const char* StatisticsBySeriesTab = "By Series";
inline constexpr const char* StatisticsByConditionTab = "By Condition";
inline constexpr const char* StatisticsByYearTab = "By Year";
inline constexpr const char* StatisticsUnreadableTab = "Unreadable";
inline constexpr const char* StatisticsRowHint = "Click a row to select its Card in the main window.";
inline constexpr const char* StatisticsRowColumn = "Row";
inline constexpr const char* StatisticsNameColumn = "Name";
inline constexpr const char* StatisticsPriceColumn = "Price of one copy";
inline constexpr const char* StatisticsCardsColumn = "Cards";
inline constexpr const char* StatisticsCopiesColumn = "Copies";
inline constexpr const char* StatisticsPaidColumn = "Paid";
inline constexpr const char* StatisticsFieldColumn = "Field";
inline constexpr const char* StatisticsValueColumn = "Value";
inline constexpr const char* StatisticsPriceField = "Price";
inline constexpr const char* StatisticsQuantityField = "Quantity";
inline constexpr const char* StatisticsBlank = "(blank)";
inline constexpr const char* StatisticsChartTitle = "Cards and copies by %1";
inline constexpr const char* StatisticsChartLargest = "Cards and copies by %1: the %2 largest of %3";
inline constexpr const char* StatisticsSaveChart = "Save Chart...";
inline constexpr const char* StatisticsSaveChartCaption = "Save Chart as PNG";
inline constexpr const char* StatisticsPngFilter = "PNG images (*.png)";
inline constexpr const char* StatisticsChartNotSaved = "The chart could not be saved.\r\n%1";
inline constexpr const char* StatisticsClose = "Close";

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
