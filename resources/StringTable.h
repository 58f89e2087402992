#pragma once

// Every text and caption that the program shows, each named once.

namespace Text {

// Captions.
inline constexpr const char* ErrorCaption = "Error";
inline constexpr const char* ErrorWritingFileCaption = "Error Writing File";
inline constexpr const char* ErrorSavingFileCaption = "Error Saving File.";
inline constexpr const char* CollectionChangedCaption = "Collection Changed";

// Box texts. Line breaks are CR LF; the box shows one.
inline constexpr const char* SaveToFile = "Save to File";
inline constexpr const char* NameBlank = "Name Blank.\r\nNo entry added.";
inline constexpr const char* AlreadyInList = "This entry is already in the list.\r\nDo you really want to add this item?";
// Update on a row whose Card the fields do not hold: %1 is the Name in the
// fields, %2 the marked row's.
inline constexpr const char* UpdateAfterDelete =
    "The fields hold \u201c%1\u201d, the Card you deleted.\r\n"
    "Do you really want to replace the selected Card, \u201c%2\u201d, with it?";
inline constexpr const char* UpdateOtherCard =
    "The fields do not hold the selected Card, \u201c%2\u201d, but \u201c%1\u201d.\r\n"
    "Do you really want to replace \u201c%2\u201d with what the fields hold?";
inline constexpr const char* ErrorLoadingFile = "Error loading file";
inline constexpr const char* PageGenerated = "Your Page Has Been Generated.\nYour page was written to:\n";
inline constexpr const char* ViewPageQuestion = "\nWould you like to view it?";
// %1 is the row template's name.
inline constexpr const char* PageGeneratedWithoutCards =
    "Your Page Has Been Generated, but without your Cards: its row template %1 is empty.\n"
    "Your page was written to:\n";
// A page not written for want of its outer template (%1), then one of the
// two texts after it.
inline constexpr const char* PageWouldBeEmpty =
    "The page was not written: its template %1 is missing or empty, so the page would be empty.";
inline constexpr const char* FillOrDeleteTemplate =
    "\r\nPut your page's HTML into %1, or delete %1 to have Quillmark copy its sample template in again.";
// %1 is the reason.
inline constexpr const char* SampleTemplateNotCopied = "\r\nThe sample template could not be copied in (%1).";
// %1 is why, %2 the folder.
inline constexpr const char* CollectionUnreadable =
    "Your collection file qmk.dat could not be read.\r\n%1\r\n"
    "It will not be overwritten; the Cards of this run are saved to a recovery file in %2.";
inline constexpr const char* CollectionLeftAsItWas =
    "qmk.dat could not be read when Quillmark started, so it was left as it was.";
inline constexpr const char* RecoverySaved = "Your Cards were saved to %1";
inline constexpr const char* NoRecoveryFile = "No recovery file could be written either.";
inline constexpr const char* UnstorableCharacter =
    "The character \"%1\" (U+%2) cannot be stored in %3, which is written in the Windows-1252 character "
    "set.\r\nIt was not entered.";
inline constexpr const char* AutosaveFailed =
    "Your changes could not be saved to qmk.dat (%1).\r\n"
    "Quillmark keeps trying after every change, and says no more until a save succeeds.";
inline constexpr const char* CollectionChangedElsewhere =
    "qmk.dat was changed by another program since Quillmark read or saved it.\r\n"
    "The file found was kept as %1\r\n"
    "and the collection in this window was saved as %2";
inline constexpr const char* AlreadyOpen = "This collection is already open in Quillmark (process %1 on %2).";
inline constexpr const char* InUseByCli =
    "This collection is in use by quillmark-cli (process %1 on %2); try again once it has finished.";
inline constexpr const char* FolderUnwritable =
    "Quillmark cannot create files in %1 (%2), so it could not keep your collection safe there. "
    "Make the folder writable, or start Quillmark in another folder.";
inline constexpr const char* BackupFailed = "Today's backup copy of qmk.dat could not be made (%1).";

// Files that are not regular files. %1 is the path, %2 one of the kinds below.
inline constexpr const char* NotARegularFile = "%1: not a regular file but %2; only regular files are read";
inline constexpr const char* SpecialFileNotReplaced =
    "%1: not a regular file but %2, which is neither replaced nor written into";
inline constexpr const char* PipeWithoutReader = "%1: a named pipe that no program reads from; nothing was written";
inline constexpr const char* FileKindPipe = "a named pipe";
inline constexpr const char* FileKindDevice = "a device";
inline constexpr const char* FileKindSocket = "a socket";
inline constexpr const char* FileKindSpecial = "a special file";
// %1 is why.
inline constexpr const char* ErrorLoadingFileBecause = "Error loading file\r\n%1";
inline constexpr const char* PreferencesUnreadable =
    "Your preferences file qmk.ini could not be read, so Quillmark starts with its default settings.\r\n%1";

// Where pages and exports go. %1 is the location.
inline constexpr const char* PageLocationHasNul =
    "The page location in qmk.ini holds a NUL character, which no file name can hold, so no page was written.";
inline constexpr const char* PageOverOwnFile =
    "%1 is one of this collection's own files (qmk.dat, qmk.ini or a page template), so no page was written there.";
inline constexpr const char* ReplaceWithPage =
    "%1 already exists and is not an HTML page.\r\nDo you want to replace it with the page?";
inline constexpr const char* NotAPageRefused =
    "%1 already exists and is not an HTML page, so it was not replaced; choose another page location";
inline constexpr const char* ExportOverCollection =
    "%1 is this collection's own qmk.dat, so the Cards were not exported over it";

// quillmark-cli. %1 is where the file found was kept, %2 qmk.dat.
inline constexpr const char* CliCollectionChanged =
    "qmk.dat was changed by another program while quillmark-cli was working on it.\r\n"
    "The file found was kept as %1\r\n"
    "and the collection with this import was saved as %2";

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
// The card table header's context menu; %1 is the column's heading.
inline constexpr const char* SortAsNumbersMenu = "Sort %1 as &Numbers";
inline constexpr const char* ImportStep = "Import from CSV";
inline constexpr const char* ReimportStep = "Import from %1";
inline constexpr const char* MergeStep = "Merge Collection";
inline constexpr const char* Notice = "Quillmark v1.01 - trading card inventory";
inline constexpr const char* StatisticsMenu = "&Statistics...";
inline constexpr const char* SetCompletionMenu = "Set &Completion...";

// The tips of the window's controls, shown while tooltips are on.
inline constexpr const char* QuitTip =
    "This button will save your data, save your preferences and then quit the program.";
inline constexpr const char* ConditionTip = "Enter, Update or Choose the condition of your Card from the list.";
inline constexpr const char* SeriesTip = "Enter, Update or Choose a series from the list.";
inline constexpr const char* NameTip = "Enter or Update the Title of the Card here.";
inline constexpr const char* PriceTip = "Enter or Update the price you purchased the Card for here.";
inline constexpr const char* QuantityTip = "Enter or Update the number of these Cards here.";
inline constexpr const char* UrlTip = "Enter or Update the url or file path for an image.";
inline constexpr const char* CardTableTip = "This list displays all of the Cards currently in your list.";
inline constexpr const char* AddTip = "This button adds the Card contained in the fields to the list below.";
inline constexpr const char* UpdateTip = "This button updates the Card contained in the fields to the list below.";
inline constexpr const char* ClearTip = "This button clears the data entry fields.";
inline constexpr const char* DeleteTip = "This button deletes the currently selected Card in the list.";
inline constexpr const char* ListTip = "This button generates your List HTML page.";
inline constexpr const char* CatalogueTip = "This button generates your Catalogue page.";
inline constexpr const char* HelpTip = "This button will take you to the Velmora Website for more information.";
inline constexpr const char* DescriptionTip = "Enter a description of the Card here.";
inline constexpr const char* YearTip = "Enter or Update the year the Card was made here.";
inline constexpr const char* PreferencesTip =
    "This button will display the preferences window and allow you to edit them.";

// The menu bar. The window's buttons and labels have no underlined letters,
// so Alt and these open the menus whatever has the focus.
inline constexpr const char* FileMenu = "&File";
inline constexpr const char* EditMenu = "&Edit";
inline constexpr const char* ViewMenu = "&View";
inline constexpr const char* HelpMenu = "&Help";
inline constexpr const char* PublishCatalogueMenu = "Publish &Catalogue";
inline constexpr const char* PublishListMenu = "Publish &List";
inline constexpr const char* QuitMenu = "&Quit";
inline constexpr const char* AddMenu = "&Add";
inline constexpr const char* UpdateMenu = "U&pdate";
inline constexpr const char* DeleteMenu = "&Delete";
inline constexpr const char* ClearMenu = "&Clear";
inline constexpr const char* PreferencesMenu = "Pr&eferences...";
inline constexpr const char* TooltipsMenu = "&Tooltips";
inline constexpr const char* HelpContentsMenu = "Quillmark &Help";

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
inline constexpr const char* StatisticsValue = "Market value:";
inline constexpr const char* StatisticsValueDate = "%1, of %2 or later";
inline constexpr const char* StatisticsNotValued = "Not valued:";
inline constexpr const char* StatisticsGain = "Gain:";
inline constexpr const char* StatisticsGainOneCard = "%1 on 1 Card";
inline constexpr const char* StatisticsGainCards = "%1 on %2 Cards";
inline constexpr const char* StatisticsGainsTab = "Gains and Losses";
inline constexpr const char* StatisticsGainColumn = "Gain";
inline constexpr const char* StatisticsMarketColumn = "Market price";

// The Set Completion window.
inline constexpr const char* SetsCaption = "Quillmark Set Completion";
inline constexpr const char* SetsNameColumn = "Set";
inline constexpr const char* SetsGameColumn = "Game";
inline constexpr const char* SetsCodeColumn = "Code";
inline constexpr const char* SetsOwnedColumn = "Held";
inline constexpr const char* SetsMissingColumn = "Missing numbers";
// %1 numbers held of the set's %2.
inline constexpr const char* SetsOwnedOf = "%1 of %2";
// %1 numbers held of a set whose size is not known yet.
inline constexpr const char* SetsOwnedUnknown = "%1 held, size not fetched";
inline constexpr const char* SetsFetchSizes = "&Fetch Set Sizes";
inline constexpr const char* SetsCancel = "C&ancel";
inline constexpr const char* SetsListMissing = "&List Missing Cards";
inline constexpr const char* SetsExportCsv = "&Export as CSV...";
inline constexpr const char* SetsAddWanted = "Add as &Wanted Cards";
inline constexpr const char* SetsClose = "Close";
inline constexpr const char* SetsNoSets =
    "No Card names a set yet: Look Up Card or Card Details give a Card its game, set and number.";
inline constexpr const char* SetsHint =
    "A set's size is fetched once from its card database and kept; numbers with letters or beyond the size "
    "are not counted.";
inline constexpr const char* SetsCardNameColumn = "Name";
inline constexpr const char* SetsNumberColumn = "Number";
inline constexpr const char* SetsMarketColumn = "Market price";
// %1 is the set's name.
inline constexpr const char* SetsMissingOf = "Missing from %1:";
inline constexpr const char* SetsFetchFailedCaption = "Set Completion";
inline constexpr const char* SetsFetchFailed = "Some answers could not be had:\r\n%1";
inline constexpr const char* SetsExportCaption = "Export Missing Cards";
inline constexpr const char* SetsCsvFilter = "CSV files (*.csv)";
inline constexpr const char* SetsExportFailed = "The list could not be saved.\r\n%1";

// The filter bar.
inline constexpr const char* FindMenu = "&Find...";
inline constexpr const char* FilterPlaceholder = "Find Cards: words, \"a phrase\", series:word";
inline constexpr const char* FilterHidesAddedCard = " - the Card added is hidden by the filter";
inline constexpr const char* FilterHidesAddedCards = " - %1 Cards added are hidden by the filter";
inline constexpr const char* FilterHidesChangedCard = " - the Card changed is hidden by the filter";

// The printing details of a Card.
inline constexpr const char* CardDetailsMenu = "Card De&tails...";
inline constexpr const char* CardDetailsCaption = "Card Details";
inline constexpr const char* CardDetailsNoName = "(a Card without a name yet)";
inline constexpr const char* CardDetailsHeld = "The details go into the table with the Card when you Add or Update it.";
inline constexpr const char* DetailGameLabel = "&Game:";
inline constexpr const char* DetailSetLabel = "&Set:";
inline constexpr const char* DetailNumberLabel = "N&umber:";
inline constexpr const char* DetailFinishLabel = "&Finish:";
inline constexpr const char* DetailLanguageLabel = "&Language:";
inline constexpr const char* DetailLocationLabel = "L&ocation:";
inline constexpr const char* DetailTagsLabel = "&Tags:";
inline constexpr const char* DetailTradeLabel = "For t&rade:";
inline constexpr const char* DetailWantLabel = "&Wanted:";
inline constexpr const char* DetailPrintLabel = "&Printing at its source:";
inline constexpr const char* DetailMarketLabel = "&Market price:";
inline constexpr const char* DetailMarketDateLabel = "Market &date:";
inline constexpr const char* DetailSourceLabel = "Imported from &app:";

// Looking a card up in the public card databases, in the window.
inline constexpr const char* LookupMenu = "&Look Up Card...";
inline constexpr const char* LookupCaption = "Look Up Card";
inline constexpr const char* LookupPlaceholder = "A name, or a set and number: xln 96, swsh3-136, SDDC-EN014";
inline constexpr const char* LookupAnyGame = "Any game";
inline constexpr const char* LookupMagic = "Magic: The Gathering";
inline constexpr const char* LookupPokemon = "Pok\u00e9mon";
inline constexpr const char* LookupYugioh = "Yu-Gi-Oh!";
inline constexpr const char* LookupSearch = "&Search";
inline constexpr const char* LookupNameColumn = "Name";
inline constexpr const char* LookupSetColumn = "Set";
inline constexpr const char* LookupNumberColumn = "Number";
inline constexpr const char* LookupYearColumn = "Year";
inline constexpr const char* LookupGameColumn = "Game";
inline constexpr const char* LookupChoose = "&Fill In";
inline constexpr const char* LookupSearching = "Asking the card databases...";
// %1 is how many.
inline constexpr const char* LookupFound = "%1 found";
inline constexpr const char* CardIndexMenu = "Download Card &Index...";
inline constexpr const char* CardIndexCaption = "Card Index";
inline constexpr const char* CardIndexQuestion =
    "Download the names of every Magic card from Scryfall, once (a large file)?\r\n"
    "Look Up Card then completes names as you type them, without the network.";
inline constexpr const char* CardIndexProgress = "Downloading the names of every Magic card...";
inline constexpr const char* CardIndexCancel = "Cancel";
// %1 is how many.
inline constexpr const char* CardIndexMade = "The card index holds %1 names.";

// CSV export and import.
inline constexpr const char* ExportCsvMenu = "&Export to CSV...";
inline constexpr const char* ImportCsvMenu = "&Import from CSV...";
inline constexpr const char* ExportCsvCaption = "Export to CSV";
inline constexpr const char* ImportCsvCaption = "Import from CSV";
inline constexpr const char* CsvFileName = "cards.csv";
inline constexpr const char* CsvFileFilter = "CSV files (*.csv);;All files (*)";
// The export's file types: Quillmark's own columns first, then the card apps'
// (in the order of CsvFormat), then any file in Quillmark's.
inline constexpr const char* CsvExportFilter =
    "CSV files (*.csv);;Moxfield collection CSV (*.csv);;Deckbox inventory CSV (*.csv);;All files (*)";
inline constexpr const char* CsvExportedOne = "1 Card exported to %1";
inline constexpr const char* CsvExportedMany = "%1 Cards exported to %2";
inline constexpr const char* CsvNotWritten = "The Cards could not be exported.\r\n%1";
inline constexpr const char* CsvNotRead = "The file could not be read.\r\n%1";
inline constexpr const char* CsvLineFault = "Line %1 of %2: %3.\r\nNothing was imported.";
// Why a file that is almost all UTF-8 is refused at a line that is not.
inline constexpr const char* CsvStrayBytesLine = "this line is not valid UTF-8, though almost all of the file is";
// Asked before the import dialog about such a file: %1 is the line's
// number, %2 the file's name, %3 the line as UTF-8 (each byte that is not
// shown as \uFFFD), %4 the line with those bytes read as Windows-1252.
inline constexpr const char* CsvStrayBytesQuestion =
    "Line %1 of %2 is not valid UTF-8, though almost all of the file is:\r\n\r\n%3\r\n\r\n"
    "Read the bytes that are not UTF-8 as Windows-1252 letters, and the rest of the file as UTF-8? "
    "The line then reads:\r\n\r\n%4\r\n\r\n"
    "Choose No to import nothing.";
// The same for a file with several such lines: %5 is how many.
inline constexpr const char* CsvStrayBytesQuestionMany =
    "%5 lines of %2 are not valid UTF-8, though almost all of the file is. The first of them, line %1:"
    "\r\n\r\n%3\r\n\r\n"
    "Read the bytes that are not UTF-8 as Windows-1252 letters, and the rest of the file as UTF-8? "
    "Line %1 then reads:\r\n\r\n%4\r\n\r\n"
    "Choose No to import nothing.";

// The import dialog.
inline constexpr const char* CsvImportButton = "&Import";
inline constexpr const char* CsvReadingGroup = "Reading the file";
inline constexpr const char* CsvSeparatorLabel = "&Separator:";
inline constexpr const char* CsvComma = "Comma";
inline constexpr const char* CsvSemicolon = "Semicolon";
inline constexpr const char* CsvTab = "Tab";
inline constexpr const char* CsvEncodingLabel = "&Encoding:";
inline constexpr const char* CsvUtf8 = "UTF-8";
inline constexpr const char* CsvWindows1252 = "Windows-1252 (Western European)";
inline constexpr const char* CsvHeaderCheck = "&First row is a header";
inline constexpr const char* CsvRepeatsLabel = "&Repeated Cards:";
inline constexpr const char* CsvRepeatsTip =
    "Cards whose Name and Series equal those of a Card already in the collection or earlier in the file";
inline constexpr const char* CsvAddRepeats = "Add as new rows";
inline constexpr const char* CsvSkipRepeats = "Skip them";
inline constexpr const char* CsvMergeRepeats = "Add their quantities";
inline constexpr const char* CsvColumnsGroup = "Columns";
inline constexpr const char* CsvFieldLabels[] = {
    "Card &Name:", "Card Series:", "Condition:", "Year:", "Purchase Price:", "Quantity:", "Picture URL:", "Description:",
};
inline constexpr const char* CsvDetailsHeading = "Printing details:";
inline constexpr const char* CsvDetailLabels[] = {
    "Game:", "Set Code:", "Number:", "Finish:", "Language:", "Location:", "Tags:", "Trade:", "Want:", "Print:",
    "Market Price:", "Market Date:", "Source:",
};
inline constexpr const char* CsvNoColumn = "(none)";
inline constexpr const char* CsvColumn = "Column %1";
inline constexpr const char* CsvNamedColumn = "Column %1: %2";
inline constexpr const char* CsvPreviewFault = "Line %1: %2. Try another encoding or separator.";
inline constexpr const char* CsvNoRows = "The file holds no rows.";
inline constexpr const char* CsvChooseName = "Choose the column that holds the Card Name.";
inline constexpr const char* CsvPreviewNote = "The first rows of the file, as they will be read.";
inline constexpr const char* CsvRecognisedApp = "Recognised: %1";
inline constexpr const char* CsvConditionScaleNote =
    "Conditions are read as Mint, Near Mint, Excellent, Good, Light Played, Played or Poor.";
inline constexpr const char* CsvRecognisedAppTip =
    "Its columns are mapped as the app writes them. Conditions are put on one scale: Mint, Near Mint, Excellent, "
    "Good, Light Played, Played, Poor (Lightly Played is Good, Moderately Played is Light Played, Heavily Played "
    "is Played, Damaged is Poor); words that are not on it are kept. Finishes become foil, etched, nonfoil, holo "
    "or reverse, languages short codes (en, ja), prices carry their currency, a wish list's Cards are wanted, and "
    "each Card's Source names the app.";
inline constexpr const char* CliRecognisedApp = "%1: read as a %2";

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

// quillmark-cli's CSV commands, after their usage lines in --help.
inline constexpr const char* ExportCsvDetails =
    "The first row is the header Name,Series,Condition,Year,Price,Quantity,URL,Description,\n"
    "followed by Game,Set Code,Number,Finish,Language,Location,Tags,Trade,Want,Print,Market Price,Market Date,Source\n"
    "when any Card has one of those printing details, then one row per Card in table\n"
    "order, top first: comma-separated, CR LF line ends, UTF-8 without a byte order\n"
    "mark. FILE is written safely, relative to the current directory. A pipe, a\n"
    "terminal or /dev/null there is written into, other special files are refused,\n"
    "and so is the collection's own qmk.dat.\n"
    "\n"
    "A value that begins with =, +, -, @, a tab or CR, which a spreadsheet would run\n"
    "as a formula, is written behind an apostrophe ('=1), and so is one that begins\n"
    "with apostrophes and then such a character; import-csv takes the apostrophe\n"
    "off again. --raw writes every value as it is, without that guard.\n"
    "\n"
    "--format moxfield and --format deckbox write the columns those apps import\n"
    "(Count, Tradelist Count, Name, Edition, ..., Purchase Price or My Price), with\n"
    "conditions, finishes and languages in their words, so that a collection goes\n"
    "back to the app it came from; quillmark, the default, writes the columns above.";
inline constexpr const char* ImportCsvDetails =
    "A folder that a Quillmark window has open is refused, as the window holds\n"
    "qmk.lock there: close the window first. Only a regular file is read.\n"
    "\n"
    "The columns are matched to the fields by the names in the first row, with case\n"
    "ignored and other programs' names understood (Card Name, Set, Qty, Paid, Image,\n"
    "Notes, ...); a file without a Name column is refused. The printing details are\n"
    "read only from columns that name them: Game, Set Code, Number (Collector\n"
    "Number), Finish (Printing), Language, Location (Binder, Folder), Tags, Trade\n"
    "(Tradelist Count), Want and Print (Scryfall ID). Rows without a name are\n"
    "skipped and counted. The separator (comma, semicolon, tab) and the encoding\n"
    "(UTF-8 or Windows-1252) are detected unless given; --separator takes one\n"
    "character, or the word tab.\n"
    "\n"
    "The collection exports of Deckbox, Moxfield, ManaBox, Dragon Shield, TCGplayer,\n"
    "Delver Lens, Archidekt, TopDecked and Collectr are recognised by their header,\n"
    "which is named on standard error: their columns are read as the app writes\n"
    "them, conditions put on the scale Mint, Near Mint, Excellent, Good, Light\n"
    "Played, Played, Poor, finishes, languages and games in short words, prices with\n"
    "their currency, wish lists as wanted Cards, and the app as each Card's Source.\n"
    "\n"
    "--duplicates says what to do with a Card whose Name and Series equal those of\n"
    "one already in the collection or earlier in the file: add it as a row (the\n"
    "default), skip it, or merge it by adding its quantity to the first one's\n"
    "(where both are whole numbers; others are added as rows).\n"
    "\n"
    "All or nothing: a file that cannot be read is refused with its line number and\n"
    "qmk.dat is left as it was. Otherwise qmk.dat is written safely and a summary is\n"
    "printed. When another program changed qmk.dat since it was read, the file found\n"
    "is kept beside it as qmk.dat.conflict-DATE-TIME, and a note says so.\n"
    "\n"
    "A file with a Source column is an export of a card app: its Cards are matched\n"
    "with the Cards already imported from that app by their printing (Print, or\n"
    "Game, Set Code, Number, Finish and Language; Name and Series for Cards with\n"
    "none of those) and Condition. Cards new to the app's are added, those that\n"
    "differ are changed, and the app's Cards that the file no longer holds are\n"
    "removed; --duplicates does not apply to them, and importing the same file again\n"
    "changes nothing. --preview prints the additions (+), the changes (~, old -> new)\n"
    "and the removals (-), and writes nothing.";

inline constexpr const char* MergeDetails =
    "Merges another copy of the collection, such as the qmk.dat.conflict-DATE-TIME\n"
    "file kept when qmk.dat was changed behind Quillmark's back, into the folder's\n"
    "qmk.dat, Card by Card. Cards are matched by their printing and Condition, as\n"
    "import-csv matches an app's Cards. Cards only in FILE are added at the top,\n"
    "identical Cards are kept once, and Cards only in qmk.dat are kept. Cards that\n"
    "match but differ are conflicts: they are listed (! Card: Field: ours -> theirs),\n"
    "nothing is written, and the exit status is 3; settle them in the window's\n"
    "File > Merge Collection. --preview prints what would be added (+) and the\n"
    "conflicts, and writes nothing. A merged conflict file is renamed with .merged\n"
    "added to its name, so that the window no longer offers it.";

// quillmark-cli's pages. %1 is a template's name, or the reason.
inline constexpr const char* CliSamplesNotCopied = "the sample page templates could not be copied in (%1)";
inline constexpr const char* CliPageWouldBeEmpty =
    "%1 is empty, so the page would be empty; nothing was written. Put the page's HTML into %1, "
    "or delete %1 to have the sample template copied in again";
inline constexpr const char* CliPageWithoutCards = "%1 is empty, so the page shows none of the Cards";
inline constexpr const char* CliNoCardForTrade =
    "no Card is marked for trade, so nothing was written; set a Card's Trade count in Card Details";
inline constexpr const char* CliNoCardWanted =
    "no Card is marked as wanted, so nothing was written; set a Card's Want count in Card Details";

// Collection folders.
inline constexpr const char* OpenFolderMenu = "&Open Collection Folder...";
inline constexpr const char* OpenFolderCaption = "Open Collection Folder";
inline constexpr const char* RecentCollectionsMenu = "Rece&nt Collections";
inline constexpr const char* NoRecentCollections = "No recent collections";
inline constexpr const char* FolderNotCreated =
    "The folder %1 cannot be created. Check that the folder above it exists and is writable, or choose another folder.";
inline constexpr const char* FolderNotEntered =
    "The folder %1 cannot be opened. Check that you may read and open it, or choose another folder.";
inline constexpr const char* SamplesNotCopied =
    "The sample page templates could not be copied into %1 (%2). Make the folder writable, or choose another folder.";
inline constexpr const char* RecentFolderGone =
    "The folder %1 no longer exists, so it was taken off the Recent Collections. "
    "If it was moved, open it where it is now with Open Collection Folder.";
inline constexpr const char* CollectionStaysOpen =
    "The collection in this window stays open. Choose another folder, or try this one again once the cause "
    "above is put right (for a collection open in another Quillmark: once it is closed there).";
inline constexpr const char* FolderTip = "This collection is kept in the folder %1";

// Card lookup in the public card databases. %1 is always the source's name.
inline constexpr const char* LookupUnreadable = "%1 sent an answer Quillmark cannot read (%2).";
// %2 is what the source said.
inline constexpr const char* LookupSourceSays = "%1 says: %2";
inline constexpr const char* LookupHttpStatus = "%1 answered with HTTP status %2.";
// %2 is how many seconds.
inline constexpr const char* LookupBusy =
    "%1 asks Quillmark to wait %2 seconds before asking it again; try again then.";
inline constexpr const char* LookupTimedOut = "%1 did not answer in time; try again later.";
// %2 is the network's reason.
inline constexpr const char* LookupUnreachable = "%1 could not be reached (%2).";
// %1 is what was typed.
inline constexpr const char* LookupNothingFound = "No card was found for \u201c%1\u201d.";
inline constexpr const char* LookupEmptyQuery = "Type part of a card's name, or a set and number, to look it up.";
// The Magic name index, kept on this machine. %1 is the reason.
inline constexpr const char* LookupIndexNoDriver =
    "The card index needs SQLite, which this Quillmark lacks: install Qt's SQLite driver (libqt6sql6-sqlite).";
inline constexpr const char* LookupIndexNoFile = "Scryfall lists no file of its cards to download.";
inline constexpr const char* LookupIndexNotFetched = "The file of cards could not be downloaded (%1).";
inline constexpr const char* LookupIndexNotMade = "The card index was not made (%1).";
// quillmark-cli card-index. %1 is how many names, %2 the index's file.
inline constexpr const char* CliCardIndexMade = "%1 card names in %2";
// %1 is the index's file.
inline constexpr const char* CliCardIndexMissing =
    "there is no card index at %1 yet; make it with quillmark-cli card-index download";
inline constexpr const char* CliCardIndexUsage = "card-index needs download, or complete and the start of a name";
// quillmark-cli lookup, called wrongly.
inline constexpr const char* CliLookupGame = "--game is magic, pokemon or yugioh";
inline constexpr const char* CliLookupNoQuery = "lookup needs part of the card's name, or its set and number";
// Market values. %1 is a card database.
inline constexpr const char* PricesNoSource = "no PRINT of a known card database, and no game with a set and number";
inline constexpr const char* PricesNotFound = "%1 does not know this printing";
inline constexpr const char* PricesNoPrice = "%1 gives no price for this printing and finish";
inline constexpr const char* PricesNotAsked = "not asked: the refresh was stopped";
inline constexpr const char* RefreshMarketMenu = "Refresh &Market Values...";
inline constexpr const char* RefreshMarketCaption = "Refresh Market Values";
inline constexpr const char* RefreshMarketAgain = "&Also refresh values already updated today";
// %1 is how many Cards.
inline constexpr const char* RefreshMarketCards = "%1 Cards shown name a printing to price.";
inline constexpr const char* RefreshMarketStart = "&Refresh";
// %1 and %2 count requests, %3 is seconds.
inline constexpr const char* RefreshMarketProgress = "%1 of %2 requests answered; about %3 s left";
// %1, %2 and %3 count Cards.
inline constexpr const char* RefreshMarketDone = "%1 Cards valued, %2 could not be priced, %3 already valued today.";
inline constexpr const char* RefreshMarketStep = "Refresh Market Values";
inline constexpr const char* RefreshMarketClose = "Close";
inline constexpr const char* RefreshMarketNameColumn = "Name";
inline constexpr const char* RefreshMarketWhyColumn = "Why not";
// %1 is the reason.
inline constexpr const char* PricesHistoryNotWritten = "The price history was not written (%1).";
inline constexpr const char* MarketMoversMenu = "Market &Movers...";
inline constexpr const char* MarketMoversCaption = "Market Movers";
inline constexpr const char* MarketMoversSince = "&Since:";
inline constexpr const char* MarketMoversRisers = "Biggest risers";
inline constexpr const char* MarketMoversFallers = "Biggest fallers";
inline constexpr const char* MarketMoversNameColumn = "Name";
inline constexpr const char* MarketMoversSetColumn = "Set";
inline constexpr const char* MarketMoversThenColumn = "Then";
inline constexpr const char* MarketMoversNowColumn = "Now";
inline constexpr const char* MarketMoversChangeColumn = "Change";
inline constexpr const char* PriceHistoryChartTitle = "Market value";
// quillmark-cli prices.
inline constexpr const char* CliPricesUsage = "prices needs refresh: prices refresh [--folder DIR] [--all]";
inline constexpr const char* CliPricesDetails =
    "prices refresh asks the card databases for the market value of the Cards that\n"
    "name a printing (a PRINT, or a game, set and number), writes it to MARKET and\n"
    "MARKETDATE in qmk.dat and adds it to the price history, prices.sqlite. Cards\n"
    "valued today are left alone unless --all is given. Progress goes to standard\n"
    "error, with each Card that could not be priced and why; the summary to standard\n"
    "output. The exit status is 0 when every Card asked about was priced and written,\n"
    "1 when some could not be priced (the others are written) or nothing could be\n"
    "written.";
// Storing a match's picture in the collection folder. %1 is the reason.
inline constexpr const char* LookupPictureNone = "The card database has no picture of this card.";
inline constexpr const char* LookupPictureNotAPicture = "What the card database sent is not a picture.";
inline constexpr const char* LookupPictureTooLarge = "The picture is too large to be a card's picture.";
inline constexpr const char* LookupPictureNotFetched = "The picture could not be fetched (%1).";
inline constexpr const char* LookupPictureNotStored = "The picture could not be stored (%1).";

// The Trade List and the Want List: pages of the Cards with copies to trade,
// and of those still wanted.
inline constexpr const char* PublishTradeListMenu = "Publish &Trade List";
inline constexpr const char* PublishWantListMenu = "Publish &Want List";
inline constexpr const char* NoCardForTrade =
    "No Card is marked for trade, so no Trade List was written.\r\nSet a Card's Trade count in Card Details.";
inline constexpr const char* NoCardWanted =
    "No Card is marked as wanted, so no Want List was written.\r\nSet a Card's Want count in Card Details.";
inline constexpr const char* TradeListCaption = "Trade List";
inline constexpr const char* WantListCaption = "Want List";

// File > Print: the List of the Cards shown, on paper or as PDF.
inline constexpr const char* PrintMenu = "&Print...";
inline constexpr const char* PrintCaption = "Print Cards";
// The title of the printed List: %1 is the owner's name.
inline constexpr const char* PrintTitle = "Card List";
inline constexpr const char* PrintTitleOf = "Card List of %1";
// Below the table. %1 is how many Cards, %2 how many the collection holds.
inline constexpr const char* PrintShownCards = "%1 of %2 Cards, as the filter shows them.";
inline constexpr const char* PrintAllCards = "%1 Cards.";
inline constexpr const char* PrintNoCards = "No Card is shown, so there is nothing to print.";
inline constexpr const char* PrintFailed = "The Cards could not be printed: %1";

// Importing a card app's export again, and merging two copies of a
// collection. %1 is a field's heading, %2 and %3 its old and new values.
inline constexpr const char* FieldChange = "%1: %2 -> %3";
// %1 is the app, as the Source column names it.
inline constexpr const char* ReimportCaption = "Import from %1";
inline constexpr const char* ReimportIntro =
    "The collection already holds Cards imported from %1. Tick the changes to make:";
inline constexpr const char* ReimportAddedGroup = "Added (%1)";
inline constexpr const char* ReimportChangedGroup = "Changed (%1)";
inline constexpr const char* ReimportRemovedGroup = "Removed (%1)";
inline constexpr const char* ReimportApplyButton = "&Apply";
inline constexpr const char* ReimportCardColumn = "Card";
inline constexpr const char* ReimportOldColumn = "In the collection";
inline constexpr const char* ReimportNewColumn = "In the import";
inline constexpr const char* ReimportNothing =
    "The collection already holds every Card of this import as it is: nothing was changed.";
// %1, %2, %3: how many Cards were added, changed and removed.
inline constexpr const char* ReimportDone = "Cards: %1 added, %2 changed, %3 removed";
inline constexpr const char* MergeCollectionMenu = "&Merge Collection...";
inline constexpr const char* MergeCaption = "Merge Collection";
inline constexpr const char* MergeFileFilter = "Collection files (qmk.dat*);;All files (*)";
// %1 is the other file.
inline constexpr const char* MergeFileMissing = "%1: no such file";
inline constexpr const char* MergeUnstorable =
    "%1 holds the character %2, which this collection's file cannot store: nothing was merged.";
inline constexpr const char* MergeNotRead = "The collection could not be merged.\r\n%1";
inline constexpr const char* MergeNothing = "The collection already holds every Card of %1: nothing was changed.";
// %1: how many Cards are added, %2 how many are in both, %3 the file.
inline constexpr const char* MergeIntro =
    "Cards of %3: %1 added, %2 alike in both. These Cards differ in the two: tick those whose values to take "
    "from %3.";
inline constexpr const char* MergeMineColumn = "This collection";
inline constexpr const char* MergeTheirsColumn = "The other file";
inline constexpr const char* MergeTakeTheirs = "Take theirs";
inline constexpr const char* MergeButton = "&Merge";
// %1 the file, %2 how many Cards were added, %3 how many were taken from it.
inline constexpr const char* MergeDone = "%1 merged. Cards: %2 added, %3 taken from it";
inline constexpr const char* MergeNotMarked =
    "%1 was merged, but could not be renamed (%2): it will be offered again.";
inline constexpr const char* MergeConflictOffer =
    "%1 holds the collection as another program left it when Quillmark last saved, kept aside.\r\n"
    "Merge its Cards into the collection now?";

} // namespace Text
