#pragma once

#include <QByteArray>
#include <QHash>
#include <QKeySequence>

#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

// Every command of the window is one QAction, made once here with a stable
// object name; the window and each feature register theirs. The menu bar, the
// window's right-click menu and the edit boxes' menus are all laid out from
// one table of those names.
class WindowActions {
public:
    explicit WindowActions(QWidget& window);

    // A command's action, a child of the window so that its keys work
    // wherever the focus is in it.
    QAction& Register(const char* objectName, const char* text, const QKeySequence& keys = {});
    QAction& Register(const char* objectName, const char* text, QKeySequence::StandardKey keys);
    // A submenu that the menus show as one entry, under the menu's name.
    QMenu& RegisterMenu(const char* objectName, const char* text);
    // Runs the command when the action is triggered, between the window's
    // opening and closing steps (taking and showing its fields).
    void Bind(QAction& action, std::function<void()> command) const;
    void SetCommandFrame(std::function<void()> opening, std::function<void()> closing);

    QAction* Action(const char* objectName) const;

    QMenuBar* CreateMenuBar() const;
    QMenu* CreateWindowMenu(QWidget* parent) const;
    // Appends the window's entries to the editing menu of each of its edit boxes.
    void ExtendEditMenus() const;

private:
    QList<QAction*> RightClickEntries(bool editBoxes) const;

    QWidget& window_;
    QHash<QByteArray, QAction*> actions_;
    std::function<void()> opening_;
    std::function<void()> closing_;
};
