#pragma once

#include <QList>
#include <QStringList>

class QAction;
class QMenu;
class QWidget;

// The window's own menu, opened by a right-click or the context-menu key:
// the window's commands, a separator and the About entry.
QMenu* CreateWindowMenu(QWidget* parent, const QList<QAction*>& commands, QAction* about);

// Fills the Recent Collections menu with the folders, most recent first;
// choosing one opens it.
void FillRecentMenu(QMenu& menu, const QStringList& folders, const std::function<void(const QString&)>& open);

// Appends the window's commands and the About entry to the editing menu of
// each of the window's edit boxes.
void ExtendEditMenus(QWidget& window, const QList<QAction*>& commands, QAction* about);
