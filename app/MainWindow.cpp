#include "app/MainWindow.h"

#include "app/binder/BinderFeature.h"
#include "app/cards/CardDetailsFeature.h"
#include "app/csv/CsvFeature.h"
#include "app/filter/FilterBar.h"
#include "app/folders/SharedFiles.h"
#include "app/history/CollectionHistory.h"
#include "app/lists/CardListsFeature.h"
#include "app/lookup/LookupFeature.h"
#include "app/merge/MergeFeature.h"
#include "app/merge/ReimportFeature.h"
#include "app/preferences/PreferencesDialog.h"
#include "app/prices/MarketMoversFeature.h"
#include "app/prices/MarketRefreshFeature.h"
#include "app/print/PrintFeature.h"
#include "app/sets/SetsFeature.h"
#include "app/statistics/StatisticsFeature.h"
#include "app/table/CardInFields.h"
#include "app/table/CardTableView.h"
#include "app/table/ColumnMenu.h"
#include "app/table/SortHeader.h"
#include "app/window/AboutDialog.h"
#include "app/window/ApplicationIcon.h"
#include "app/window/CollectionView.h"
#include "app/window/DialogBuilder.h"
#include "app/window/EncodingValidator.h"
#include "app/window/FieldUndoKeys.h"
#include "app/window/RecentMenu.h"
#include "app/window/Tooltips.h"
#include "app/window/UserQuestions.h"
#include "app/window/WindowLayout.h"
#include "base/StepTimes.h"
#include "collection/csv/CsvImport.h"
#include "collection/file/CollectionCommands.h"
#include "collection/file/CollectionFile.h"
#include "collection/lookup/LookupService.h"
#include "collection/merge/CollectionChanges.h"
#include "collection/merge/ReimportDiff.h"
#include "collection/sets/SetSizeCache.h"
#include "pages/PageCommands.h"
#include "prefs/PreferencesCommands.h"
#include "prefs/RecentCollections.h"
#include "resources/ControlIds.h"
#include "resources/StringTable.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace {

struct NamedControl {
    int id;
    const char* objectName;
};

// Stable names, by which tests and tools find the controls.
constexpr NamedControl kControlNames[] = {
    {ControlId::Quit, "quitButton"},
    {ControlId::Condition, "conditionBox"},
    {ControlId::Series, "seriesBox"},
    {ControlId::Name, "nameEdit"},
    {ControlId::Price, "priceEdit"},
    {ControlId::Quantity, "quantityEdit"},
    {ControlId::Url, "urlEdit"},
    {ControlId::CardTable, "cardTable"},
    {ControlId::Add, "addButton"},
    {ControlId::Update, "updateButton"},
    {ControlId::Clear, "clearButton"},
    {ControlId::Delete, "deleteButton"},
    {ControlId::List, "listButton"},
    {ControlId::Catalogue, "catalogueButton"},
    {ControlId::Help, "helpButton"},
    {ControlId::Description, "descriptionEdit"},
    {ControlId::Year, "yearEdit"},
    {ControlId::Count, "countBox"},
    {ControlId::Preferences, "preferencesButton"},
    {ControlId::Tooltips, "tooltipsBox"},
    {ControlId::Notice, "noticeLine"},
};

// The entry field of each Card field.
constexpr std::array<int, kCardFieldCount> kFieldControls = {
    ControlId::Name, ControlId::Series, ControlId::Condition, ControlId::Year,
    ControlId::Price, ControlId::Quantity, ControlId::Url, ControlId::Description,
};

// The buttons' commands. Each is an action too, for the menu bar and the
// usual key, which runs the button's own handler.
struct ButtonCommand {
    int id;
    void (MainWindow::*command)();
    const char* menuText;
    const char* actionName;
    QKeySequence::StandardKey keys;
};

// Each command's action stands in the menus under its name.

