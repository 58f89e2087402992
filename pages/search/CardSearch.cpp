#include "pages/search/CardSearch.h"

#include "base/Windows1252.h"
#include "collection/CardTableModel.h"
#include "pages/PageCharset.h"
#include "pages/PageStream.h"
#include "pages/search/CardSearchEngine.h"

#include <array>

namespace {

constexpr auto kJsonKeys = std::to_array<std::string_view>({
    "name",   "series",  "condition", "year",     "price",    "quantity", "picture", "description", "game",
    "setcode", "number", "finish",    "language", "location", "tags",     "trade",   "want",        "print",
    "market", "marketdate", "source",
});
static_assert(kJsonKeys.size() == kAllCardFieldCount);

constexpr char kHex[] = "0123456789abcdef";

void AppendUnicodeEscape(std::string& out, unsigned point)
{
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += kHex[(point >> shift) & 0xF];
}

} // namespace

bool HoldsCardSearch(std::string_view outerTemplate)
{
    return outerTemplate.find(kCardSearchPlaceholder) != std::string_view::npos;
}

void AppendJsonText(std::string& out, std::string_view bytes, bool utf8Page)
{
    std::size_t plain = 0;
    const auto flush = [&](std::size_t upTo) {
        out.append(bytes.substr(plain, upTo - plain));
    };
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        const auto byte = static_cast<unsigned char>(bytes[at]);
        if (byte >= 0x20 && byte != '"' && byte != '\\' && byte != '<' && byte != '>' && byte != '&') {
            // Line and paragraph separators end a line in older script
            // parsers; only a UTF-8 page has them as these bytes.
            if (byte == 0xE2 && utf8Page && at + 2 < bytes.size() && bytes[at + 1] == '\x80'
                && (bytes[at + 2] == '\xA8' || bytes[at + 2] == '\xA9')) {
                flush(at);
                AppendUnicodeEscape(out, bytes[at + 2] == '\xA8' ? 0x2028 : 0x2029);
                at += 2;
                plain = at + 1;
            }
            continue;
        }
        flush(at);
        switch (byte) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default: AppendUnicodeEscape(out, byte); break;
        }
        plain = at + 1;
    }
    flush(bytes.size());
}

void AppendCardJson(std::string& out, const Card& card, unsigned fields, bool utf8Page)
{
    out += '{';
    bool first = true;
    for (int field = 0; field < kAllCardFieldCount; ++field) {
        const std::string& value = card[std::size_t(field)];
        if ((fields & (1u << field)) == 0 || (field >= kCardFieldCount && value.empty()))
            continue;
        if (!first)
            out += ',';
        first = false;
        out += '"';
        out += kJsonKeys[std::size_t(field)];
        out += "\":\"";
        AppendJsonText(out, value, utf8Page);
        out += '"';
    }
    out += '}';
}

std::string_view CardSearchEngine()
{
    return kCardSearchEngineSource;
}

bool WriteCardSearchBlock(const CardTableModel& table, const std::span<const int>* rows, unsigned fields,
                          bool utf8Page, bool withCards, const std::function<bool(std::string_view)>& sink)
{
    constexpr std::size_t kPiece = std::size_t(1) << 20;
    const bool toUtf8 = ValuesGoInAsUtf8(table.Encoding(), utf8Page);
    std::string piece = "<script type=\"application/json\" id=\"quillmark-cards\">[";
    piece.reserve(kPiece + 4096);
    const int count = !withCards ? 0 : rows != nullptr ? int(rows->size()) : table.rowCount();
    Card card;
    for (int at = 0; at < count; ++at) {
        const int row = rows != nullptr ? (*rows)[std::size_t(at)] : at;
        for (int field = 0; field < kAllCardFieldCount; ++field) {
            if ((fields & (1u << field)) == 0)
                continue;
            const std::string_view cell = table.Cell(row, field);
            if (toUtf8)
                card[std::size_t(field)] = Windows1252ToUtf8(cell);
            else
                card[std::size_t(field)].assign(cell);
        }
        if (at > 0)
            piece += ',';
        AppendCardJson(piece, card, fields, utf8Page);
        if (piece.size() >= kPiece) {
            if (!sink(piece))
                return false;
            piece.clear();
        }
    }
    piece += "]</script>\n<script>\n";
    piece += CardSearchEngine();
    piece += "</script>";
    return sink(piece);
}
