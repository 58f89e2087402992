#pragma once

#include "app/folders/CollectionFolder.h"
#include "app/window/FieldBinding.h"
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
#include <QPointer>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class BinderWindow;
class CardInFields;
class CardTableView;
class CollectionHistory;
class CsvQuestions;
class FilterBar;
class MessageInterface;
class SortHeader;
class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class StatisticsWindow;
struct PageDescription;

// The program's one window: the entry fields, the card table, the buttons,
// and the state behind them. Every command takes the fields into the held
// values, makes one call into the subsystem that does the work, and shows the
// held values again. Its files are read when it is constructed and written
// when its run ends; the collection file also soon after every change.
class MainWindow : public QDialog {
    Q_OBJECT

public:
    // The window reads and writes its files in the folder, the working
    // folder; by default the one it is started in, with no lock of its own.
    explicit MainWindow(MessageInterface& messages, CollectionFolder folder = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    const CardTableModel& CardTable() const { return table_; }
    const Card& HeldCard() const { return held_; }
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
    // The undo and redo commands, for every menu that offers them.
    QAction* UndoAction() const { return undoAction_; }
    QAction* RedoAction() const { return redoAction_; }

    // The preferences.
    void LoadPreferences();
    bool SavePreferences();
    void OnPreferences();

    // The filter bar. Find is the window's own action, for any menu to offer.
    QAction* FindAction() const { return findAction_; }
    // The table rows the filter lets through, ascending; none while every row is shown.
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

    // The Statistics window, opened once and then brought to the front.
    void OnStatistics();
    // Selects the row in the card table and takes its Card into the fields,
    // as a click on the row does. A row that does not exist is ignored.
    void SelectRow(int row);

    // CSV export and import: the window's actions, which its menus show.
    void OnExportCsv();
    void OnImportCsv();
    QAction* ExportCsvAction() const { return exportCsvAction_; }
    QAction* ImportCsvAction() const { return importCsvAction_; }
    // Answers the commands' questions instead of the desktop's dialogs.
    void SetCsvQuestions(std::unique_ptr<CsvQuestions> questions);

    // The binder, opened once and then brought to the front; a tile selected
    // there selects its row here.
    void OnBinder();
    QAction* BinderAction() const { return binderAction_; }
    BinderWindow* Binder() const;

    // Writes both files; runs once, when the window's run has ended.
    void OnDestroyWindow();

    // The menu bar's entries. Each button's command is an action too, run
    // alike by the button, the entry and any shortcut.
    void OnQuit();
    QAction* CommandAction(int controlId) const { return commandActions_.value(controlId); }
    QAction* StatisticsAction() const { return statisticsAction_; }
    // Checked whenever the Tooltips check box is; choosing it clicks the box.
    QAction* TooltipsAction() const { return tooltipsAction_; }
    QAction* AboutAction() const { return aboutAction_; }

    // Collection folders: the window's collection moves to another folder,
    // asked for or chosen among the recent ones.
    void OnOpenFolder();
    void OpenFolder(const QString& folder);
    void OnRecentCollection(const QString& folder);
    const CollectionFolder& Folder() const { return folder_; }
    QAction* OpenFolderAction() const { return openFolderAction_; }
    QMenu* RecentCollectionsMenu() const { return recentCollectionsMenu_; }
    // Answers the folder question instead of the desktop's folder dialog:
    // given the current folder, the folder chosen, or empty for none.
    void SetFolderQuestion(std::function<QString(const QString&)> ask);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void OnInitWindow();
    void BindControls();
    void ConnectCommands();
    void BindMenuBar();
    void BindHistory();
    void TakeEntryFields();
    void GeneratePage(const PageDescription& page);
    bool SaveFiles();
    void SwitchFolder(const QString& folder, bool createMissing);
    void LoadFolder();
    void ShowFolderTip();

    MessageInterface& messages_;
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
    // The row the fields were read from, which Update asks before leaving.
    std::unique_ptr<CardInFields> cardInFields_;
    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
    Card held_;
    int heldRowCount_ = 0;
    int tooltipsCheckState_ = 0;
    bool tipSupport_ = false;
    bool destroyed_ = false;
    // The filter bar and the rows it lets the card table show; destroyed
    // before the table, whose signals it follows.
    FilteredCardTable shownCards_;
    FilterBar* filterBar_ = nullptr;
    QAction* findAction_ = nullptr;

    // The statistics.
    QAction* statisticsAction_ = nullptr;
    QPointer<StatisticsWindow> statistics_;

    // CSV export and import.
    std::unique_ptr<CsvQuestions> csvQuestions_;
    QAction* exportCsvAction_ = nullptr;
    QAction* importCsvAction_ = nullptr;
    QLabel* noticeLine_ = nullptr;
    // What the last command has to tell, shown in the notice line instead of
    // the product line until the next command; empty for the product line.
    QString notice_;

    // The binder.
    QAction* binderAction_ = nullptr;
    QPointer<BinderWindow> binder_;

    // The menu bar, and the area below it that holds the controls, placed
    // in it as they were in the window before it had a bar.
    QMenuBar* menuBar_ = nullptr;
    QWidget* clientArea_ = nullptr;
    QHash<int, QAction*> commandActions_;
    QAction* tooltipsAction_ = nullptr;
    QAction* aboutAction_ = nullptr;

    // Collection folders.
    QAction* openFolderAction_ = nullptr;
    QMenu* recentCollectionsMenu_ = nullptr;
    std::function<QString(const QString&)> askFolder_;
};