constexpr ButtonCommand kButtonCommands[] = {
    {ControlId::Add, &MainWindow::OnAdd, Text::AddMenu, "addAction", QKeySequence::UnknownKey},
    {ControlId::Update, &MainWindow::OnUpdate, Text::UpdateMenu, "updateAction", QKeySequence::UnknownKey},
    {ControlId::Clear, &MainWindow::ClearEntryFields, Text::ClearMenu, "clearAction", QKeySequence::UnknownKey},
    {ControlId::Delete, &MainWindow::OnDelete, Text::DeleteMenu, "deleteAction", QKeySequence::UnknownKey},
    {ControlId::List, &MainWindow::OnList, Text::PublishListMenu, "listAction", QKeySequence::UnknownKey},
    {ControlId::Catalogue, &MainWindow::OnCatalogue, Text::PublishCatalogueMenu, "catalogueAction",
     QKeySequence::UnknownKey},
    {ControlId::Help, &MainWindow::OnHelpButton, Text::HelpContentsMenu, "helpAction", QKeySequence::HelpContents},
    {ControlId::Preferences, &MainWindow::OnPreferences, Text::PreferencesMenu, "preferencesAction",
     QKeySequence::UnknownKey},
    {ControlId::Quit, &MainWindow::OnQuit, Text::QuitMenu, "quitAction", QKeySequence::Quit},
};

QString CollectionPath()
{
    return QString::fromLatin1(kCollectionFileName);
}

QString PreferencesPath()
{
    return QString::fromLatin1(kPreferencesFileName);
}

} // namespace

MainWindow::MainWindow(UserQuestions& questions, CollectionFolder folder, QWidget* parent)
    : QDialog(parent)
    , messages_(questions)
    , folder_(std::move(folder))
    , entry_(table_, seriesChoices_, conditionChoices_, questions)
    , collectionFile_(CollectionPath())
    , autosave_(table_, collectionFile_, questions)
    , shownCards_(table_)
    , actions_(*this)
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                   | Qt::WindowCloseButtonHint);
    clientArea_ = new QWidget(this);
    clientArea_->setObjectName(QStringLiteral("clientArea"));
    controls_ = BuildDialog(*this, *clientArea_, MainWindowTemplate());
    BindControls();
    BindHistory();
    ConnectCommands();
    MakeFeatures();
    BindMenuBar();
    StepTimes::Mark("controls made");
    OnInitWindow();
}

MainWindow::~MainWindow() = default;

void MainWindow::BindControls()
{
    for (const NamedControl& named : kControlNames)
        controls_.value(named.id)->setObjectName(QString::fromLatin1(named.objectName));
    countBox_ = qobject_cast<QLineEdit*>(Control(ControlId::Count));
    tooltipsBox_ = qobject_cast<QCheckBox*>(Control(ControlId::Tooltips));
    noticeLine_ = qobject_cast<QLabel*>(Control(ControlId::Notice));
    qobject_cast<QComboBox*>(Control(ControlId::Series))->setModel(&seriesChoices_);
    qobject_cast<QComboBox*>(Control(ControlId::Condition))->setModel(&conditionChoices_);
    for (int field = 0; field < kCardFieldCount; ++field) {
        QWidget* control = Control(kFieldControls[std::size_t(field)]);
        if (auto* combo = qobject_cast<QComboBox*>(control))
            fields_[std::size_t(field)] = std::make_unique<FieldBinding>(combo->lineEdit(), combo);
        else
            fields_[std::size_t(field)] = std::make_unique<FieldBinding>(qobject_cast<QLineEdit*>(control));
    }
    cardTable_ = qobject_cast<CardTableView*>(Control(ControlId::CardTable));
    cardTable_->SetCardTable(&table_, &shownCards_);
    cardInFields_ = std::make_unique<CardInFields>(table_);
    sortHeader_ = new SortHeader(*cardTable_->horizontalHeader(), table_, this);
    filterBar_ = new FilterBar(shownCards_, clientArea_);
    filterBar_->hide();
    // Tab goes from the table to the bar, as the bar sits below it.
    setTabOrder(cardTable_, filterBar_->focusProxy());
    controls_.insert(ControlId::FilterBar, filterBar_);
}

void MainWindow::BindHistory()
{
    history_ = std::make_unique<CollectionHistory>(entry_, table_, *cardTable_);
    // The history names the step in each action's text.
    QAction& undo = actions_.Register("undoAction", Text::UndoMenu);
    QAction& redo = actions_.Register("redoAction", Text::RedoMenu);
    history_->BindActions(undo, redo);
    connect(&undo, &QAction::triggered, this, &MainWindow::OnUndo);
    connect(&redo, &QAction::triggered, this, &MainWindow::OnRedo);
    auto* keys = new FieldUndoKeys(*this, undo, redo);
    connect(history_.get(), &CollectionHistory::Changed, keys, &FieldUndoKeys::ForgetTyping);
}

