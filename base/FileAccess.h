#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

// Reads the whole device. False when the device reports a read error.
bool ReadAll(QIODevice& device, QByteArray& bytes);

// Reads a whole file. False, with the reason, when it cannot be opened or read.
bool ReadFile(const QString& path, QByteArray& bytes, QString* reason = nullptr);

// Reads a whole file the way the window reads its own files: one that does
// not exist is first created empty, and reads as empty.
bool ReadFileCreatingIfMissing(const QString& path, QByteArray& bytes);

// Writes a file safely: the content goes to a temporary file in the same
// folder, is flushed and synced, and then replaces the old file. The writer
// fills the device and returns false on any error; nothing is replaced then,
// and reason, when given, says why.
bool WriteFileSafely(const QString& path, const std::function<bool(QIODevice&)>& writer, QString* reason = nullptr);
