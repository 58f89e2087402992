#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <string>
#include <string_view>

class QIODevice;

// Files are kept as Windows text files: a line feed in memory is CR LF on
// disk; on reading, CR LF is one line feed and byte 26 ends the file.

inline constexpr char kEndOfFileByte = 26;

// The part of raw file bytes that a text-mode reader sees: everything before
// the first byte 26.
std::string_view TextModeContent(std::string_view raw);

// Raw file bytes as text-mode text: cut at byte 26, CR LF read as one line feed.
std::string FromTextMode(std::string_view raw);

// Appends text to out with every line feed stored as CR LF.
void AppendTextMode(QByteArray& out, std::string_view text);

// Reads the whole device. False when the device reports a read error.
bool ReadAll(QIODevice& device, QByteArray& bytes);

// Writes a file safely: the content goes to a temporary file in the same
// folder, is flushed and synced, and then replaces the old file. The writer
// fills the device and returns false on any error; nothing is replaced then.
bool WriteFileSafely(const QString& path, const std::function<bool(QIODevice&)>& writer);
