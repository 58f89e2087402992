#include "collection/csv/CsvReader.h"

#include "base/Windows1252.h"
#include "resources/StringTable.h"

#include <QString>

#include <array>

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Whether a line ends at text[at]: an LF, or a CR that no LF follows.
bool IsLineBreak(std::string_view text, std::size_t at)
{
    return text[at] == '\n' || (text[at] == '\r' && (at + 1 == text.size() || text[at + 1] != '\n'));
}

// Line breaks in text: CR LF, LF and a lone CR count one each.
std::int64_t CountLineBreaks(std::string_view text)
{
    std::int64_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsLineBreak(text, i))
            ++count;
    }
    return count;
}

// The end of the unquoted part of a field: the next separator or line break.
std::size_t UnquotedEnd(std::string_view text, std::size_t at, char separator)
{
    while (at < text.size() && text[at] != separator && text[at] != '\n' && text[at] != '\r')
        ++at;
    return at;
}

// The first line's length, its line break included, when it is the "sep=;"
// line with which Excel names a file's separator (Dragon Shield's exports
// begin with one), quoted or not; 0 when the text does not begin so. The
// separator it names goes to *separator when asked for.
std::size_t SeparatorLineLength(std::string_view text, char* separator = nullptr)
{
    const std::string_view line = text.substr(0, text.find_first_of("\r\n"));
    std::string_view inner = line;
    if (inner.size() >= 2 && inner.front() == '"' && inner.back() == '"')
        inner = inner.substr(1, inner.size() - 2);
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (inner.size() < 5 || lower(inner[0]) != 's' || lower(inner[1]) != 'e' || lower(inner[2]) != 'p'
        || inner[3] != '=' || inner[4] == '"')
        return 0;
    // A spreadsheet that saved the file again may have filled the line with separators.
    if (inner.find_first_not_of(inner[4], 5) != std::string_view::npos)
        return 0;
    if (separator != nullptr)
        *separator = inner[4];
    std::size_t length = line.size();
    if (length < text.size())
        length += text.substr(length, 2) == "\r\n" ? 2 : 1;
    return length;
}

// Drops a byte order mark from UTF-8 bytes; false, naming the first line
// that is not valid UTF-8, when there is one (and saying so when the rest of
// the file almost all is).
bool CheckUtf8(std::string_view& bytes, CsvError& error)
{
    if (HasUtf8Bom(bytes))
        bytes.remove_prefix(kUtf8Bom.size());
    const std::size_t invalid = FindInvalidUtf8(bytes);
    if (invalid == std::string_view::npos)
        return true;
    error = {1 + CountLineBreaks(bytes.substr(0, invalid)),
             IsAlmostUtf8(bytes) ? Text::CsvStrayBytesLine : "this line is not valid UTF-8"};
    return false;
}

// Almost all UTF-8 when at least this many characters beyond ASCII are
// written in UTF-8 for each byte that is not. In a file truly written in
// Windows-1252 a letter beyond ASCII is a byte that UTF-8 does not allow
// unless the byte after it happens to be one of the code page's symbols
// (“É™”), so such a file has far more of the second kind than of the first.
constexpr std::size_t kUtf8CharactersPerStrayByte = 3;

} // namespace

int CsvRows::FieldCount(std::size_t row) const
{
    return int(FieldEnd(row) - rows_[row].firstField);
}

std::string_view CsvRows::Field(std::size_t row, int column) const
{
    if (column < 0 || column >= FieldCount(row))
        return {};
    const std::size_t field = rows_[row].firstField + std::size_t(column);
    const std::size_t begin = field == 0 ? 0 : fieldEnds_[field - 1];
    return std::string_view(text_).substr(begin, fieldEnds_[field] - begin);
}

void CsvRows::StartRow(std::int64_t line)
{
    rows_.push_back({fieldEnds_.size(), line});
}

void CsvRows::StartField()
{
    fieldEnds_.push_back(text_.size());
}

void CsvRows::Append(std::string_view bytes)
{
    text_.append(bytes);
    fieldEnds_.back() = text_.size();
}

std::size_t CsvRows::FieldEnd(std::size_t row) const
{
    return row + 1 < rows_.size() ? rows_[row + 1].firstField : fieldEnds_.size();
}

bool ParseCsv(std::string_view text, char separator, CsvRows& rows, CsvError& error)
{
    rows = CsvRows();
    // The fields take no more room than the text.
    rows.text_.reserve(text.size());
    std::size_t at = SeparatorLineLength(text);
    std::int64_t line = at > 0 && IsLineBreak(text, at - 1) ? 2 : 1;
    const auto skipLineBreak = [&] {
        at += text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n' ? 2 : 1;
        ++line;
    };
    while (at < text.size()) {
        if (text[at] == '\n' || text[at] == '\r') {
            skipLineBreak();
            continue;
        }
        const std::int64_t rowLine = line;
        rows.StartRow(rowLine);
        while (true) {
            rows.StartField();
            if (at < text.size() && text[at] == '"') {
                ++at;
                while (true) {
                    const std::size_t quote = text.find('"', at);
                    if (quote == std::string_view::npos) {
                        rows = CsvRows();
                        error = {rowLine, "a quote in this row is never closed"};
                        return false;
                    }
                    const std::string_view part = text.substr(at, quote - at);
                    line += CountLineBreaks(part);
                    rows.Append(part);
                    at = quote + 1;
                    if (at == text.size() || text[at] != '"')
                        break;
                    rows.Append("\"");
                    ++at;
                }
            }
            // Unquoted text, or whatever follows a closing quote, is kept as it stands.
            const std::size_t end = UnquotedEnd(text, at, separator);
            rows.Append(text.substr(at, end - at));
            at = end;
            if (at < text.size() && text[at] == separator) {
                ++at;
                continue;
            }
            if (at < text.size())
                skipLineBreak();
            break;
        }
    }
    return true;
}

