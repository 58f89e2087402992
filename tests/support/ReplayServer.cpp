#include "support/ReplayServer.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

ReplayServer::ReplayServer()
{
    clock_.start();
    if (!server_.listen(QHostAddress::LocalHost, 0))
        qFatal("the replay server cannot listen");
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(socket); });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                pending_.remove(socket);
                socket->deleteLater();
            });
        }
    });
}

QString ReplayServer::Base() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort());
}

void ReplayServer::Script(const QByteArray& target, Reply reply)
{
    script_.insert(target, std::move(reply));
}

void ReplayServer::Script(const QByteArray& target, const QByteArray& json, int status)
{
    Reply reply;
    reply.status = status;
    reply.body = json;
    reply.headers = {{"Content-Type", "application/json"}};
    Script(target, std::move(reply));
}

void ReplayServer::Respond(const QByteArray& target, Responder responder)
{
    responders_.insert(target, std::move(responder));
}

int ReplayServer::Count(const QByteArray& prefix) const
{
    int count = 0;
    for (const Request& request : requests_)
        count += request.target.startsWith(prefix) ? 1 : 0;
    return count;
}

// The clients send GETs, and POSTs with a Content-Length, several on one
// connection.
void ReplayServer::Read(QTcpSocket* socket)
{
    QByteArray& buffer = pending_[socket];
    buffer += socket->readAll();
    qsizetype end;
    while ((end = buffer.indexOf("\r\n\r\n")) >= 0) {
        const QList<QByteArray> lines = buffer.left(end).split('\n');
        qsizetype length = 0;
        for (const QByteArray& line : lines) {
            if (line.toLower().startsWith("content-length:"))
                length = line.mid(15).trimmed().toLongLong();
        }
        if (buffer.size() < end + 4 + length)
            return;
        const QByteArray body = buffer.mid(end + 4, length);
        buffer.remove(0, end + 4 + length);
        const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
        Request request;
        request.method = first.value(0);
        request.target = QByteArray::fromPercentEncoding(first.value(1));
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const qsizetype colon = lines[i].indexOf(':');
            if (colon > 0)
                request.headers.insert(lines[i].left(colon).trimmed().toLower(), lines[i].mid(colon + 1).trimmed());
        }
        request.atMs = clock_.elapsed();
        request.body = body;
        requests_.append(request);
        Answer(socket, request);
    }
}

void ReplayServer::Answer(QTcpSocket* socket, const Request& request)
{
    const auto responder = responders_.constFind(request.target);
    const Reply reply = responder != responders_.constEnd()
                            ? (*responder)(request)
                            : script_.value(request.target, Reply{404, "{}", {{"Content-Type", "application/json"}}});
    QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.status) + " Scripted\r\n";
    for (const auto& [name, value] : reply.headers)
        head += name + ": " + value + "\r\n";
    head += "Content-Length: " + QByteArray::number(reply.endless ? 1 << 20 : reply.body.size()) + "\r\n\r\n";
    const QByteArray bytes = reply.endless ? head : head + reply.body;
    QPointer<QTcpSocket> alive(socket);
    QTimer::singleShot(reply.delayMs, this, [alive, bytes] {
        if (alive)
            alive->write(bytes);
    });
}
