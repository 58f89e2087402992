#include "collection/pictures/PictureLocation.h"

#include <QByteArray>
#include <QDir>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The scheme before the first colon, lower case; empty when the text does not
// start with one. A single letter is a drive name, not a scheme.
QByteArray SchemeOf(std::string_view text)
{
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon < 2 || !IsAsciiLetter(text.front()))
        return {};
    for (std::size_t i = 1; i < colon; ++i) {
        const char c = text[i];
        if (!IsAsciiLetter(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.')
            return {};
    }
    return QByteArray(text.data(), qsizetype(colon)).toLower();
}

PictureLocation FileAt(const QString& path, const QString& dataFolder)
{
    PictureLocation location;
    location.kind = PictureLocation::Kind::File;
    location.path = QDir::cleanPath(QDir(dataFolder).absoluteFilePath(path));
    return location;
}

} // namespace

PictureLocation LocatePicture(std::string_view pictureUrl, TextEncoding encoding, const QString& dataFolder)
{
    const std::string_view trimmed = Trimmed(pictureUrl);
    if (trimmed.empty())
        return {};
    const QString text = DecodeText(trimmed, encoding);
    const QByteArray scheme = SchemeOf(trimmed);
    if (scheme == "http" || scheme == "https") {
        const QUrl url(text, QUrl::TolerantMode);
        if (!url.isValid() || url.host().isEmpty())
            return {};
        PictureLocation location;
        location.kind = PictureLocation::Kind::Web;
        location.url = url;
        return location;
    }
    if (scheme == "file") {
        const QUrl url(text, QUrl::TolerantMode);
        const QString host = url.host();
        if (!url.isValid() || url.path().isEmpty() || !(host.isEmpty() || host == QLatin1String("localhost")))
            return {};
        return FileAt(url.path(), dataFolder);
    }
    if (!scheme.isEmpty())
        return {};
    return FileAt(text, dataFolder);
}
