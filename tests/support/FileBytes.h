#pragma once

#include <QByteArray>
#include <QString>

// The file's bytes; "(unreadable)" when it cannot be read, so that a missing
// file never compares equal to an empty one.
QByteArray FileBytes(const QString& path);

// Makes the file hold exactly the bytes; the test cannot go on without them.
void WriteFileBytes(const QString& path, const QByteArray& bytes);