void MainWindow::ConnectCommands()
{
    for (const ButtonCommand& button : kButtonCommands) {
        connect(qobject_cast<QPushButton*>(Control(button.id)), &QPushButton::clicked, this, button.command);
        connect(&actions_.Register(button.actionName, button.menuText, button.keys), &QAction::triggered, this,
                button.command);
    }
    connect(tooltipsBox_, &QCheckBox::clicked, this, &MainWindow::OnTooltipsCheck);
    connect(cardTable_->horizontalHeader(), &QHeaderView::sectionClicked, this, &MainWindow::OnColumnClick);
    connect(sortHeader_, &SortHeader::NumberColumnsChanged, this,
            [this] { CollectionView::RememberNumberColumns(folder_.Path(), sortHeader_->NumberColumns()); });
    auto* columns = new ColumnMenu(*cardTable_->horizontalHeader(), [this](int, bool) {
        cardTable_->RefitShownColumns();
        CollectionView::RememberShownColumns(folder_.Path(), cardTable_->ShownColumns());
    });
    sortHeader_->SetMenuEnd([columns](QMenu& menu) { columns->Fill(menu); });
    connect(cardTable_, &CardTableView::RowClicked, this, &MainWindow::OnCardTableClick);
    connect(cardTable_, &CardTableView::MarkMoved, this, &MainWindow::OnCardTableClick);
    connect(this, &QDialog::finished, this, &MainWindow::OnDestroyWindow);
    QAction& find = actions_.Register("findAction", Text::FindMenu, QKeySequence::Find);
    find.setShortcutVisibleInContextMenu(true);
    connect(&find, &QAction::triggered, this, &MainWindow::OnFind);
    connect(filterBar_, &FilterBar::Accepted, this, &MainWindow::OnFilterEnter);
    connect(filterBar_, &FilterBar::VisibilityChanged, this,
            [this] { OnSize(clientArea_->width(), clientArea_->height()); });
    connect(&actions_.Register("openFolderAction", Text::OpenFolderMenu), &QAction::triggered, this,
            &MainWindow::OnOpenFolder);
    QMenu& recent = actions_.RegisterMenu("recentCollectionsMenu", Text::RecentCollectionsMenu);
    // Read when it opens: another window may have opened a folder since.
    connect(&recent, &QMenu::aboutToShow, this, [this, &recent] {
        FillRecentMenu(recent, RecentCollections::Folders(),
                       [this](const QString& folder) { OnRecentCollection(folder); });
    });
}

