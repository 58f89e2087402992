#pragma once

#include "app/FieldBinding.h"
#include "collection/Card.h"
#include "collection/CardEntry.h"
#include "collection/CardTableModel.h"
#include "collection/ChoiceListModel.h"
#include "prefs/Preferences.h"

#include <QDialog>
#include <QHash>
#include <QPointer>

#include <array>
#include <memory>

class BinderWindow;
class CardTableView;
class MessageInterface;
class QAction;
class QCheckBox;
class QLineEdit;
class QMenu;
struct PageDescription;

// The program's one window: the entry fields, the card table, the buttons,
// and the state behind them. Every command takes the fields into the held
// values, makes one call into the subsystem that does the work, and shows the
// held values again. Its files are read when it is constructed and written
// once when its run ends.
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
    void ReadRow(int row);
    void RefreshRowCount();
    int SelectionMark() const;

    // The collection file.
    void LoadCollection();
    void SaveCollection();

    // The commands.
    void OnColumnClick(int column);
    void OnAdd();
    void OnUpdate();
    void OnDelete();
    void OnCardTableClick();
    void OnCatalogue();
    void OnList();

    // The preferences.
    void LoadPreferences();
    void SavePreferences();
    void OnPreferences();

    // The window's furniture.
    void OnSize(int cx, int cy);
    void OnTooltipsCheck();
    void SetTipSupport(bool on);
    QMenu* CreateWindowMenu();
    void OnAbout();
    void OnHelpButton();

    // The binder: opened by its action (Ctrl+B), or raised when it is open.
    // A tile selected there selects and reads its row here.
    void OnBinder();
    void SelectAndReadRow(int row);
    QAction* BinderAction() const { return binderAction_; }
    BinderWindow* Binder() const;

    // Writes both files; runs once, when the window's run has ended.
    void OnDestroyWindow();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void OnInitWindow();
    void BindControls();
    void ConnectCommands();
    void TakeEntryFields();
    void GeneratePage(const PageDescription& page);

    MessageInterface& messages_;
    Preferences prefs_;
    CardTableModel table_;
    ChoiceListModel seriesChoices_;
    ChoiceListModel conditionChoices_;
    CardEntry entry_;
    QHash<int, QWidget*> controls_;
    QLineEdit* countBox_ = nullptr;
    QCheckBox* tooltipsBox_ = nullptr;
    CardTableView* cardTable_ = nullptr;
    std::array<std::unique_ptr<FieldBinding>, kCardFieldCount> fields_;
    Card held_;
    int heldRowCount_ = 0;
    int tooltipsCheckState_ = 0;
    bool tipSupport_ = false;
    // The load found a qmk.dat it could not read; it must not be overwritten.
    bool collectionUnreadable_ = false;
    bool destroyed_ = false;
    QAction* binderAction_ = nullptr;
    QPointer<BinderWindow> binder_;
};
