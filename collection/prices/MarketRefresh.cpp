#include "collection/prices/MarketRefresh.h"

#include "collection/lookup/LookupService.h"
#include "collection/prices/MarketPrice.h"
#include "collection/prices/PrintingKey.h"
#include "resources/StringTable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <set>

namespace {

// The language TCGdex is asked in, as the lookup asks it.
constexpr const char* kTcgdexLanguage = "en";

QString Encoded(const QString& text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

QString Said(const char* text, CardSource source)
{
    return QString::fromUtf8(text).arg(QString::fromUtf8(CardSourceName(source)));
}

QString ScryfallSetNumber(const QString& set, const QString& number)
{
    return set.toLower() + QLatin1Char('/') + number.toLower();
}

} // namespace

MarketRefresh::MarketRefresh(LookupService& service, QObject* parent)
    : QObject(parent)
    , service_(service)
{
}

MarketRefresh::~MarketRefresh()
{
    for (const auto& [source, ticket] : asking_)
        service_.Cancel(ticket);
}

void MarketRefresh::Start(const std::vector<PricedCard>& cards, TextEncoding encoding, QDate today, bool again)
{
    for (const auto& [source, ticket] : asking_)
        service_.Cancel(ticket);
    asking_.clear();
    queues_.clear();
    wanted_.clear();
    priced_.clear();
    unpriced_.clear();
    entries_.clear();
    requests_ = answered_ = skippedToday_ = 0;
    encoding_ = encoding;
    today_ = today;
    running_ = true;
    ++generation_;
    Plan(cards, today, again);
    for (auto& [source, queue] : queues_)
        requests_ += int(queue.size());
    if (queues_.empty()) {
        // Finished comes from the event loop, as it does after any answer.
        QTimer::singleShot(0, this, [this, generation = generation_] {
            if (generation == generation_)
                Settle();
        });
        return;
    }
    for (auto& [source, queue] : queues_)
        AskNext(source);
}

void MarketRefresh::Plan(const std::vector<PricedCard>& cards, QDate today, bool again)
{
    const std::string day = today.toString(Qt::ISODate).toStdString();
    std::vector<std::size_t> scryfall;
    std::map<QString, std::vector<std::size_t>> tcgdex;
    std::map<QString, std::vector<std::size_t>> ygoprodeckCards;
    std::map<QString, std::vector<std::size_t>> ygoprodeckCodes;
    for (const PricedCard& each : cards) {
        const QString key = PrintingKey(each.card, encoding_);
        if (key.isEmpty())
            continue;
        if (!again && each.card[MarketDateField] == day) {
            ++skippedToday_;
            continue;
        }
        const auto text = [&](CardField field) { return DecodeText(each.card[field], encoding_).trimmed(); };
        const QString print = text(PrintField);
        const QString set = text(SetCodeField);
        const QString number = text(NumberField);
        const QString game = text(GameField).toLower();
        std::optional<CardSource> source = PrintSource(each.card[PrintField]);
        const bool printKnown = source.has_value();
        if (!source && game == QLatin1String("magic"))
            source = CardSource::Scryfall;
        else if (!source && game == QLatin1String("pokemon"))
            source = CardSource::Tcgdex;
        else if (!source && game == QLatin1String("yugioh"))
            source = CardSource::Ygoprodeck;
        const std::size_t index = wanted_.size();
        wanted_.push_back({each.row, each.card, key, text(FinishField), {}});
        const bool setAndNumber = !set.isEmpty() && !number.isEmpty();
        if (!source || (!printKnown && !setAndNumber)) {
            Refuse(index, QString::fromUtf8(Text::PricesNoSource));
            continue;
        }
        const QString id = printKnown ? print.section(QLatin1Char(':'), 1) : QString();
        switch (*source) {
        case CardSource::Scryfall:
            wanted_[index].match = printKnown ? id.toLower() : ScryfallSetNumber(set, number);
            scryfall.push_back(index);
            break;
        case CardSource::Tcgdex:
            tcgdex[printKnown ? id : set + QLatin1Char('-') + number].push_back(index);
            break;
        case CardSource::Ygoprodeck:
            wanted_[index].match = setAndNumber ? set + QLatin1Char('-') + number : QString();
            if (printKnown)
                ygoprodeckCards[id].push_back(index);
            else
                ygoprodeckCodes[wanted_[index].match].push_back(index);
            break;
        }
    }
    PlanScryfall(scryfall);
    for (auto& [id, members] : tcgdex) {
        queues_[CardSource::Tcgdex].push_back(
            {CardSource::Tcgdex, QStringLiteral("/v2/%1/cards/%2").arg(QLatin1String(kTcgdexLanguage), Encoded(id)), {},
             {}, std::move(members)});
    }
    for (auto& [id, members] : ygoprodeckCards) {
        queues_[CardSource::Ygoprodeck].push_back({CardSource::Ygoprodeck, QStringLiteral("/api/v7/cardinfo.php"),
                                                   QStringLiteral("id=") + Encoded(id), {}, std::move(members)});
    }
    for (auto& [code, members] : ygoprodeckCodes) {
        queues_[CardSource::Ygoprodeck].push_back({CardSource::Ygoprodeck, QStringLiteral("/api/v7/cardsetsinfo.php"),
                                                   QStringLiteral("setcode=") + Encoded(code), {}, std::move(members)});
    }
}

// Each printing once, 75 to a request; the Cards of a printing go with the
// request that names it.
void MarketRefresh::PlanScryfall(const std::vector<std::size_t>& members)
{
    std::vector<QString> printings;
    std::map<QString, std::vector<std::size_t>> cardsOf;
    for (const std::size_t index : members) {
        auto& cards = cardsOf[wanted_[index].match];
        if (cards.empty())
            printings.push_back(wanted_[index].match);
        cards.push_back(index);
    }
    for (std::size_t first = 0; first < printings.size(); first += kScryfallBatch) {
        Request request{CardSource::Scryfall, QStringLiteral("/cards/collection"), {}, {}, {}};
        QJsonArray identifiers;
        for (std::size_t i = first; i < std::min(printings.size(), first + kScryfallBatch); ++i) {
            const QString& match = printings[i];
            const qsizetype slash = match.indexOf(QLatin1Char('/'));
            if (slash < 0)
                identifiers.append(QJsonObject{{QStringLiteral("id"), match}});
            else
                identifiers.append(QJsonObject{{QStringLiteral("set"), match.left(slash)},
                                               {QStringLiteral("collector_number"), match.mid(slash + 1)}});
            const auto& cards = cardsOf[match];
            request.members.insert(request.members.end(), cards.begin(), cards.end());
        }
        request.json = QJsonDocument(QJsonObject{{QStringLiteral("identifiers"), identifiers}})
                           .toJson(QJsonDocument::Compact);
        queues_[CardSource::Scryfall].push_back(std::move(request));
    }
}

void MarketRefresh::AskNext(CardSource source)
{
    std::deque<Request>& queue = queues_[source];
    if (queue.empty()) {
        Settle();
        return;
    }
    const Request& request = queue.front();
    auto done = [this, source, generation = generation_](const SourceReply& reply) {
        if (generation != generation_)
            return;
        asking_.erase(source);
        const Request answered = std::move(queues_[source].front());
        queues_[source].pop_front();
        ++answered_;
        Answer(answered, reply);
        emit Progress();
        if (generation == generation_)
            AskNext(source);
    };
    asking_[source] = request.json.isNull()
                          ? service_.Get(source, request.path, request.query, std::move(done), true)
                          : service_.PostJson(source, request.path, request.json, std::move(done));
}

void MarketRefresh::Answer(const Request& request, const SourceReply& reply)
{
    if (reply.failure.isEmpty()) {
        Read(request, reply.status, reply.body);
        return;
    }
    // A source that failed is asked no more: its Cards wait for another refresh.
    for (const std::size_t member : request.members)
        Refuse(member, reply.failure);
    std::deque<Request>& rest = queues_[request.source];
    for (const Request& left : rest) {
        for (const std::size_t member : left.members)
            Refuse(member, reply.failure);
    }
    answered_ += int(rest.size());
    rest.clear();
}

void MarketRefresh::Read(const Request& request, int status, const QByteArray& body)
{
    const CardSource source = request.source;
    const QString notFound = Said(Text::PricesNotFound, source);
    const QString noPrice = Said(Text::PricesNoPrice, source);
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || status != 200) {
        const QString why = status == 404 || status == 400
                                ? notFound
                                : QString::fromUtf8(Text::LookupUnreadable)
                                      .arg(QString::fromUtf8(CardSourceName(source)), error.errorString());
        for (const std::size_t member : request.members)
            Refuse(member, why);
        return;
    }
    switch (source) {
    case CardSource::Scryfall: {
        std::map<QString, QJsonObject> cards;
        for (const QJsonValue& each : json.object().value(QLatin1String("data")).toArray()) {
            const QJsonObject card = each.toObject();
            cards.emplace(card.value(QLatin1String("id")).toString().toLower(), card);
            cards.emplace(ScryfallSetNumber(card.value(QLatin1String("set")).toString(),
                                            card.value(QLatin1String("collector_number")).toString()),
                          card);
        }
        for (const std::size_t member : request.members) {
            const auto card = cards.find(wanted_[member].match);
            if (card == cards.end())
                Refuse(member, notFound);
            else
                Price(member, ScryfallMarketValue(card->second, wanted_[member].finish), noPrice);
        }
        break;
    }
    case CardSource::Tcgdex:
        for (const std::size_t member : request.members)
            Price(member, TcgdexMarketValue(json.object(), wanted_[member].finish), noPrice);
        break;
    case CardSource::Ygoprodeck: {
        // cardinfo.php lists its card in data; cardsetsinfo.php is the printing.
        const QJsonArray data = json.object().value(QLatin1String("data")).toArray();
        for (const std::size_t member : request.members) {
            if (json.object().contains(QLatin1String("data")))
                Price(member,
                      YgoprodeckMarketValue(data.at(0).toObject(), wanted_[member].match, wanted_[member].finish),
                      noPrice);
            else
                Price(member, YgoprodeckPrintingValue(json.object()), noPrice);
        }
        break;
    }
    }
}

