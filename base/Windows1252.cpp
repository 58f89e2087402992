#include "base/Windows1252.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace {

// The characters of bytes 0x80 to 0x9F; from 0xA0 up a byte is the
// character of the same number.
constexpr std::array<char16_t, 32> kCharacters80To9F = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t CharacterOfByte(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return kCharacters80To9F[byte - 0x80];
    return byte;
}

// -1 when the code page has no byte for the character.
int ByteOfCharacter(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return int(c);
    for (std::size_t i = 0; i < kCharacters80To9F.size(); ++i) {
        if (kCharacters80To9F[i] == c)
            return int(0x80 + i);
    }
    return -1;
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(char(c));
    } else if (c < 0x800) {
        out.push_back(char(0xC0 | (c >> 6)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else {
        out.push_back(char(0xE0 | (c >> 12)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    }
}

} // namespace

std::size_t Utf8SequenceLength(std::string_view bytes, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return at + i < bytes.size() ? std::uint8_t(bytes[at + i]) : 0; };
    const auto inRange = [](std::uint8_t b, std::uint8_t low, std::uint8_t high) { return b >= low && b <= high; };
    const std::uint8_t lead = byte(0);
    if (lead < 0x80)
        return 1;
    if (inRange(lead, 0xC2, 0xDF))
        return inRange(byte(1), 0x80, 0xBF) ? 2 : 0;
    if (inRange(lead, 0xE0, 0xEF)) {
        const std::uint8_t low = lead == 0xE0 ? 0xA0 : 0x80;
        const std::uint8_t high = lead == 0xED ? 0x9F : 0xBF;
        return inRange(byte(1), low, high) && inRange(byte(2), 0x80, 0xBF) ? 3 : 0;
    }
    if (inRange(lead, 0xF0, 0xF4)) {
        const std::uint8_t low = lead == 0xF0 ? 0x90 : 0x80;
        const std::uint8_t high = lead == 0xF4 ? 0x8F : 0xBF;
        return inRange(byte(1), low, high) && inRange(byte(2), 0x80, 0xBF) && inRange(byte(3), 0x80, 0xBF) ? 4 : 0;
    }
    return 0;
}

namespace {

char32_t DecodeSequence(std::string_view bytes, std::size_t at, std::size_t length)
{
    const auto byte = [&](std::size_t i) { return char32_t(std::uint8_t(bytes[at + i])); };
    switch (length) {
    case 1:
        return byte(0);
    case 2:
        return ((byte(0) & 0x1F) << 6) | (byte(1) & 0x3F);
    case 3:
        return ((byte(0) & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
    default:
        return ((byte(0) & 0x07) << 18) | ((byte(1) & 0x3F) << 12) | ((byte(2) & 0x3F) << 6) | (byte(3) & 0x3F);
    }
}

} // namespace

std::string Windows1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (const char byte : bytes) {
        if (std::uint8_t(byte) < 0x80)
            out.push_back(byte);
        else
            AppendUtf8(out, CharacterOfByte(std::uint8_t(byte)));
    }
    return out;
}

bool Utf8ToWindows1252(std::string_view utf8, std::string& out, char32_t* unmappable)
{
    out.clear();
    out.reserve(utf8.size());
    std::size_t at = 0;
    while (at < utf8.size()) {
        const std::size_t length = Utf8SequenceLength(utf8, at);
        const char32_t c = length == 0 ? char32_t(0xFFFD) : DecodeSequence(utf8, at, length);
        const int byte = length == 0 ? -1 : ByteOfCharacter(c);
        if (byte < 0) {
            if (unmappable)
                *unmappable = c;
            return false;
        }
        out.push_back(char(byte));
        at += length;
    }
    return true;
}

std::size_t FindInvalidUtf8(std::string_view bytes)
{
    std::size_t at = 0;
    while (at < bytes.size()) {
        // Runs of ASCII, eight bytes at a time.
        while (at + 8 <= bytes.size()) {
            std::uint64_t word;
            std::memcpy(&word, bytes.data() + at, 8);
            if (word & 0x8080808080808080ull)
                break;
            at += 8;
        }
        if (at >= bytes.size())
            break;
        const std::size_t length = Utf8SequenceLength(bytes, at);
        if (length == 0)
            return at;
        at += length;
    }
    return std::string_view::npos;
}

Utf8Census CountUtf8(std::string_view bytes)
{
    Utf8Census census;
    for (std::size_t at = 0; at < bytes.size();) {
        if (std::uint8_t(bytes[at]) < 0x80) {
            ++at;
            continue;
        }
        const std::size_t length = Utf8SequenceLength(bytes, at);
        if (length == 0) {
            ++census.invalid;
            ++at;
        } else {
            ++census.multiByte;
            at += length;
        }
    }
    return census;
}

std::string Windows1252StraysToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + 16);
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t invalid = FindInvalidUtf8(bytes.substr(at));
        if (invalid == std::string_view::npos) {
            out.append(bytes.substr(at));
            break;
        }
        out.append(bytes.substr(at, invalid));
        AppendUtf8(out, CharacterOfByte(std::uint8_t(bytes[at + invalid])));
        at += invalid + 1;
    }
    return out;
}