// The features register their commands and windows; the window binds what
// they choose or read to the held Card. Their commands take the fields first
// and show them after, as the window's own do.
void MainWindow::MakeFeatures()
{
    actions_.SetCommandFrame([this] { TakeFields(); }, [this] { ShowFields(); });
    auto* statistics = new StatisticsFeature(actions_, table_, shownCards_, messages_, *this);
    connect(statistics, &StatisticsFeature::CardChosen, this, &MainWindow::SelectRow);
    auto* sets = new SetsFeature(actions_, table_, messages_, LookupService::Shared(), *this,
                                 SetSizeCache::DefaultPath());
    connect(sets, &SetsFeature::WantedCardsChosen, this, &MainWindow::OnWantedCards);
    auto* binder = new BinderFeature(actions_, table_, shownCards_, *this);
    connect(binder, &BinderFeature::CardChosen, this, &MainWindow::SelectRow);
    connect(this, &MainWindow::FolderLoaded, binder, &BinderFeature::Reload);
    auto* csv = new CsvFeature(actions_, table_, messages_, *this);
    connect(csv, &CsvFeature::Exported, this, &MainWindow::ShowNotice);
    connect(csv, &CsvFeature::Imported, this, &MainWindow::OnImportCsv);
    reimport_ = new ReimportFeature(messages_, *this);
    connect(reimport_, &ReimportFeature::ChangesAccepted, this, &MainWindow::OnApplyChanges);
    connect(reimport_, &ReimportFeature::Noticed, this, &MainWindow::ShowNotice);
    merge_ = new MergeFeature(actions_, table_, messages_, *this);
    connect(merge_, &MergeFeature::ChangesAccepted, this, &MainWindow::OnApplyChanges);
    connect(merge_, &MergeFeature::Noticed, this, &MainWindow::ShowNotice);
    // Another folder's conflict file is offered once its Cards are shown.
    connect(this, &MainWindow::FolderLoaded, merge_,
            [this] { QTimer::singleShot(0, merge_, [this] { OfferConflictMerge(); }); });
    new CardListsFeature(actions_, table_, prefs_, messages_, *this);
    new PrintFeature(actions_, shownCards_, prefs_, messages_, *this);
    const auto held = [this] { return held_; };
    const auto encoding = [this] { return table_.Encoding(); };
    const auto folder = [this] { return folder_.Path(); };
    auto* details = new CardDetailsFeature(actions_, messages_, *this, held, encoding, folder);
    connect(details, &CardDetailsFeature::DetailsChosen, this, &MainWindow::OnCardDetails);
    auto* lookup = new LookupFeature(actions_, messages_, LookupService::Shared(), *this, held, encoding);
    connect(lookup, &LookupFeature::CardFilled, this, [this](const Card& card) { held_ = card; });
    connect(lookup, &LookupFeature::PictureStored, this, &MainWindow::OnPictureStored);
    connect(this, &MainWindow::FolderLoaded, lookup,
            [this, lookup] { lookup->SetCollectionFolder(folder_.Path()); });
    auto* refresh = new MarketRefreshFeature(actions_, table_, shownCards_, LookupService::Shared(), messages_, folder,
                                             *this);
    auto* movers = new MarketMoversFeature(actions_, table_, folder, *this);
    connect(refresh, &MarketRefreshFeature::Refreshed, this, &MainWindow::OnMarketRefreshed);
    connect(refresh, &MarketRefreshFeature::Refreshed, movers, &MarketMoversFeature::Reload);
    connect(movers, &MarketMoversFeature::CardChosen, this, &MainWindow::SelectRow);
    connect(this, &MainWindow::FolderLoaded, movers, &MarketMoversFeature::Reload);
}

// The details of the Card read from the marked row, its fields untouched,
// go into that row at once, as an Update; otherwise they stay with the held
// Card until Add or Update puts it in the table.
void MainWindow::OnCardDetails(const CardDetails& details)
{
    SetHeldDetails(details);
    const int row = SelectionMark();
    if (row >= 0 && cardInFields_->Row() == row) {
        Card typed = held_;
        PrepareForStorage(typed);
        const Card marked = table_.RowCard(row);
        if (std::equal(typed.begin(), typed.begin() + kCardFieldCount, marked.begin())) {
            OnUpdate();
            return;
        }
    }
    ShowNotice(QString::fromUtf8(Text::CardDetailsHeld));
}

// A looked-up Card's picture is in the folder now: the held Card names it,
// if it is still that printing.
void MainWindow::OnPictureStored(const std::string& print, const std::string& relativePath)
{
    TakeFields();
    if (held_[PrintField] == print)
        held_[UrlField] = relativePath;
    ShowFields();
}

void MainWindow::BindMenuBar()
{
    QAction& tooltips = actions_.Register("tooltipsAction", Text::TooltipsMenu);
    // Checked whenever the Tooltips check box is; choosing it clicks the box.
    tooltips.setCheckable(true);
    connect(tooltipsBox_, &QCheckBox::toggled, &tooltips, &QAction::setChecked);
    connect(&tooltips, &QAction::triggered, this, [this](bool on) {
        tooltipsBox_->setChecked(on);
        OnTooltipsCheck();
    });
    connect(&actions_.Register("aboutAction", Text::AboutMenu), &QAction::triggered, this, &MainWindow::OnAbout);
    menuBar_ = actions_.CreateMenuBar();
    // The area below the bar starts at the template's size.
    resize(clientArea_->width(), clientArea_->height() + menuBar_->heightForWidth(clientArea_->width()));
}

