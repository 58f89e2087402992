#pragma once

#include <functional>

class QAction;
class QMenu;
class QWidget;

// The window's own menu, opened by a right-click or the context-menu key:
// the Statistics entry, a separator and the About entry. The window owns the
// Statistics action, which carries its shortcut.
QMenu* CreateWindowMenu(QWidget* parent, QAction* statistics, const std::function<void()>& onAbout);

// Appends the About entry to the editing menu of each of the window's edit boxes.
void ExtendEditMenus(QWidget& window, const std::function<void()>& onAbout);
