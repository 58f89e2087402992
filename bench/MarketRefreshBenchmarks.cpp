#include "MarketRefreshBenchmarks.h"

#include "Measure.h"
#include "collection/lookup/LookupService.h"
#include "collection/prices/MarketRefresh.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTcpSocket>

#include <cstdio>

namespace {

// Answers every POST with each identifier's card at a dollar, at once.
class CollectionServer : public QObject {
public:
    CollectionServer()
    {
        server_.listen(QHostAddress::LocalHost, 0);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                socket->setParent(this);
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(socket); });
            }
        });
    }
    QString Base() const { return QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort()); }

private:
    void Read(QTcpSocket* socket)
    {
        QByteArray& buffer = pending_[socket];
        buffer += socket->readAll();
        const qsizetype end = buffer.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        qsizetype length = 0;
        for (const QByteArray& line : buffer.left(end).split('\n')) {
            if (line.toLower().startsWith("content-length:"))
                length = line.mid(15).trimmed().toLongLong();
        }
        if (buffer.size() < end + 4 + length)
            return;
        const QByteArray body = buffer.mid(end + 4, length);
        buffer.remove(0, end + 4 + length);
        QJsonArray data;
        for (const QJsonValue& each : QJsonDocument::fromJson(body).object()["identifiers"].toArray()) {
            data.append(QJsonObject{{"id", each.toObject()["id"]}, {"prices", QJsonObject{{"usd", "1.00"}}}});
        }
        const QByteArray answer = QJsonDocument(QJsonObject{{"object", "list"}, {"data", data}}).toJson();
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: "
                      + QByteArray::number(answer.size()) + "\r\n\r\n" + answer);
    }

    QTcpServer server_;
    QHash<QTcpSocket*, QByteArray> pending_;
};

} // namespace

bool RunMarketRefreshBenchmark(std::uint64_t cards)
{
    CollectionServer server;
    LookupService service{CardSources(server.Base())};
    std::vector<PricedCard> rows;
    for (std::uint64_t i = 0; i < cards; ++i) {
        Card card;
        card[NameField] = "Card " + std::to_string(i);
        card[PrintField] = "scryfall:" + std::to_string(i);
        rows.push_back({int(i), card});
    }
    MarketRefresh refresh(service);
    QObject::connect(&refresh, &MarketRefresh::Finished, QCoreApplication::instance(), &QCoreApplication::quit);
    const Stopwatch watch;
    refresh.Start(rows, TextEncoding::Utf8, QDate::currentDate(), true);
    QCoreApplication::exec();
    Report(cards, "market_refresh", watch.Elapsed());
    Report(cards, "market_refresh_requests", double(refresh.Requests()));
    if (refresh.Priced().size() != cards) {
        std::fprintf(stderr, "%zu of %llu Cards priced\n", refresh.Priced().size(), (unsigned long long)cards);
        return false;
    }
    return true;
}
