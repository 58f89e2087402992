#include "base/TextMode.h"

std::string_view TextModeContent(std::string_view raw)
{
    const auto end = raw.find(kEndOfFileByte);
    return end == std::string_view::npos ? raw : raw.substr(0, end);
}

std::string FromTextMode(std::string_view raw)
{
    const std::string_view content = TextModeContent(raw);
    std::string text;
    text.reserve(content.size());
    std::size_t start = 0;
    while (true) {
        const auto cr = content.find("\r\n", start);
        if (cr == std::string_view::npos) {
            text.append(content.substr(start));
            return text;
        }
        text.append(content.substr(start, cr - start));
        text.push_back('\n');
        start = cr + 2;
    }
}

void AppendTextMode(QByteArray& out, std::string_view text)
{
    std::size_t start = 0;
    while (true) {
        const auto lf = text.find('\n', start);
        if (lf == std::string_view::npos) {
            out.append(text.data() + start, qsizetype(text.size() - start));
            return;
        }
        out.append(text.data() + start, qsizetype(lf - start));
        out.append("\r\n", 2);
        start = lf + 1;
    }
}
