#include "pages/PageCharset.h"

#include "base/Windows1252.h"

#include <QByteArrayView>

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kCharset = "charset";

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool IsNameCharacter(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-' || c == '_'
           || c == ':' || c == '.';
}

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    return QByteArrayView(a.data(), qsizetype(a.size())).compare(QByteArrayView(b.data(), qsizetype(b.size())),
                                                                 Qt::CaseInsensitive)
           == 0;
}

// The charset named after "charset" at the text's start, when an "=" follows.
bool DeclaredCharset(std::string_view text, std::string_view& name)
{
    std::size_t at = kCharset.size();
    while (at < text.size() && IsSpace(text[at]))
        ++at;
    if (at == text.size() || text[at] != '=')
        return false;
    ++at;
    while (at < text.size() && (IsSpace(text[at]) || text[at] == '"' || text[at] == '\''))
        ++at;
    std::size_t end = at;
    while (end < text.size() && IsNameCharacter(text[end]))
        ++end;
    name = text.substr(at, end - at);
    return true;
}

} // namespace

bool PageIsUtf8(std::string_view outerTemplate)
{
    if (outerTemplate.starts_with(kByteOrderMark))
        return true;
    // The first declaration decides, as it does in a browser.
    for (std::size_t at = 0; at + kCharset.size() <= outerTemplate.size(); ++at) {
        std::string_view name;
        if (EqualIgnoringCase(outerTemplate.substr(at, kCharset.size()), kCharset)
            && DeclaredCharset(outerTemplate.substr(at), name))
            return EqualIgnoringCase(name, "utf-8") || EqualIgnoringCase(name, "utf8");
    }
    return false;
}

bool ValuesGoInAsUtf8(TextEncoding valueEncoding, bool utf8Page)
{
    return utf8Page && valueEncoding == TextEncoding::Windows1252;
}

Preferences OwnerForPage(const Preferences& prefs, bool utf8Page)
{
    Preferences owner = prefs;
    if (ValuesGoInAsUtf8(prefs.Encoding, utf8Page)) {
        for (const PreferenceKey& known : kPreferenceKeys)
            owner.*known.field = Windows1252ToUtf8(prefs.*known.field);
        owner.Encoding = TextEncoding::Utf8;
    }
    return owner;
}
