#pragma once

#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTemporaryFile>

#include <atomic>
#include <memory>

class LookupService;
class QNetworkReply;
class QThread;

// Downloads Scryfall's file of oracle cards, named by its list of bulk
// files, and builds the Magic name index from it. The list is asked through
// the lookup's service, at Scryfall's pace; the file, one large download, on
// its own; the index is built on a thread of its own, as reading a file of a
// hundred megabytes takes seconds.
class MagicIndexDownload : public QObject {
    Q_OBJECT

public:
    // No file of cards is this large.
    static constexpr qint64 kMaxBytes = qint64(1) << 30;

    MagicIndexDownload(LookupService& service, QString target, int transferTimeoutMs = 60000,
                       QObject* parent = nullptr);
    ~MagicIndexDownload() override;

    void Start();
    // Stops it: nothing more is emitted, and the index there stays as it was.
    void Cancel();

signals:
    void Progress(qint64 received, qint64 total);
    // failure is empty when the index was built, with names names.
    void Finished(const QString& failure, int names);

private:
    void Download(const QUrl& url);
    void Downloaded();
    void Built();
    void Fail(const QString& failure);

    LookupService& service_;
    QString target_;
    int transferTimeoutMs_;
    QNetworkAccessManager network_;
    quint64 ticket_ = 0;
    QPointer<QNetworkReply> reply_;
    std::unique_ptr<QTemporaryFile> file_;
    std::unique_ptr<QThread> builder_;
    std::atomic<bool> stop_ = false;
    // What the builder found, read once it has finished.
    bool built_ = false;
    QString buildFailure_;
    int names_ = 0;
    // Why the download was stopped from here: the file too large, or not
    // written.
    QString fault_;
    bool noDriver_ = false;
};
