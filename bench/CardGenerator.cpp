#include "CardGenerator.h"

#include <QFile>

#include <array>
#include <string_view>

namespace {

// SplitMix64: a fixed sequence of numbers from a seed, the same everywhere,
// unlike the distributions of <random>.
class Numbers {
public:
    explicit Numbers(std::uint64_t seed)
        : state_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull)
    {
    }

    std::uint64_t Next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // 0 to bound - 1.
    std::uint64_t Below(std::uint64_t bound) { return Next() % bound; }

    // Small indices far more often than large ones, as a collection holds
    // many Cards of a few Series and few of many others.
    std::size_t Skewed(std::size_t bound)
    {
        const std::uint64_t a = Below(bound);
        const std::uint64_t b = Below(bound);
        return std::size_t(a < b ? a : b);
    }

    template <std::size_t size>
    std::string_view Pick(const std::array<std::string_view, size>& words)
    {
        return words[Below(size)];
    }

private:
    std::uint64_t state_;
};

constexpr std::array<std::string_view, 40> kSeries = {
    "Aurora Core Set", "Aurora Expansion I", "Aurora Expansion II", "Ember Saga", "Ember Saga 2nd Print",
    "Frostvale", "Frostvale Legends", "Tidecaller", "Ironbark Vanguard", "Skyforge",
    "Base Set", "base set", "Base Set 2", "Édition Première", "Nordlicht Ära",
    "Kaiju Tōkyō", "Dragon's Hoard", "Promo", "Promo (Black Star)", "Starter Deck",
    "Shadowmere", "Shadowmere: Rising", "Celestial Courts", "Verdant Wilds", "Mythic Ruins",
    "Ruinas Míticas", "Clockwork City", "Sunken Kingdoms", "Thunderpeak", "Obsidian Throne",
    "Gilded Age", "Whispering Woods", "Crimson Tide", "Arcane Academy", "Lost Legends",
    "Jeux d'Été", "Stormbound", "Wyrmwood", "Neon Nights", "First Edition Reprints",
};

constexpr std::array<std::string_view, 12> kConditions = {
    "Near Mint", "Mint", "Excellent", "Very Good", "Good", "Lightly Played",
    "Played", "Poor", "PSA 10", "PSA 9", "NM-MT 8", "",
};

constexpr std::array<std::string_view, 32> kNameFirst = {
    "Ancient", "Blazing", "Crystal", "Dark", "Elder", "Frost", "Golden", "Hidden",
    "Iron", "Jade", "Kinetic", "Lunar", "Mystic", "Noble", "Obsidian", "Primal",
    "Radiant", "Shadow", "Thunder", "Umbral", "Verdant", "Wild", "Zephyr", "Ölfeuer",
    "Señor", "Æther", "Crimson", "Silent", "Storm", "Sacred", "Twin", "Lost",
};

constexpr std::array<std::string_view, 32> kNameSecond = {
    "Dragon", "Wyvern", "Golem", "Phoenix", "Knight", "Sorceress", "Serpent", "Titan",
    "Sprite", "Warden", "Colossus", "Oracle", "Hydra", "Griffin", "Leviathan", "Drake",
    "Paladin", "Revenant", "Chimera", "Basilisk", "Sentinel", "Wisp", "Behemoth", "Relámpago",
    "Kitsune", "Ryū", "Valkyrie", "Minotaur", "Djinn", "Harpy", "Kraken", "Unicorn",
};

constexpr std::array<std::string_view, 8> kNameSuffix = {
    "", "", "", " (Holo)", " (Reverse Holo)", " EX", " – Full Art", " (1st Edition)",
};

constexpr std::array<std::string_view, 48> kWords = {
    "light", "whitening", "on", "the", "back", "edges", "sharp", "corners", "centred", "slightly",
    "off-centre", "print", "line", "surface", "scratch", "from", "a", "sealed", "booster", "pack",
    "traded", "at", "the", "club", "signed", "by", "artist", "misprint", "holo", "bleed",
    "bought", "in", "lot", "of", "ten", "stored", "in", "sleeve", "and", "toploader",
    "crease", "near", "top", "left", "très", "bon", "état", "grün",
};

constexpr std::array<std::string_view, 6> kGames = {
    "Skyforge TCG", "Realm Duel", "Ashfall Legends", "Pocket Wyverns", "Starlight Clash", "Mythic Tides",
};

constexpr std::array<std::string_view, 5> kFinishes = {"Normal", "Holo", "Reverse Holo", "Foil", "Etched"};

constexpr std::array<std::string_view, 6> kLanguages = {"EN", "DE", "FR", "JP", "IT", "ES"};

constexpr std::array<std::string_view, 8> kLocations = {
    "Binder 1", "Binder 2", "Box A", "Box B", "Deck box", "Top loader", "Shelf", "Trade binder",
};

