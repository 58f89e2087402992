#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Windows-1252, the "ANSI" code page of Western European Windows, to and
// from UTF-8. Every byte decodes: the five bytes the code page leaves
// unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the C1 control
// characters of the same number, as Windows itself maps them.

// The UTF-8 form of Windows-1252 bytes.
std::string Windows1252ToUtf8(std::string_view bytes);

// Converts UTF-8 text to Windows-1252 bytes in out. False when the text is
// not valid UTF-8 or holds a character the code page lacks; out then holds
// what was converted before it, and *unmappable (when given) the character,
// or U+FFFD for invalid UTF-8.
bool Utf8ToWindows1252(std::string_view utf8, std::string& out, char32_t* unmappable = nullptr);

// The offset of the first byte that does not begin a well-formed UTF-8
// sequence (overlong forms, surrogates and values above U+10FFFF are not
// well formed); npos when all of bytes is valid UTF-8.
std::size_t FindInvalidUtf8(std::string_view bytes);

inline bool IsValidUtf8(std::string_view bytes)
{
    return FindInvalidUtf8(bytes) == std::string_view::npos;
}

// The length of the well-formed UTF-8 sequence at bytes[at], 0 when there is
// none (the table of well-formed byte sequences in the Unicode standard);
// 1 for an ASCII byte.
std::size_t Utf8SequenceLength(std::string_view bytes, std::size_t at);

// How bytes beyond ASCII stand in a text: the characters written as
// well-formed UTF-8 sequences of two to four bytes, and the bytes that begin
// no such sequence.
struct Utf8Census {
    std::size_t multiByte = 0;
    std::size_t invalid = 0;
};
Utf8Census CountUtf8(std::string_view bytes);

// The bytes as UTF-8: well-formed UTF-8 sequences as they are, and each byte
// that begins none taken as the Windows-1252 character it is, as in a UTF-8
// file into which a line from an older program was pasted.
std::string Windows1252StraysToUtf8(std::string_view bytes);
