#include "app/window/WindowActions.h"

#include "resources/StringTable.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>

namespace {

struct MenuTitle {
    const char* objectName;
    const char* text;
};

constexpr MenuTitle kMenuTitles[] = {
    {"fileMenu", Text::FileMenu},
    {"editMenu", Text::EditMenu},
    {"viewMenu", Text::ViewMenu},
    {"helpMenu", Text::HelpMenu},
};

// Where each command is offered. In the menu bar, under its menu, in the
// order of this table; a null action is a separator. In the right-click
// menus, in the order of rightClick (0: not there); entries from kApart on
// stand below a separator. The edit boxes have their own undo and redo.
constexpr int kApart = 100;

struct MenuEntry {
    const char* menu;
    const char* action;
    int rightClick = 0;
    bool inEditBoxes = true;
};

constexpr MenuEntry kMenuEntries[] = {
    {"fileMenu", "openFolderAction", 8},
    {"fileMenu", "recentCollectionsMenu", 9},
    {"fileMenu", nullptr},
    {"fileMenu", "importCsvAction", 6},
    {"fileMenu", "exportCsvAction", 5},
    {"fileMenu", "mergeCollectionAction"},
    {"fileMenu", "catalogueAction"},
    {"fileMenu", "listAction"},
    {"fileMenu", "publishTradeListAction"},
    {"fileMenu", "publishWantListAction"},
    {"fileMenu", nullptr},
    {"fileMenu", "printAction"},
    {"fileMenu", nullptr},
    {"fileMenu", "quitAction"},
    {"editMenu", "undoAction", 1, false},
    {"editMenu", "redoAction", 2, false},
    {"editMenu", nullptr},
    {"editMenu", "findAction", 7},
    {"editMenu", nullptr},
    {"editMenu", "addAction"},
    {"editMenu", "updateAction"},
    {"editMenu", "deleteAction"},
    {"editMenu", "clearAction"},
    {"editMenu", nullptr},
    {"editMenu", "lookupAction"},
    {"editMenu", "cardDetailsAction"},
    {"editMenu", "cardIndexAction"},
    {"editMenu", "refreshMarketAction"},
    {"editMenu", nullptr},
    {"editMenu", "preferencesAction"},
    {"viewMenu", "binderAction", 4},
    {"viewMenu", "statisticsAction", 3},
    {"viewMenu", "marketMoversAction"},
    {"viewMenu", "setCompletionAction"},
    {"viewMenu", nullptr},
    {"viewMenu", "tooltipsAction"},
    {"helpMenu", "helpAction"},
    {"helpMenu", "aboutAction", kApart},
};

void AddRightClickEntries(QMenu& menu, const QList<QAction*>& entries)
{
    bool apart = false;
    for (QAction* entry : entries) {
        if (entry == nullptr) {
            apart = true;
            continue;
        }
        if (apart) {
            menu.addSeparator();
            apart = false;
        }
        menu.addAction(entry);
    }
}

} // namespace

WindowActions::WindowActions(QWidget& window)
    : window_(window)
{
}

QAction& WindowActions::Register(const char* objectName, const char* text, const QKeySequence& keys)
{
    auto* action = new QAction(QString::fromUtf8(text), &window_);
    action->setObjectName(QString::fromLatin1(objectName));
    action->setShortcut(keys);
    window_.addAction(action);
    actions_.insert(QByteArray(objectName), action);
    return *action;
}

// A standard key may have more than one binding on this desktop.
QAction& WindowActions::Register(const char* objectName, const char* text, QKeySequence::StandardKey keys)
{
    QAction& action = Register(objectName, text);
    action.setShortcuts(keys);
    return action;
}

QMenu& WindowActions::RegisterMenu(const char* objectName, const char* text)
{
    auto* menu = new QMenu(QString::fromUtf8(text), &window_);
    menu->setObjectName(QString::fromLatin1(objectName));
    actions_.insert(QByteArray(objectName), menu->menuAction());
    return *menu;
}