void MarketRefresh::Price(std::size_t member, const std::optional<MarketValue>& value, const QString& whyNot)
{
    if (!value) {
        Refuse(member, whyNot);
        return;
    }
    Wanted& wanted = wanted_[member];
    Card card = wanted.card;
    std::string market;
    // The euro sign is in both encodings a collection may be in.
    EncodeText(MarketText(*value), encoding_, market);
    card[MarketField] = market;
    card[MarketDateField] = today_.toString(Qt::ISODate).toStdString();
    priced_.push_back({wanted.row, std::move(card)});
    entries_.push_back({wanted.key, *value});
}

void MarketRefresh::Refuse(std::size_t member, const QString& why)
{
    const Wanted& wanted = wanted_[member];
    unpriced_.push_back({wanted.row, DecodeText(wanted.card[NameField], encoding_), why});
}

void MarketRefresh::Cancel()
{
    if (!running_)
        return;
    for (const auto& [source, ticket] : asking_)
        service_.Cancel(ticket);
    asking_.clear();
    ++generation_;
    const QString why = QString::fromUtf8(Text::PricesNotAsked);
    for (auto& [source, queue] : queues_) {
        for (const Request& left : queue) {
            for (const std::size_t member : left.members)
                Refuse(member, why);
        }
        queue.clear();
    }
    Settle();
}

void MarketRefresh::Settle()
{
    if (!running_ || !asking_.empty())
        return;
    for (const auto& [source, queue] : queues_) {
        if (!queue.empty())
            return;
    }
    running_ = false;
    std::sort(priced_.begin(), priced_.end(), [](const PricedCard& a, const PricedCard& b) { return a.row < b.row; });
    std::sort(unpriced_.begin(), unpriced_.end(),
              [](const UnpricedCard& a, const UnpricedCard& b) { return a.row < b.row; });
    emit Finished();
}

qint64 MarketRefresh::MsLeft()
{
    qint64 longest = 0;
    for (const auto& [source, queue] : queues_)
        longest = std::max(longest, qint64(queue.size()) * service_.IntervalMs(source, source == CardSource::Scryfall));
    return longest;
}

std::vector<PriceEntry> MarketRefresh::HistoryEntries() const
{
    std::vector<PriceEntry> entries;
    std::set<QString> seen;
    for (const PriceEntry& entry : entries_) {
        if (seen.insert(entry.key).second)
            entries.push_back(entry);
    }
    return entries;
}
