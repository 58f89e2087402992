#pragma once

#include "app/folders/CollectionFolder.h"
#include "app/window/FieldBinding.h"
#include "app/window/WindowActions.h"
#include "collection/Card.h"
#include "collection/CardEntry.h"
#include "collection/CardTableModel.h"
#include "collection/ChoiceListModel.h"
#include "collection/file/CollectionAutosave.h"
#include "collection/file/CollectionSaver.h"
#include "collection/filter/FilteredCardTable.h"
#include "prefs/Preferences.h"

#include <QDialog>
#include <QHash>

#include <array>
#include <memory>
#include <optional>
#include <vector>

class CardInFields;
class CardTableView;
class CollectionHistory;
class FilterBar;
class SortHeader;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class MergeFeature;
class ReimportFeature;
class UserQuestions;
struct CollectionChanges;
struct CsvImportResult;
struct PageDescription;

// The program's one window: the entry fields, the card table, the buttons,
// and the state behind them. Every command takes the fields into the held
// values, makes one call into the subsystem that does the work, and shows the
// held values again. Its files are read when it is constructed and written
// when its run ends; the collection file also soon after every change. The
// features beside the table (statistics, binder, CSV) register their own
// commands and windows; the window binds them to the held Card.
class MainWindow : public QDialog {
    Q_OBJECT

public:
    // The window reads and writes its files in the folder, the working
    // folder; by default the one it is started in, with no lock of its own.
    // Every question to the user goes through the one interface given here.
    explicit MainWindow(UserQuestions& questions, CollectionFolder folder = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    const CardTableModel& CardTable() const { return table_; }
    const Card& HeldCard() const { return held_; }
    // The held Card's printing details, which no entry field shows: read
    // with its row, kept by Update, added by Add, emptied by Clear.
    CardDetails HeldDetails() const;
    void SetHeldDetails(const CardDetails& details);
    void OnCardDetails(const CardDetails& details);
    void OnPictureStored(const std::string& print, const std::string& relativePath);
    int HeldRowCount() const { return heldRowCount_; }
    const Preferences& Prefs() const { return prefs_; }
    bool TipSupport() const { return tipSupport_; }
    QWidget* Control(int id) const { return controls_.value(id); }
    CollectionAutosave& Autosave() { return autosave_; }

    void TakeFields();
    void ShowFields();
    void ClearEntryFields();

    // The card table.
    void ReadRow(int row);
    void RefreshRowCount();
    int SelectionMark() const;

    // The collection file.
    void LoadCollection();
    bool SaveCollection();

    // The commands.
    void OnColumnClick(int column);
    void OnAdd();
    void OnUpdate();
    void OnDelete();
    void OnCardTableClick();
    void OnCatalogue();
    void OnList();

    // The history of changes to the collection.
    void OnUndo();
    void OnRedo();
    const CollectionHistory& History() const { return *history_; }

    // The preferences.
    void LoadPreferences();
    bool SavePreferences();
    void OnPreferences();

    // The filter bar. The table rows the filter lets through, ascending; none while every row is shown.
    std::optional<std::vector<int>> ShownRows() const;
    void OnFind();
    void OnFilterEnter();

    // The window's furniture. The controls are laid out for an area of cx
    // by cy pixels, the part of the window below the menu bar.
    void OnSize(int cx, int cy);
    void OnTooltipsCheck();
    void SetTipSupport(bool on);
    QMenu* CreateWindowMenu();
    void OnAbout();
    void OnHelpButton();

    // Selects the row in the card table and takes its Card into the fields,
    // as a click on the row does. A row that does not exist is ignored.
    void SelectRow(int row);

    // A CSV import read by its feature, applied as one step of the history;
    // an app's export goes to the re-import, which shows what it changes.
    void OnImportCsv(CsvImportResult& imported);
    // Changes to many rows, from a re-import or a merge, as one step.
    void OnApplyChanges(CollectionChanges& changes, const QString& stepText);
    // Cards wanted from the set completion, put in as an import is.
    void OnWantedCards(const std::vector<Card>& cards);
    // A refresh's new market values, as one step.
    void OnMarketRefreshed(const std::vector<int>& rows, const std::vector<Card>& cards);
    // Offers to merge a conflict file that a save kept beside the collection
    // file; once the window is on the screen.
    void OfferConflictMerge();
    // What a command has to tell, in the notice line until the next command.
    void ShowNotice(const QString& notice);

    // Writes both files; runs once, when the window's run has ended.
    void OnDestroyWindow();

    void OnQuit();

    // Collection folders: the window's collection moves to another folder,
    // asked for or chosen among the recent ones.
    void OnOpenFolder();
    void OpenFolder(const QString& folder);
    void OnRecentCollection(const QString& folder);
    const CollectionFolder& Folder() const { return folder_; }
    CollectionFolder& Folder() { return folder_; }

signals:
    // The window has started over on another folder's files.
    void FolderLoaded();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void OnInitWindow();
    void BindControls();
    void ConnectCommands();
    void BindMenuBar();
    void BindHistory();
    void MakeFeatures();
    void TakeEntryFields();
    void GeneratePage(const PageDescription& page);
    bool SaveFiles();
    void SwitchFolder(const QString& folder, bool createMissing);
    void LoadFolder();
    void ShowFolderTip();

    UserQuestions& messages_;
    // The folder of the files below, its lock held until they are all written.
    CollectionFolder folder_;
    Preferences prefs_;
    CardTableModel table_;
    ChoiceListModel seriesChoices_;
    ChoiceListModel conditionChoices_;
    CardEntry entry_;
    CollectionSaver collectionFile_;
    CollectionAutosave autosave_;
    QHash<int, QWidget*> controls_;
    QLineEdit* countBox_ = nullptr;
    QCheckBox* tooltipsBox_ = nullptr;
    CardTableView* cardTable_ = nullptr;
    // The table header's sort arrow and its "Sort as numbers" menu.
    SortHeader* sortHeader_ = nullptr;
    std::array<std::unique_ptr<FieldBinding>, kCardFieldCount> fields_;
    std::unique_ptr<CollectionHistory> history_;
    ReimportFeature* reimport_ = nullptr;
    MergeFeature* merge_ = nullptr;
    // The row the fields were read from, which Update asks before leaving.
    std::unique_ptr<CardInFields> cardInFields_;
    Card held_;
    int heldRowCount_ = 0;
    int tooltipsCheckState_ = 0;
    bool tipSupport_ = false;
    bool destroyed_ = false;
    // The filter bar and the rows it lets the card table show; destroyed
    // before the table, whose signals it follows.
    FilteredCardTable shownCards_;
    FilterBar* filterBar_ = nullptr;
    QLabel* noticeLine_ = nullptr;
    // What the last command has to tell, shown in the notice line instead of
    // the product line until the next command; empty for the product line.
    QString notice_;

    // Every command's action, and the menus laid out from them.
    WindowActions actions_;
    // The menu bar, and the area below it that holds the controls, placed
    // in it as they were in the window before it had a bar.
    QMenuBar* menuBar_ = nullptr;
    QWidget* clientArea_ = nullptr;
};