void WindowActions::Bind(QAction& action, std::function<void()> command) const
{
    QObject::connect(&action, &QAction::triggered, &window_, [this, command = std::move(command)] {
        if (opening_)
            opening_();
        command();
        if (closing_)
            closing_();
    });
}

void WindowActions::SetCommandFrame(std::function<void()> opening, std::function<void()> closing)
{
    opening_ = std::move(opening);
    closing_ = std::move(closing);
}

QAction* WindowActions::Action(const char* objectName) const
{
    return actions_.value(QByteArray(objectName));
}

QMenuBar* WindowActions::CreateMenuBar() const
{
    auto* bar = new QMenuBar(&window_);
    bar->setObjectName(QStringLiteral("menuBar"));
    // The window places the bar itself, above the area its controls are
    // placed in, so the bar stays in the window on any desktop.
    bar->setNativeMenuBar(false);
    // The window's small template font is for the controls; the bar and its
    // menus read as the desktop's other menus do.
    bar->setFont(QApplication::font("QMenuBar"));
    for (const MenuTitle& title : kMenuTitles) {
        QMenu* menu = bar->addMenu(QString::fromUtf8(title.text));
        menu->setObjectName(QString::fromLatin1(title.objectName));
        for (const MenuEntry& entry : kMenuEntries) {
            if (qstrcmp(entry.menu, title.objectName) != 0)
                continue;
            if (entry.action == nullptr)
                menu->addSeparator();
            else if (QAction* action = Action(entry.action))
                menu->addAction(action);
        }
    }
    return bar;
}

// A null entry marks where the entries set apart begin.
QList<QAction*> WindowActions::RightClickEntries(bool editBoxes) const
{
    QList<const MenuEntry*> entries;
    for (const MenuEntry& entry : kMenuEntries) {
        if (entry.rightClick > 0 && (!editBoxes || entry.inEditBoxes) && Action(entry.action) != nullptr)
            entries.append(&entry);
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const MenuEntry* a, const MenuEntry* b) { return a->rightClick < b->rightClick; });
    QList<QAction*> actions;
    bool apart = false;
    for (const MenuEntry* entry : entries) {
        if (!apart && entry->rightClick >= kApart) {
            actions.append(nullptr);
            apart = true;
        }
        actions.append(Action(entry->action));
    }
    return actions;
}

// The window manager's own window menu cannot be extended from here, so the
// About entry lives in the window's context menu instead.
QMenu* WindowActions::CreateWindowMenu(QWidget* parent) const
{
    auto* menu = new QMenu(parent);
    menu->setSeparatorsCollapsible(false);
    AddRightClickEntries(*menu, RightClickEntries(false));
    return menu;
}

// The edit boxes keep their own editing menu, with the window's entries
// below it, so that the context-menu key reaches them from whichever box
// has the focus.
void WindowActions::ExtendEditMenus() const
{
    const QList<QAction*> entries = RightClickEntries(true);
    const auto popUp = [entries](QLineEdit* edit, const QPoint& globalPosition) {
        QMenu* menu = edit->createStandardContextMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->addSeparator();
        AddRightClickEntries(*menu, entries);
        menu->popup(globalPosition);
    };
    for (QLineEdit* edit : window_.findChildren<QLineEdit*>()) {
        edit->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(edit, &QWidget::customContextMenuRequested, &window_, [edit, popUp](const QPoint& position) {
            popUp(edit, edit->mapToGlobal(position));
        });
    }
    // A combo box takes the focus and the right-clicks on its frame itself,
    // and answers them with its edit box's plain menu: it gives its edit
    // box's extended one instead.
    for (QComboBox* combo : window_.findChildren<QComboBox*>()) {
        QLineEdit* edit = combo->lineEdit();
        if (edit == nullptr)
            continue;
        combo->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(combo, &QWidget::customContextMenuRequested, &window_,
                         [combo, edit, popUp](const QPoint& position) { popUp(edit, combo->mapToGlobal(position)); });
    }
}
