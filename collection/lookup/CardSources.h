#pragma once

#include <QString>
#include <QUrl>

#include <optional>
#include <string>

// The public card databases asked.
enum class CardSource { Scryfall, Tcgdex, Ygoprodeck };

const char* CardSourceName(CardSource source);
// The source a match's print ("scryfall:<id>" and the like) comes from.
std::optional<CardSource> PrintSource(const std::string& print);

// Where the sources are asked: their public addresses, or, for tests and
// mirrors, one base under which each is served in a folder of its own
// (<base>/scryfall/cards/named?fuzzy=...).
class CardSources {
public:
    static constexpr const char* kEnvironment = "QUILLMARK_CARD_SOURCES";

    // An empty base means the public addresses.
    explicit CardSources(QString base = {});
    // The base QUILLMARK_CARD_SOURCES names, when it is set.
    static CardSources FromEnvironment();

    // path begins with "/"; its segments and query are already
    // percent-encoded.
    QUrl Url(CardSource source, const QString& path, const QString& query = {}) const;

private:
    QString base_;
};
