#include "collection/lookup/CardLookup.h"

#include "collection/lookup/LookupService.h"
#include "collection/lookup/ScryfallAnswer.h"
#include "collection/lookup/TcgdexAnswer.h"
#include "collection/lookup/YgoprodeckAnswer.h"
#include "resources/StringTable.h"

#include <QTimer>
#include <QUrl>

#include <map>

#include <memory>

namespace {

// TCGdex is asked in English, as the names are typed in Card Name.
constexpr const char* kTcgdexLanguage = "en";

QString Encoded(const QString& text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

QString Encoded(const std::string& text)
{
    return Encoded(QString::fromStdString(text));
}

std::vector<CardMatch> AtMost(std::vector<CardMatch> matches)
{
    if (int(matches.size()) > CardLookup::kMaxMatchesPerSource)
        matches.resize(CardLookup::kMaxMatchesPerSource);
    return matches;
}

SourceAnswer ReadTcgdexList(int status, const QByteArray& body)
{
    return ReadTcgdexCards(status, body, kTcgdexLanguage);
}

SourceAnswer ReadTcgdexOne(int status, const QByteArray& body)
{
    return ReadTcgdexCard(status, body, kTcgdexLanguage);
}

} // namespace

CardLookup::CardLookup(LookupService& service, QObject* parent)
    : QObject(parent)
    , service_(service)
{
}

CardLookup::~CardLookup()
{
    Cancel();
}

void CardLookup::Start(const QString& typed, CardGame game)
{
    Cancel();
    query_ = ParseCardQuery(typed, game);
    running_ = true;
    found_ = false;
    failures_.clear();
    if (query_.text.isEmpty()) {
        failures_ << QString::fromUtf8(Text::LookupEmptyQuery);
        // Finished comes from the event loop, as it does for every lookup.
        QTimer::singleShot(0, this, [this, generation = generation_] {
            if (generation == generation_)
                Settle();
        });
        return;
    }
    if (query_.kind == CardQuery::Kind::Name)
        AskName(query_.game);
    else
        AskPrint();
}

void CardLookup::Cancel()
{
    for (const quint64 ticket : std::as_const(tickets_))
        service_.Cancel(ticket);
    tickets_.clear();
    ++generation_;
    outstanding_ = 0;
    running_ = false;
}

void CardLookup::Ask(CardSource source, const QString& path, const QString& query, Reader read,
                     std::function<void(const SourceAnswer&)> then)
{
    ++outstanding_;
    auto ticket = std::make_shared<quint64>(0);
    *ticket = service_.Get(source, path, query,
                           [this, ticket, generation = generation_, read = std::move(read),
                            then = std::move(then)](const SourceReply& reply) {
        tickets_.remove(*ticket);
        SourceAnswer answer;
        if (reply.failure.isEmpty())
            answer = read(reply.status, reply.body);
        else
            answer.failure = reply.failure;
        then(answer);
        // What then emitted may have cancelled or restarted the lookup.
        if (generation != generation_)
            return;
        --outstanding_;
        Settle();
    });
    tickets_.insert(*ticket);
}

void CardLookup::AskName(CardGame game)
{
    if (game == CardGame::Any || game == CardGame::Magic)
        AskScryfallName(false);
    if (game == CardGame::Any || game == CardGame::Pokemon)
        AskTcgdexName();
    if (game == CardGame::Any || game == CardGame::Yugioh)
        AskYgoprodeckName();
}

// Every printing whose name holds the words; when none does, Scryfall's
// guess at a misspelt name.
void CardLookup::AskScryfallName(bool fuzzy)
{
    const QString text = Encoded(query_.text);
    const QString path = fuzzy ? QStringLiteral("/cards/named") : QStringLiteral("/cards/search");
    const QString query = fuzzy ? QStringLiteral("fuzzy=") + text : QStringLiteral("q=%1&unique=prints").arg(text);
    Ask(CardSource::Scryfall, path, query, ReadScryfallAnswer, [this, fuzzy](const SourceAnswer& answer) {
        if (answer.notFound && !fuzzy)
            AskScryfallName(true);
        else
            Take(answer);
    });
}

void CardLookup::AskTcgdexName()
{
    Ask(CardSource::Tcgdex, QStringLiteral("/v2/%1/cards").arg(QLatin1String(kTcgdexLanguage)),
        QStringLiteral("name=") + Encoded(query_.text), ReadTcgdexList, [this](const SourceAnswer& answer) {
            if (answer.matches.empty())
                Take(answer);
            else
                AskTcgdexSets(AtMost(answer.matches));
        });
}

// The cards of a name search name only their set; the set gives its name and
// year. Each set's cards come as soon as it answers, and without them when it
// does not.
void CardLookup::AskTcgdexSets(std::vector<CardMatch> cards)
{
    std::vector<std::pair<std::string, std::vector<CardMatch>>> sets;
    for (CardMatch& card : cards) {
        auto set = std::find_if(sets.begin(), sets.end(), [&](const auto& each) { return each.first == card.setcode; });
        if (set == sets.end())
            set = sets.insert(sets.end(), {card.setcode, {}});
        set->second.push_back(std::move(card));
    }
    const quint64 generation = generation_;
    for (auto& [code, members] : sets) {
        // What an earlier set's matches set off may have ended this lookup.
        if (generation != generation_)
            return;
        if (code.empty()) {
            Emit(std::move(members));
            continue;
        }
        Ask(CardSource::Tcgdex,
            QStringLiteral("/v2/%1/sets/%2").arg(QLatin1String(kTcgdexLanguage), Encoded(code)),
            {}, [](int status, const QByteArray& body) {
                SourceAnswer answer;
                TcgdexSet set;
                if (ReadTcgdexSet(status, body, set)) {
                    CardMatch named;
                    named.series = set.name;
                    named.year = set.year;
                    answer.matches.push_back(std::move(named));
                }
                return answer;
            },
            [this, members = members](const SourceAnswer& answer) mutable {
                if (!answer.matches.empty()) {
                    for (CardMatch& card : members) {
                        card.series = answer.matches.front().series;
                        card.year = answer.matches.front().year;
                    }
                } else if (!answer.failure.isEmpty()) {
                    failures_ << answer.failure;
                }
                Emit(std::move(members));
            });
    }
}

void CardLookup::AskYgoprodeckName()
{
    Ask(CardSource::Ygoprodeck, QStringLiteral("/api/v7/cardinfo.php"), QStringLiteral("fname=") + Encoded(query_.text),
        ReadYgoprodeckCards, [this](const SourceAnswer& answer) {
            if (answer.matches.empty())
                Take(answer);
            else
                AskYgoprodeckYears(AtMost(answer.matches));
        });
}

void CardLookup::AskYgoprodeckYears(std::vector<CardMatch> matches)
{
    Ask(CardSource::Ygoprodeck, QStringLiteral("/api/v7/cardsets.php"), {}, ReadYgoprodeckSets,
        [this, matches = std::move(matches)](const SourceAnswer& sets) mutable {
            std::map<std::string, std::string> years;
            for (const CardMatch& set : sets.matches)
                years.emplace(set.series, set.year);
            for (CardMatch& match : matches) {
                const auto year = years.find(match.series);
                if (year != years.end())
                    match.year = year->second;
            }
            Emit(std::move(matches));
        });
}

void CardLookup::AskPrint()
{
    switch (query_.game) {
    case CardGame::Magic:
        Ask(CardSource::Scryfall, QStringLiteral("/cards/%1/%2").arg(Encoded(query_.set), Encoded(query_.number)), {},
            ReadScryfallAnswer, [this](const SourceAnswer& answer) { PrintNotFound(answer); });
        break;
    case CardGame::Pokemon:
        Ask(CardSource::Tcgdex,
            QStringLiteral("/v2/%1/cards/%2").arg(QLatin1String(kTcgdexLanguage), Encoded(query_.set + '-' + query_.number)),
            {}, ReadTcgdexOne, [this](const SourceAnswer& answer) {
                if (answer.matches.empty())
                    PrintNotFound(answer);
                else
                    AskTcgdexSets(answer.matches);
            });
        break;
    case CardGame::Yugioh:
        Ask(CardSource::Ygoprodeck, QStringLiteral("/api/v7/cardsetsinfo.php"),
            QStringLiteral("setcode=") + Encoded(query_.set + '-' + query_.number), ReadYgoprodeckSetCode,
            [this](const SourceAnswer& answer) {
                if (answer.matches.empty())
                    PrintNotFound(answer);
                else
                    AskYgoprodeckPrint(answer.matches.front());
            });
        break;
    case CardGame::Any:
        break;
    }
}

// A set code's answer lacks the picture: the card's own answer has it, with
// the same printing among its sets.
void CardLookup::AskYgoprodeckPrint(const CardMatch& printing)
{
    const QString id = QString::fromStdString(printing.print).section(QLatin1Char(':'), 1);
    Ask(CardSource::Ygoprodeck, QStringLiteral("/api/v7/cardinfo.php"), QStringLiteral("id=") + Encoded(id),
        ReadYgoprodeckCards, [this, printing](const SourceAnswer& answer) {
            std::vector<CardMatch> matches;
            for (const CardMatch& match : answer.matches) {
                if (match.setcode == printing.setcode && match.number == printing.number)
                    matches.push_back(match);
            }
            if (matches.empty()) {
                matches.push_back(printing);
                if (!answer.matches.empty())
                    matches.front().picture = answer.matches.front().picture;
                else if (!answer.notFound && !answer.failure.isEmpty())
                    failures_ << answer.failure;
            }
            AskYgoprodeckYears(std::move(matches));
        });
}

void CardLookup::PrintNotFound(const SourceAnswer& answer)
{
    if (answer.notFound && !query_.gameGiven)
        AskName(CardGame::Any);
    else
        Take(answer);
}

void CardLookup::Take(const SourceAnswer& answer)
{
    if (!answer.failure.isEmpty() && !answer.notFound)
        failures_ << answer.failure;
    if (!answer.matches.empty())
        Emit(AtMost(answer.matches));
}

void CardLookup::Emit(std::vector<CardMatch> matches)
{
    if (matches.empty() || !running_)
        return;
    found_ = true;
    emit MatchesFound(matches);
}

void CardLookup::Settle()
{
    if (!running_ || outstanding_ > 0)
        return;
    running_ = false;
    QString failure;
    if (!failures_.isEmpty())
        failure = failures_.first();
    else if (!found_)
        failure = QString::fromUtf8(Text::LookupNothingFound).arg(query_.text);
    emit Finished(failure);
}
