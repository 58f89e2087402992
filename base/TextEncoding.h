#pragma once

#include <QString>

#include <string>
#include <string_view>

// The character set a file's text is written in. A file written on Western
// Windows holds its letters in Windows-1252; the program's own are UTF-8.
// Values keep the file's bytes either way: the encoding only decides how
// they are shown and how typed text becomes bytes.
enum class TextEncoding {
    Utf8,
    Windows1252,
};

// The encoding of a text file's raw bytes, judged on what a reading sees
// (the bytes before byte 26): UTF-8 when they are valid UTF-8, plain ASCII
// and no bytes at all included, else Windows-1252.
TextEncoding EncodingOfFile(std::string_view raw);

// The bytes' text, for display. Bytes that are not valid UTF-8 show as
// U+FFFD in UTF-8 text.
QString DecodeText(std::string_view bytes, TextEncoding encoding);

// The text's bytes in the encoding. False when the encoding cannot hold one
// of its characters: *unstorable (when given) is then the first such one,
// and bytes holds what came before it.
bool EncodeText(const QString& text, TextEncoding encoding, std::string& bytes, char32_t* unstorable = nullptr);