void MainWindow::OnInitWindow()
{
    ShowFields();
    setWindowIcon(ApplicationIcon());
    // A minimised window is drawn by the window manager here, not by the program.
    setMinimumSize(MinimumWindowSize(*this, *menuBar_, controls_));
    actions_.ExtendEditMenus();
    LoadPreferences();
    LoadCollection();
    ShowCollectionView(folder_.Path(), *this, *cardTable_, *sortHeader_);
    Control(ControlId::Name)->setFocus();
}

void MainWindow::TakeFields()
{
    for (int field = 0; field < kCardFieldCount; ++field)
        held_[std::size_t(field)] = fields_[std::size_t(field)]->Take();
    heldRowCount_ = countBox_->text().toInt();
    tooltipsCheckState_ = tooltipsBox_->isChecked() ? 1 : 0;
    // Every command starts here, and a notice lasts until the next one.
    notice_.clear();
}

void MainWindow::ShowFields()
{
    for (int field = 0; field < kCardFieldCount; ++field)
        fields_[std::size_t(field)]->Show(held_[std::size_t(field)]);
    countBox_->setText(QString::number(heldRowCount_));
    if (tooltipsCheckState_ < 0 || tooltipsCheckState_ > 2)
        tooltipsCheckState_ = 0;
    tooltipsBox_->setChecked(tooltipsCheckState_ == 1);
    noticeLine_->setText(notice_.isEmpty() ? QString::fromUtf8(Text::Notice) : notice_);
}

// Add and Update take the fields as the collection file will give them back
// at the next start, and show what they took: a Name of white space alone
// is empty.
void MainWindow::TakeEntryFields()
{
    TakeFields();
    PrepareForStorage(held_);
    ShowFields();
}

CardDetails MainWindow::HeldDetails() const
{
    CardDetails details;
    std::copy(held_.begin() + kCardFieldCount, held_.end(), details.begin());
    return details;
}

void MainWindow::SetHeldDetails(const CardDetails& details)
{
    std::copy(details.begin(), details.end(), held_.begin() + kCardFieldCount);
}

void MainWindow::ClearEntryFields()
{
    TakeFields();
    for (std::string& field : held_)
        field.clear();
    cardInFields_->Forget();
    ShowFields();
}

void MainWindow::ReadRow(int row)
{
    TakeFields();
    held_ = table_.RowCard(row);
    cardInFields_->Read(row);
    ShowFields();
}

void MainWindow::RefreshRowCount()
{
    heldRowCount_ = table_.rowCount();
    ShowFields();
}

int MainWindow::SelectionMark() const
{
    return cardTable_->SelectionMark();
}

void MainWindow::LoadCollection()
{
    TakeFields();
    LoadedFile loaded;
    ::LoadCollection(collectionFile_, table_, seriesChoices_, conditionChoices_, messages_, &loaded);
    // Today's backup is made from the bytes just read; once the window is
    // on the screen, and before any save writes over the file.
    folder_.KeepBackupOf(std::move(loaded.bytes), isVisible(), messages_);
    collectionFile_.WaitBeforeWriting(folder_.BackupGate());
    // The fields show and take text in the collection file's encoding.
    for (const auto& field : fields_) {
        field->SetEncoding(table_.Encoding(), [this](char32_t character) {
            messages_.ShowError(UnstorableCharacterText(character, CollectionPath()),
                                QString::fromUtf8(Text::ErrorCaption));
        });
    }
    cardTable_->FitColumns();
    RefreshRowCount();
    ClearEntryFields();
    autosave_.Start(loaded.asWritten);
    StepTimes::Mark("collection shown in the window");
}

bool MainWindow::SaveCollection()
{
    ClearEntryFields();
    TakeFields();
    const bool saved = autosave_.Finish();
    ClearEntryFields();
    return saved;
}

void MainWindow::OnColumnClick(int column)
{
    TakeFields();
    heldRowCount_ = table_.rowCount();
    const bool reversed = history_->SortByColumn(column, sortHeader_->Order(column));
    sortHeader_->ShowSorted(column, reversed);
    ShowFields();
}

