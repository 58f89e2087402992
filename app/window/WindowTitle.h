#pragma once

#include <QString>

// The main window's title: the program's own caption, then the name of the
// collection folder that is open ("Quillmark - Velmora - Trade Binder"); the
// whole path for a folder without a name of its own, such as the root.
QString CollectionWindowTitle(const QString& caption, const QString& folder);