char DetectSeparator(std::string_view text)
{
    if (HasUtf8Bom(text))
        text.remove_prefix(kUtf8Bom.size());
    char named = ',';
    if (SeparatorLineLength(text, &named) > 0)
        return named;
    constexpr std::string_view kCandidates = ",;\t";
    constexpr std::size_t kSampleLines = 10;
    // How often each candidate stands on each of the first lines that hold text.
    std::vector<std::array<int, kCandidates.size()>> lines;
    std::array<int, kCandidates.size()> current{};
    bool quoted = false;
    bool lineHasText = false;
    for (std::size_t i = 0; i < text.size() && lines.size() < kSampleLines; ++i) {
        const char c = text[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == '\n' || c == '\r')) {
            if (lineHasText)
                lines.push_back(current);
            current = {};
            lineHasText = false;
            continue;
        } else if (!quoted && kCandidates.find(c) != std::string_view::npos) {
            ++current[kCandidates.find(c)];
        }
        lineHasText = true;
    }
    if (lineHasText && lines.size() < kSampleLines)
        lines.push_back(current);

    char chosen = ',';
    int chosenPerLine = 0;
    for (std::size_t k = 0; k < kCandidates.size(); ++k) {
        bool same = !lines.empty();
        for (const auto& counts : lines)
            same = same && counts[k] == lines.front()[k];
        if (same && lines.front()[k] > chosenPerLine) {
            chosen = kCandidates[k];
            chosenPerLine = lines.front()[k];
        }
    }
    if (chosenPerLine > 0)
        return chosen;
    int most = 0;
    for (std::size_t k = 0; k < kCandidates.size(); ++k) {
        int total = 0;
        for (const auto& counts : lines)
            total += counts[k];
        if (total > most) {
            chosen = kCandidates[k];
            most = total;
        }
    }
    return chosen;
}

bool HasUtf8Bom(std::string_view bytes)
{
    return bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom;
}

bool IsAlmostUtf8(std::string_view bytes)
{
    if (IsValidUtf8(bytes))
        return false;
    const Utf8Census census = CountUtf8(bytes);
    return census.multiByte >= kUtf8CharactersPerStrayByte * census.invalid;
}

CsvEncoding DetectEncoding(std::string_view bytes)
{
    return HasUtf8Bom(bytes) || IsValidUtf8(bytes) || IsAlmostUtf8(bytes) ? CsvEncoding::Utf8
                                                                          : CsvEncoding::Windows1252;
}

bool FindStrayBytes(std::string_view bytes, CsvStrayBytes& stray)
{
    stray = CsvStrayBytes();
    if (HasUtf8Bom(bytes))
        bytes.remove_prefix(kUtf8Bom.size());
    std::int64_t line = 1;
    std::size_t lineStart = 0;
    std::int64_t lastStrayLine = 0;
    for (std::size_t at = 0; at < bytes.size();) {
        if (std::uint8_t(bytes[at]) < 0x80) {
            if (IsLineBreak(bytes, at)) {
                ++line;
                lineStart = at + 1;
            }
            ++at;
            continue;
        }
        const std::size_t length = Utf8SequenceLength(bytes, at);
        if (length > 0) {
            at += length;
            continue;
        }
        if (line != lastStrayLine) {
            lastStrayLine = line;
            ++stray.lines;
            if (stray.line == 0) {
                stray.line = line;
                const std::size_t lineEnd = bytes.find_first_of("\r\n", at);
                stray.text = bytes.substr(lineStart, lineEnd == std::string_view::npos ? lineEnd : lineEnd - lineStart);
            }
        }
        ++at;
    }
    return stray.line > 0;
}

bool DecodeCsvText(std::string_view bytes, CsvEncoding encoding, std::string& text, CsvError& error)
{
    text.clear();
    if (encoding == CsvEncoding::Windows1252) {
        text = Windows1252ToUtf8(bytes);
        return true;
    }
    if (!CheckUtf8(bytes, error))
        return false;
    text.assign(bytes);
    return true;
}

bool ReadCsv(std::string_view bytes, CsvEncoding encoding, char separator, CsvRows& rows, CsvError& error,
             TextEncoding into)
{
    const bool windows1252 = into == TextEncoding::Windows1252;
    if (encoding == CsvEncoding::Windows1252)
        return windows1252 ? ParseCsv(bytes, separator, rows, error)
                           : ParseCsv(Windows1252ToUtf8(bytes), separator, rows, error);
    if (!CheckUtf8(bytes, error)) {
        rows = CsvRows();
        return false;
    }
    if (!windows1252)
        return ParseCsv(bytes, separator, rows, error);
    std::string text;
    char32_t lacking = 0;
    if (!Utf8ToWindows1252(bytes, text, &lacking)) {
        rows = CsvRows();
        error = {1 + CountLineBreaks(text),
                 "\u201c" + QString::fromUcs4(&lacking, 1).toStdString()
                     + "\u201d cannot be kept in this collection, which is written in Windows-1252"};
        return false;
    }
    return ParseCsv(text, separator, rows, error);
}
