#pragma once

#include "base/TextMode.h"

#include <string>
#include <string_view>

// The key=value line syntax shared by the collection file and the
// preferences file.

inline constexpr std::string_view kHeaderLine = "CREATOR=QMK 1.0";

struct KeyValue {
    std::string_view key;
    std::string_view value;
};

// The white space a line loses at its end when it is read: a value that
// ends in it does not come back as it was written.
inline bool IsTrailingSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The text without its trailing white space.
inline std::string_view WithoutTrailingSpace(std::string_view text)
{
    std::size_t end = text.size();
    while (end > 0 && IsTrailingSpace(text[end - 1]))
        --end;
    return text.substr(0, end);
}

// Makes a typed or pasted value one that a value line gives back as it
// stands: a line feed or byte 26 would end the line or the file, so each
// becomes a space, and trailing white space, which the reading drops, goes.
void PrepareValueForStorage(std::string& value);

// Removes trailing white space, then splits at the first "=". A line without
// "=" is all key. Leading white space stays in both parts.
KeyValue SplitLine(std::string_view line);

// Calls handle(key, value) for each line of raw file bytes, in order. The
// reading stops at byte 26; a last line without a line break counts too.
template <typename Handle>
void ForEachKeyValue(std::string_view raw, Handle&& handle);

template <typename Handle>
void ForEachKeyValue(std::string_view raw, Handle&& handle)
{
    const std::string_view text = TextModeContent(raw);
    std::size_t start = 0;
    while (start < text.size()) {
        auto lf = text.find('\n', start);
        if (lf == std::string_view::npos)
            lf = text.size();
        const KeyValue kv = SplitLine(text.substr(start, lf - start));
        handle(kv.key, kv.value);
        start = lf + 1;
    }
}