void MainWindow::OnAdd()
{
    TakeEntryFields();
    // Add leaves the column widths as they are, however wide the new Card.
    // The fields hold the new Card, the top row, which the history marks.
    if (history_->Add(held_)) {
        cardInFields_->Read(0);
        RefreshRowCount();
    }
    ShowFields();
}

void MainWindow::OnUpdate()
{
    TakeEntryFields();
    const int row = SelectionMark();
    if (!cardInFields_->MayUpdate(row, held_, messages_)) {
        ShowFields();
        return;
    }
    if (history_->Update(row, held_))
        cardInFields_->Read(row);
    cardTable_->FitColumns();
    ShowFields();
}

void MainWindow::OnDelete()
{
    TakeFields();
    history_->Delete(SelectionMark());
    cardTable_->FitColumns();
    RefreshRowCount();
}

void MainWindow::OnCardTableClick()
{
    ReadRow(SelectionMark());
}

std::optional<std::vector<int>> MainWindow::ShownRows() const
{
    return shownCards_.ShownRows();
}

void MainWindow::OnFind()
{
    filterBar_->Open();
}

// Enter in the filter bar picks the first Card shown, as a click on it would.
void MainWindow::OnFilterEnter()
{
    if (shownCards_.rowCount() == 0)
        return;
    cardTable_->SelectRow(shownCards_.TableRow(0));
    ReadRow(SelectionMark());
}

// Undo and redo show the Card of the step in the fields, and the count.
void MainWindow::OnUndo()
{
    TakeFields();
    history_->Undo(held_);
    cardInFields_->Match(SelectionMark(), held_);
    RefreshRowCount();
}

void MainWindow::OnRedo()
{
    TakeFields();
    history_->Redo(held_);
    cardInFields_->Match(SelectionMark(), held_);
    RefreshRowCount();
}

void MainWindow::OnCatalogue()
{
    GeneratePage(kCataloguePage);
}

void MainWindow::OnList()
{
    GeneratePage(kListPage);
}

void MainWindow::GeneratePage(const PageDescription& page)
{
    TakeFields();
    const PageTemplateTexts templates = LoadPageTemplates(page, messages_);
    // The page is built from the table's cells: the fields keep what they held.
    PublishPage(page, templates, table_, prefs_, messages_);
    ShowFields();
}

void MainWindow::LoadPreferences()
{
    TakeFields();
    if (::LoadPreferences(PreferencesPath(), prefs_, messages_)) {
        tooltipsCheckState_ = 1;
        SetTipSupport(true);
    }
    ShowFields();
}

bool MainWindow::SavePreferences()
{
    return ::SavePreferences(PreferencesPath(), prefs_, messages_);
}

void MainWindow::OnPreferences()
{
    TakeFields();
    PreferencesDialog dialog(messages_, this);
    dialog.SetPreferences(prefs_);
    dialog.exec();
    // A cancelled dialog gives back what it was given, and the file is
    // rewritten either way.
    dialog.CopyTo(prefs_);
    SavePreferences();
    ShowFields();
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    // The frame is known only once the window system has shown the window,
    // and it only lowers the minimum, so this never resizes the window again.
    setMinimumSize(MinimumWindowSize(*this, *menuBar_, controls_));
    const QSize area = PlaceMenuBar(*menuBar_, *clientArea_, size());
    OnSize(area.width(), area.height());
}

void MainWindow::OnSize(int cx, int cy)
{
    LayOutWindow(controls_, cx, cy);
}

void MainWindow::OnTooltipsCheck()
{
    TakeFields();
    prefs_.Tooltips = tooltipsCheckState_ != 0 ? "yes" : "no";
    SetTipSupport(prefs_.Tooltips == "yes");
    ShowFields();
}

void MainWindow::SetTipSupport(bool on)
{
    tipSupport_ = on;
    ApplyTips(controls_, on);
    ShowFolderTip();
}

void MainWindow::ShowFolderTip()
{
    ApplyFolderTip(*noticeLine_, folder_.Path(), tipSupport_);
}

