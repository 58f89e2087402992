#pragma once

#include <QString>
#include <QStringList>

// The files a save keeps beside the collection file when another program
// changed it (CollectionSaver): "qmk.dat.conflict-DATE-TIME", oldest first.
// Those already merged carry ".merged" at the end and are not listed.
QStringList ConflictFiles(const QString& collectionPath);

// Whether path is one of the collection file's conflict files.
bool IsConflictFile(const QString& path, const QString& collectionPath);

// Renames a merged conflict file with ".merged" at the end: it stays, in
// case the collection with its Cards is lost before it is saved, but is no
// longer offered. False, with the reason, when it cannot be renamed.
bool MarkMerged(const QString& path, QString& reason);
