#include "collection/lookup/MatchPictures.h"

#include "base/FileAccess.h"
#include "base/UserAgent.h"
#include "resources/StringTable.h"

#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace {

const char* const kKinds[] = {"jpg", "png", "gif", "webp"};

} // namespace

QString PictureFileStem(const std::string& print)
{
    QString stem;
    for (const QChar letter : QString::fromStdString(print).left(100)) {
        const bool plain = (letter >= QLatin1Char('a') && letter <= QLatin1Char('z'))
                           || (letter >= QLatin1Char('A') && letter <= QLatin1Char('Z'))
                           || (letter >= QLatin1Char('0') && letter <= QLatin1Char('9')) || letter == QLatin1Char('-')
                           || letter == QLatin1Char('_');
        stem += plain ? letter : QLatin1Char('_');
    }
    return stem;
}

QString PictureKind(const QByteArray& bytes)
{
    if (bytes.startsWith("\xff\xd8\xff"))
        return QStringLiteral("jpg");
    if (bytes.startsWith("\x89PNG\r\n\x1a\n"))
        return QStringLiteral("png");
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return QStringLiteral("gif");
    if (bytes.size() >= 12 && bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WEBP")
        return QStringLiteral("webp");
    return {};
}

MatchPictures::MatchPictures(QString collectionFolder, int transferTimeoutMs, QObject* parent)
    : QObject(parent)
    , folder_(std::move(collectionFolder))
    , transferTimeoutMs_(transferTimeoutMs)
{
}

MatchPictures::~MatchPictures()
{
    // Replies still running go with the manager, and must not reach a store
    // half destroyed.
    for (QNetworkReply* reply : network_.findChildren<QNetworkReply*>())
        reply->disconnect(this);
}

QString MatchPictures::StoredPath(const CardMatch& match) const
{
    const QString stem = PictureFileStem(match.print);
    if (stem.isEmpty())
        return {};
    for (const char* kind : kKinds) {
        const QString relative = QStringLiteral("%1/%2.%3").arg(QLatin1String(kFolder), stem, QLatin1String(kind));
        if (QFileInfo(QDir(folder_).filePath(relative)).isFile())
            return relative;
    }
    return {};
}

void MatchPictures::Later(const std::function<void()>& emitting)
{
    QTimer::singleShot(0, this, emitting);
}

void MatchPictures::Store(const CardMatch& match)
{
    const QString print = QString::fromStdString(match.print);
    const QString stem = PictureFileStem(match.print);
    const QString stored = StoredPath(match);
    if (!stored.isEmpty()) {
        Later([this, print, stored] { emit Stored(print, stored); });
        return;
    }
    // Only the web is asked: an address from the network naming a file here
    // would copy that file into the collection.
    const QUrl url(QString::fromStdString(match.picture), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (stem.isEmpty() || !url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        Later([this, print] { emit Failed(print, QString::fromUtf8(Text::LookupPictureNone)); });
        return;
    }
    if (fetching_.contains(stem))
        return;
    fetching_.insert(stem);
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, UserAgent());
    request.setTransferTimeout(transferTimeoutMs_);
    request.setMaximumRedirectsAllowed(5);
    QNetworkReply* reply = network_.get(request);
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64 total) {
        if (received > kMaxBytes || total > kMaxBytes) {
            reply->setProperty("tooLarge", true);
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply, print, stem] { Finish(reply, print, stem); });
}

void MatchPictures::Finish(QNetworkReply* reply, const QString& print, const QString& stem)
{
    reply->deleteLater();
    fetching_.remove(stem);
    if (reply->property("tooLarge").toBool()) {
        emit Failed(print, QString::fromUtf8(Text::LookupPictureTooLarge));
        return;
    }
    if (reply->error() != QNetworkReply::NoError) {
        emit Failed(print, QString::fromUtf8(Text::LookupPictureNotFetched).arg(reply->errorString()));
        return;
    }
    const QByteArray bytes = reply->readAll();
    const QString kind = PictureKind(bytes);
    if (kind.isEmpty()) {
        emit Failed(print, QString::fromUtf8(Text::LookupPictureNotAPicture));
        return;
    }
    const QString relative = QStringLiteral("%1/%2.%3").arg(QLatin1String(kFolder), stem, kind);
    QString reason;
    if (!QDir(folder_).mkpath(QLatin1String(kFolder))) {
        emit Failed(print, QString::fromUtf8(Text::LookupPictureNotStored).arg(QDir(folder_).filePath(kFolder)));
        return;
    }
    const bool written = WriteFileSafely(QDir(folder_).filePath(relative), [&bytes](QIODevice& file) {
        return file.write(bytes) == bytes.size();
    }, &reason);
    if (!written) {
        emit Failed(print, QString::fromUtf8(Text::LookupPictureNotStored).arg(reason));
        return;
    }
    emit Stored(print, relative);
}
