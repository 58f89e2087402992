#include "collection/lookup/MagicIndexDownload.h"

#include "base/UserAgent.h"
#include "collection/lookup/LookupService.h"
#include "collection/lookup/MagicNameIndex.h"
#include "resources/StringTable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QThread>

#include <utility>

namespace {

// The address of the oracle cards in Scryfall's list of bulk files; only one
// on the web is taken.
QUrl OracleCardsAddress(const QByteArray& list)
{
    for (const QJsonValue& file : QJsonDocument::fromJson(list).object().value(QLatin1String("data")).toArray()) {
        if (file.toObject().value(QLatin1String("type")).toString() != QLatin1String("oracle_cards"))
            continue;
        const QUrl url(file.toObject().value(QLatin1String("download_uri")).toString(), QUrl::StrictMode);
        const QString scheme = url.scheme().toLower();
        if (url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")))
            return url;
    }
    return {};
}

} // namespace

MagicIndexDownload::MagicIndexDownload(LookupService& service, QString target, int transferTimeoutMs, QObject* parent)
    : QObject(parent)
    , service_(service)
    , target_(std::move(target))
    , transferTimeoutMs_(transferTimeoutMs)
{
}

MagicIndexDownload::~MagicIndexDownload()
{
    Cancel();
}

void MagicIndexDownload::Start()
{
    Cancel();
    if (!MagicNameIndex::Available()) {
        // Said from the event loop, as every end is, unless cancelled first.
        noDriver_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (std::exchange(noDriver_, false))
                    Fail(QString::fromUtf8(Text::LookupIndexNoDriver));
            },
            Qt::QueuedConnection);
        return;
    }
    ticket_ = service_.Get(CardSource::Scryfall, QStringLiteral("/bulk-data"), {}, [this](const SourceReply& reply) {
        ticket_ = 0;
        if (!reply.failure.isEmpty()) {
            Fail(reply.failure);
            return;
        }
        const QUrl url = reply.status == 200 ? OracleCardsAddress(reply.body) : QUrl();
        if (url.isEmpty())
            Fail(QString::fromUtf8(Text::LookupIndexNoFile));
        else
            Download(url);
    });
}

void MagicIndexDownload::Cancel()
{
    if (ticket_)
        service_.Cancel(ticket_);
    ticket_ = 0;
    noDriver_ = false;
    if (reply_) {
        reply_->disconnect(this);
        reply_->abort();
        reply_->deleteLater();
    }
    reply_ = nullptr;
    if (builder_) {
        // The builder stops at its next piece, leaving the index as it was.
        builder_->disconnect(this);
        stop_ = true;
        builder_->wait();
        builder_.reset();
    }
    file_.reset();
}

void MagicIndexDownload::Download(const QUrl& url)
{
    file_ = std::make_unique<QTemporaryFile>();
    if (!file_->open()) {
        Fail(QString::fromUtf8(Text::LookupIndexNotMade).arg(file_->errorString()));
        return;
    }
    fault_.clear();
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, UserAgent());
    request.setRawHeader("Accept", "application/json");
    request.setTransferTimeout(transferTimeoutMs_);
    request.setMaximumRedirectsAllowed(5);
    reply_ = network_.get(request);
    connect(reply_, &QNetworkReply::readyRead, this, [this] {
        if (file_->write(reply_->readAll()) < 0)
            fault_ = file_->errorString();
        else if (file_->size() > kMaxBytes)
            fault_ = QStringLiteral("the file is too large");
        if (!fault_.isEmpty())
            reply_->abort();
    });
    connect(reply_, &QNetworkReply::downloadProgress, this, &MagicIndexDownload::Progress);
    connect(reply_, &QNetworkReply::finished, this, &MagicIndexDownload::Downloaded);
}

void MagicIndexDownload::Downloaded()
{
    QNetworkReply* reply = reply_;
    reply_ = nullptr;
    reply->deleteLater();
    if (!fault_.isEmpty()) {
        Fail(QString::fromUtf8(Text::LookupIndexNotMade).arg(fault_));
        return;
    }
    if (reply->error() != QNetworkReply::NoError) {
        Fail(QString::fromUtf8(Text::LookupIndexNotFetched).arg(reply->errorString()));
        return;
    }
    if (file_->write(reply->readAll()) < 0 || !file_->flush() || !file_->seek(0)) {
        Fail(QString::fromUtf8(Text::LookupIndexNotMade).arg(file_->errorString()));
        return;
    }
    stop_ = false;
    builder_.reset(QThread::create([this] {
        built_ = MagicNameIndex::Build(*file_, target_, buildFailure_, &names_, &stop_);
    }));
    // The end of a builder since let go of, already on its way, is not this one's.
    QThread* builder = builder_.get();
    connect(builder, &QThread::finished, this, [this, builder] {
        if (builder_.get() == builder)
            Built();
    });
    builder_->start();
}

void MagicIndexDownload::Built()
{
    builder_->wait();
    builder_.reset();
    file_.reset();
    if (!built_) {
        Fail(QString::fromUtf8(Text::LookupIndexNotMade).arg(buildFailure_));
        return;
    }
    emit Finished(QString(), names_);
}

void MagicIndexDownload::Fail(const QString& failure)
{
    file_.reset();
    emit Finished(failure, 0);
}
