#include "base/TextEncoding.h"

#include "base/TextMode.h"
#include "base/Windows1252.h"

TextEncoding EncodingOfFile(std::string_view raw)
{
    return IsValidUtf8(TextModeContent(raw)) ? TextEncoding::Utf8 : TextEncoding::Windows1252;
}

QString DecodeText(std::string_view bytes, TextEncoding encoding)
{
    if (encoding == TextEncoding::Windows1252) {
        const std::string utf8 = Windows1252ToUtf8(bytes);
        return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    }
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

bool EncodeText(const QString& text, TextEncoding encoding, std::string& bytes, char32_t* unstorable)
{
    if (encoding == TextEncoding::Windows1252)
        return Utf8ToWindows1252(text.toStdString(), bytes, unstorable);
    bytes = text.toStdString();
    return true;
}
