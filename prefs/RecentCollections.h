#pragma once

#include <QString>
#include <QStringList>

// The collection folders opened last, most recent first, each once, as
// absolute canonical paths. They are the user's, not a collection's: kept
// with QSettings in the user's configuration folder, never in a data folder,
// and read afresh each time, so that every window sees the others' opens.
class RecentCollections {
public:
    static constexpr qsizetype kLength = 8;

    static QStringList Folders();
    // Puts the folder first, dropping the oldest beyond kLength.
    static void Opened(const QString& folder);
    static void Forget(const QString& folder);
};
