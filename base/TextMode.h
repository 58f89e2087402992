#pragma once

#include <QByteArray>

#include <string>
#include <string_view>

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
