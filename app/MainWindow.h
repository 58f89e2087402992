#pragma once

#include "app/FieldBinding.h"
#include "collection/Card.h"
#include "collection/CardTableModel.h"
#include "collection/ChoiceList.h"
#include "collection/ColumnFit.h"
#include "prefs/Preferences.h"

#include <QDialog>
#include <QHash>
#include <QPersistentModelIndex>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class MessageInterface;
class QCheckBox;
class QComboBox;
class QIODevice;
class QLineEdit;
class QMenu;
class QTableView;

// The program's one window: the entry fields, the card table, the buttons,
// and the state behind them. Every command takes the fields into the held
// values, acts, and shows the held values again. Its files are read when it
// is constructed and written once when its run ends.
class MainWindow : public QDialog {
    Q_OBJECT

public:
    explicit MainWindow(MessageInterface& messages, QWidget* parent = nullptr);
    ~MainWindow() override;

    const CardTableModel& CardTable() const { return table_; }
    const Card& HeldCard() const { return held_; }
    int HeldRowCount() const { return heldRowCount_; }
    const Preferences& Prefs() const { return prefs_; }
    bool TipSupport() const { return tipSupport_; }
    QWidget* Control(int id) const { return controls_.value(id); }

    void TakeFields();
    void ShowFields();
    void ClearEntryFields();

    // The card table.
    void SetUpColumns();
    void AutosizeColumns();
    void InsertHeldCard();
    void ReadRow(int row);
    void RefreshRowCount();
    void AddToChoiceLists();
    void ReverseRows();
    int SelectionMark() const;

    // The collection file.
    void LoadCollection();
    void SaveCollection();

    // The column sort.
    void OnColumnClick(int column);
    void SortByColumn(int column);

    // The entry commands.
    void OnAdd();
    void OnUpdate();
    void OnDelete();
    void OnCardTableClick();
    bool IsDuplicate();

    // The preferences.
    void LoadPreferences();
    void SavePreferences();
    void OnPreferences();

    // The pages.
    void OnCatalogue();
    void OnList();
    // A template's text; empty, after a box, when it cannot be opened.
    std::string LoadTemplate(const char* fileName);
    // Writes the page safely with writePage, which fills the file. 1 when
    // the page was written, -1 (after a box) when it was not.
    int WritePage(const QString& path, const std::function<bool(QIODevice&)>& writePage);

    // The window's furniture.
    void OnSize(int cx, int cy);
    void OnTooltipsCheck();
    void SetTipSupport(bool on);
    QMenu* CreateWindowMenu();
    void OnAbout();
    void OnHelpButton();

    // Writes both files; runs once, when the window's run has ended.
    void OnDestroyWindow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void OnInitWindow();
    void BindControls();
    void ConnectCommands();
    void SetUpWindowFurniture();
    void WriteRecoveryFile(const QString& why);
    void ReplaceUnstorableText();
    void GeneratePage(const char* outerTemplate, const char* rowTemplate, std::string Preferences::*location,
                      const char* defaultLocation);

    MessageInterface& messages_;
    Preferences prefs_;
    QHash<int, QWidget*> controls_;
    QLineEdit* countBox_ = nullptr;
    QCheckBox* tooltipsBox_ = nullptr;
    QComboBox* seriesBox_ = nullptr;
    QComboBox* conditionBox_ = nullptr;
    QTableView* tableView_ = nullptr;
    std::array<std::unique_ptr<FieldBinding>, kCardFieldCount> fields_;
    std::unique_ptr<ChoiceList> seriesChoices_;
    std::unique_ptr<ChoiceList> conditionChoices_;
    Card held_;
    int heldRowCount_ = 0;
    int tooltipsCheckState_ = 0;
    bool tipSupport_ = false;
    CardTableModel table_;
    QPersistentModelIndex selectionMark_;
    std::unique_ptr<ColumnFit> fit_;
    // The load found a qmk.dat it could not read; it must not be overwritten.
    bool collectionUnreadable_ = false;
    bool destroyed_ = false;
};
