#pragma once

#include <functional>

class QMenu;
class QWidget;

// The window's own menu, opened by a right-click or the context-menu key:
// a separator and the About entry.
QMenu* CreateWindowMenu(QWidget* parent, const std::function<void()>& onAbout);

// Appends the About entry to the editing menu of each of the window's edit boxes.
void ExtendEditMenus(QWidget& window, const std::function<void()>& onAbout);