constexpr std::array<std::string_view, 8> kTags = {
    "graded", "signed", "misprint", "promo", "alt art", "deck", "keep", "sell",
};

constexpr std::array<std::string_view, 4> kPrints = {"1st Edition", "Unlimited", "Shadowless", "Reprint"};

std::string Slug(std::string_view text)
{
    std::string slug;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9'))
            slug += c;
        else if (byte >= 'A' && byte <= 'Z')
            slug += char(byte - 'A' + 'a');
        else if (!slug.empty() && slug.back() != '-')
            slug += '-';
    }
    return slug;
}

} // namespace

Card GeneratedCard(std::uint64_t index)
{
    Numbers numbers(index);
    Card card;
    card[NameField] = std::string(numbers.Pick(kNameFirst)) + ' ' + std::string(numbers.Pick(kNameSecond))
                      + std::string(numbers.Pick(kNameSuffix));
    if (numbers.Below(3) == 0)
        card[NameField] += ' ' + std::to_string(1 + numbers.Below(250)) + '/' + std::to_string(250);
    const std::string_view series = kSeries[numbers.Skewed(kSeries.size())];
    card[SeriesField] = std::string(series);
    card[ConditionField] = std::string(kConditions[numbers.Skewed(kConditions.size())]);
    if (numbers.Below(20) != 0)
        card[YearField] = std::to_string(1993 + numbers.Below(33));
    const std::uint64_t cents = 10 + numbers.Below(numbers.Below(10) == 0 ? 250000 : 4000);
    card[PriceField] = std::to_string(cents / 100) + '.' + char('0' + cents / 10 % 10) + char('0' + cents % 10);
    card[QuantityField] = std::to_string(numbers.Below(4) == 0 ? 2 + numbers.Below(11) : 1);
    if (numbers.Below(10) != 0)
        card[UrlField] = "https://images.cards.example.net/" + Slug(series) + '/' + std::to_string(100000 + index)
                         + ".jpg";
    const std::uint64_t words = numbers.Below(3) == 0 ? 0 : 2 + numbers.Below(14);
    for (std::uint64_t word = 0; word < words; ++word) {
        if (word > 0)
            card[DescriptionField] += ' ';
        card[DescriptionField] += numbers.Pick(kWords);
    }
    return card;
}

void AddGeneratedDetails(Card& card, std::uint64_t index)
{
    // Numbers of their own, so that the eight fields stay as without details.
    Numbers numbers(~index);
    const auto detail = [&card](CardField field) -> std::string& { return card[std::size_t(field)]; };
    detail(GameField) = std::string(kGames[numbers.Skewed(kGames.size())]);
    std::string& setCode = detail(SetCodeField);
    for (const char c : card[SeriesField]) {
        if (c >= 'A' && c <= 'Z' && setCode.size() < 4)
            setCode += c;
    }
    detail(NumberField) = std::to_string(1 + numbers.Below(300));
    if (numbers.Below(3) == 0)
        detail(FinishField) = std::string(numbers.Pick(kFinishes));
    detail(LanguageField) = std::string(kLanguages[numbers.Skewed(kLanguages.size())]);
    if (numbers.Below(2) == 0)
        detail(LocationField) = std::string(numbers.Pick(kLocations));
    if (numbers.Below(4) == 0)
        detail(TagsField) = std::string(numbers.Pick(kTags)) + ' ' + std::string(numbers.Pick(kTags));
    if (numbers.Below(5) == 0)
        detail(TradeField) = std::to_string(1 + numbers.Below(4));
    if (numbers.Below(8) == 0)
        detail(WantField) = std::to_string(1 + numbers.Below(4));
    if (numbers.Below(6) == 0)
        detail(PrintField) = std::string(numbers.Pick(kPrints));
}

bool WriteGeneratedCollection(const QString& path, std::uint64_t count, bool withDetails)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QByteArray buffer;
    for (std::uint64_t index = 0; index < count; ++index) {
        buffer += index == 0 ? "CREATOR=QMK 1.0\r\n" : "\r\n";
        Card card = GeneratedCard(index);
        if (withDetails)
            AddGeneratedDetails(card, index);
        for (int field = 0; field < kAllCardFieldCount; ++field) {
            if (field >= kCardFieldCount && card[field].empty())
                continue;
            const std::string_view key =
                field < kCardFieldCount ? kCardKeys[field] : kDetailKeys[field - kCardFieldCount];
            buffer.append(key.data(), qsizetype(key.size()));
            buffer += '=';
            buffer.append(card[field].data(), qsizetype(card[field].size()));
            buffer += "\r\n";
        }
        if (buffer.size() >= (1 << 20)) {
            if (file.write(buffer) != buffer.size())
                return false;
            buffer.clear();
        }
    }
    return file.write(buffer) == buffer.size() && file.flush();
}
