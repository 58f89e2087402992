#pragma once

#include <QStringList>

#include <functional>

class QMenu;

// Fills the Recent Collections menu with the folders, most recent first;
// choosing one opens it.
void FillRecentMenu(QMenu& menu, const QStringList& folders, const std::function<void(const QString&)>& open);
