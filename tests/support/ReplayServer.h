#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QTcpServer>

#include <functional>

class QTcpSocket;

// A web server on 127.0.0.1, on a port of its own, that answers from a
// script: each request target (path and query, percent-decoded) its canned
// answer. It keeps every request it was sent, with its headers and when it
// came, so that a test can tell what a client asked and at what pace.
class ReplayServer : public QObject {
    Q_OBJECT

public:
    struct Reply {
        int status = 200;
        QByteArray body;
        QList<QPair<QByteArray, QByteArray>> headers;
        // Milliseconds before the answer goes.
        int delayMs = 0;
        // The head goes, promising a body that never comes.
        bool endless = false;
    };
    struct Request {
        QByteArray method;
        // Decoded, as the script names it.
        QByteArray target;
        // Header names in small letters.
        QHash<QByteArray, QByteArray> headers;
        qint64 atMs = 0;
        QByteArray body;
    };
    using Responder = std::function<Reply(const Request&)>;

    ReplayServer();

    // "http://127.0.0.1:<port>".
    QString Base() const;
    void Script(const QByteArray& target, Reply reply);
    void Script(const QByteArray& target, const QByteArray& json, int status = 200);
    // Answers a target from what was sent to it (a POST's body).
    void Respond(const QByteArray& target, Responder responder);

    const QList<Request>& Requests() const { return requests_; }
    // Milliseconds on the clock of Request::atMs.
    qint64 Now() const { return clock_.elapsed(); }
    // How many requests' targets begin with prefix.
    int Count(const QByteArray& prefix) const;

private:
    void Read(QTcpSocket* socket);
    void Answer(QTcpSocket* socket, const Request& request);

    QTcpServer server_;
    QElapsedTimer clock_;
    QHash<QByteArray, Reply> script_;
    QHash<QByteArray, Responder> responders_;
    QList<Request> requests_;
    QHash<QTcpSocket*, QByteArray> pending_;
};
