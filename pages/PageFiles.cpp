#include "pages/PageFiles.h"

#include "base/TextMode.h"

#include <cerrno>

#include <unistd.h>

FileRead ReadTemplateFile(const QString& path, std::string& text, QString* reason)
{
    text.clear();
    QByteArray raw;
    const FileRead read = ReadRegularFile(path, raw, reason);
    if (read == FileRead::Read)
        text = FromTextMode(std::string_view(raw.constData(), std::size_t(raw.size())));
    return read;
}

bool LooksLikePage(const QString& path)
{
    const int file = OpenRegularFile(path);
    if (file < 0)
        return false;
    char start[4096];
    ssize_t size = 0;
    do {
        size = ::read(file, start, sizeof start);
    } while (size < 0 && errno == EINTR);
    ::close(file);
    if (size < 0)
        return false;
    std::string_view bytes(start, std::size_t(size));
    if (bytes.substr(0, 3) == "\xef\xbb\xbf")
        bytes.remove_prefix(3);
    const std::size_t first = bytes.find_first_not_of(" \t\r\n\f\v");
    return first == std::string_view::npos || bytes[first] == '<';
}
