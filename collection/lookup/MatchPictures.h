#pragma once

#include "collection/lookup/CardMatch.h"

#include <QNetworkAccessManager>
#include <QObject>
#include <QSet>
#include <QString>

#include <functional>

class QNetworkReply;

// Keeps the pictures of looked-up cards in the collection's folder, as
// pictures/<name made from the print>.<kind>, each fetched once. The path
// given back is relative to the folder, ready for a Card's Picture URL.
class MatchPictures : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kFolder = "pictures";
    // A file larger than this is not a card's picture.
    static constexpr qint64 kMaxBytes = qint64(32) << 20;

    explicit MatchPictures(QString collectionFolder, int transferTimeoutMs = 20000, QObject* parent = nullptr);
    ~MatchPictures() override;

    // The relative path of the match's picture when it is stored already;
    // empty otherwise.
    QString StoredPath(const CardMatch& match) const;
    // Stores the match's picture unless it is stored already; Stored or
    // Failed follows, from the event loop, for the match's print.
    void Store(const CardMatch& match);

signals:
    void Stored(const QString& print, const QString& relativePath);
    void Failed(const QString& print, const QString& reason);

private:
    void Finish(QNetworkReply* reply, const QString& print, const QString& stem);
    void Later(const std::function<void()>& emitting);

    QString folder_;
    int transferTimeoutMs_;
    QNetworkAccessManager network_;
    QSet<QString> fetching_;
};

// The file name, without its kind, that a print gives: letters, digits, '-'
// and '_' kept, anything else '_', so that no name from the network leads out
// of the pictures folder; at most 100 characters.
QString PictureFileStem(const std::string& print);

// "jpg", "png", "gif" or "webp" by the bytes' own signature; empty when they
// are none of these.
QString PictureKind(const QByteArray& bytes);