QMenu* MainWindow::CreateWindowMenu()
{
    return actions_.CreateWindowMenu(this);
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = CreateWindowMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void MainWindow::OnAbout()
{
    AboutDialog about(this);
    about.exec();
}

void MainWindow::OnQuit()
{
    TakeFields();
    accept();
}

void MainWindow::OnHelpButton()
{
    TakeFields();
    messages_.Open(HelpPageAddress());
    ShowFields();
}

void MainWindow::SelectRow(int row)
{
    if (row < 0 || row >= table_.rowCount())
        return;
    // A Card chosen elsewhere is shown even if the filter hid it.
    if (shownCards_.ShownRow(row) < 0)
        filterBar_->Close();
    cardTable_->SelectRow(row);
    ReadRow(row);
}

void MainWindow::OnImportCsv(CsvImportResult& imported)
{
    if (IsAppImport(imported.cards)) {
        reimport_->Review(imported, table_);
        return;
    }
    history_->Import(std::move(imported), seriesChoices_, conditionChoices_);
    cardTable_->FitColumns();
    heldRowCount_ = table_.rowCount();
    ShowFields();
}

void MainWindow::OnApplyChanges(CollectionChanges& changes, const QString& stepText)
{
    history_->ApplyChanges(std::move(changes), seriesChoices_, conditionChoices_, stepText);
    cardTable_->FitColumns();
    heldRowCount_ = table_.rowCount();
    ShowFields();
}

// Wanted Cards go in as an import does: at the top, as one undo step.
void MainWindow::OnWantedCards(const std::vector<Card>& cards)
{
    CsvImportResult wanted;
    wanted.cards.Reserve(cards.size());
    for (const Card& card : cards)
        wanted.cards.Append(card);
    OnImportCsv(wanted);
}

void MainWindow::OnMarketRefreshed(const std::vector<int>& rows, const std::vector<Card>& cards)
{
    history_->ReplaceRows(rows, cards, QString::fromUtf8(Text::RefreshMarketStep));
    // The held Card of a valued row keeps the new value, which an Update
    // would otherwise put back as it was.
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i] == cardInFields_->Row()) {
            held_[MarketField] = cards[i][MarketField];
            held_[MarketDateField] = cards[i][MarketDateField];
        }
    }
}

void MainWindow::OfferConflictMerge()
{
    TakeFields();
    merge_->OfferConflictFile();
    ShowFields();
}

void MainWindow::ShowNotice(const QString& notice)
{
    notice_ = notice;
}

void MainWindow::OnDestroyWindow()
{
    if (destroyed_)
        return;
    destroyed_ = true;
    SaveFiles();
}

// A close and a move to another folder write the files the same way.
bool MainWindow::SaveFiles()
{
    RememberCollectionView(folder_.Path(), *this, *cardTable_);
    const bool prefsSaved = SavePreferences();
    return SaveCollection() && prefsSaved;
}

void MainWindow::OnOpenFolder()
{
    const QString folder = messages_.AskFolder(QString::fromUtf8(Text::OpenFolderCaption), folder_.Path());
    if (!folder.isEmpty())
        OpenFolder(folder);
}

void MainWindow::OpenFolder(const QString& folder)
{
    SwitchFolder(folder, true);
}

// A recent folder that has gone is not made again: it may be on a disk that
// is not there now.
void MainWindow::OnRecentCollection(const QString& folder)
{
    SwitchFolder(folder, false);
}

void MainWindow::SwitchFolder(const QString& folder, bool createMissing)
{
    TakeFields();
    folder_.SwitchTo(folder, createMissing,
                     {[this] { return SaveFiles(); }, [this] { autosave_.Start(); }, [this] { LoadFolder(); }},
                     messages_);
    ShowFields();
}

// The window starts over on the working folder's files, as a new window
// would, but keeps its place, its size and its own windows: the binder is
// made again for the new folder's pictures.
void MainWindow::LoadFolder()
{
    filterBar_->Close();
    history_->Clear();
    seriesChoices_.Clear();
    conditionChoices_.Clear();
    collectionFile_ = CollectionSaver(CollectionPath());
    prefs_ = Preferences();
    // The tips are off unless the folder's preferences turn them on.
    tooltipsCheckState_ = 0;
    SetTipSupport(false);
    ShowFields();
    LoadPreferences();
    LoadCollection();
    ShowCollectionView(folder_.Path(), *this, *cardTable_, *sortHeader_);
    emit FolderLoaded();
    ShowFolderTip();
}
