#include "collection/csv/apps/CardApps.h"

#include <algorithm>

namespace {

constexpr std::string_view kWishMarks[] = {"list", "wishlist", "true", "yes", "1", "x"};

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
           && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

bool SameHeading(std::string_view a, std::string_view b)
{
    return EqualIgnoringCase(Trimmed(a), b);
}

bool StartsWithHeading(std::string_view heading, std::string_view prefix)
{
    heading = Trimmed(heading);
    return heading.size() > prefix.size() && EqualIgnoringCase(heading.substr(0, prefix.size()), prefix);
}

int ColumnNamed(const std::vector<std::string_view>& headings, std::string_view name)
{
    if (name.empty())
        return -1;
    for (std::size_t column = 0; column < headings.size(); ++column) {
        if (SameHeading(headings[column], name))
            return int(column);
    }
    return -1;
}

bool IsWholeNumber(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsZero(std::string_view count)
{
    return IsWholeNumber(count) && count.find_first_not_of('0') == std::string_view::npos;
}

// "2x", as Delver Lens counts, is 2.
std::string_view CountWithoutX(std::string_view count)
{
    if (count.size() > 1 && (count.back() == 'x' || count.back() == 'X') && IsWholeNumber(count.substr(0, count.size() - 1)))
        count.remove_suffix(1);
    return count;
}

// ManaBox's binder type "list" and Collectr's ticked Watchlist.
bool IsWish(std::string_view mark)
{
    return std::any_of(std::begin(kWishMarks), std::end(kWishMarks),
                       [mark](std::string_view wish) { return SameHeading(mark, wish); });
}

bool IsGraded(std::string_view grade)
{
    grade = Trimmed(grade);
    return !grade.empty() && !SameHeading(grade, "ungraded") && !SameHeading(grade, "raw");
}

} // namespace

const std::vector<CardApp>& CardApps()
{
    static const std::vector<CardApp> apps = {
        {"Deckbox", "Deckbox inventory export", "magic", "$", PlayedMeans::LightPlayed,
         {"Count", "Tradelist Count", "Name", "Edition", "Edition Code", "Card Number", "My Price"},
         {{NameField, "Name"}, {SeriesField, "Edition"}, {ConditionField, "Condition"}, {PriceField, "My Price"},
          {QuantityField, "Count"}, {UrlField, "Image URL"}, {SetCodeField, "Edition Code"},
          {NumberField, "Card Number"}, {FinishField, "Foil"}, {LanguageField, "Language"}, {TagsField, "Tags"},
          {TradeField, "Tradelist Count"}, {MarketField, "TcgPlayer Market Price"}}},
        {"Moxfield", "Moxfield collection export", "magic", "$", PlayedMeans::LightPlayed,
         {"Count", "Tradelist Count", "Name", "Edition", "Collector Number", "Alter", "Proxy"},
         {{NameField, "Name"}, {SeriesField, "Edition"}, {ConditionField, "Condition"},
          {PriceField, "Purchase Price"}, {QuantityField, "Count"}, {SetCodeField, "Edition"},
          {NumberField, "Collector Number"}, {FinishField, "Foil"}, {LanguageField, "Language"}, {TagsField, "Tags"},
          {TradeField, "Tradelist Count"}}},
        {"ManaBox", "ManaBox collection export", "magic", "$", PlayedMeans::Played,
         {"Binder Name", "Binder Type", "Name", "Set code", "Collector number", "ManaBox ID"},
         {{NameField, "Name"}, {SeriesField, "Set name"}, {ConditionField, "Condition"},
          {PriceField, "Purchase price"}, {QuantityField, "Quantity"}, {SetCodeField, "Set code"},
          {NumberField, "Collector number"}, {FinishField, "Foil"}, {LanguageField, "Language"},
          {LocationField, "Binder Name"}, {PrintField, "Scryfall ID"}},
         "Purchase price currency", "Binder Type"},
        {"Dragon Shield", "Dragon Shield web export", "magic", "$", PlayedMeans::Played,
         {"Folder Name", "Quantity", "Trade Quantity", "Card Name", "Set Code", "Card Number", "Printing"},
         {{NameField, "Card Name"}, {SeriesField, "Set Name"}, {ConditionField, "Condition"},
          {PriceField, "Price Bought"}, {QuantityField, "Quantity"}, {GameField, "Game"}, {SetCodeField, "Set Code"},
          {NumberField, "Card Number"}, {FinishField, "Printing"}, {LanguageField, "Language"},
          {LocationField, "Folder Name"}, {TradeField, "Trade Quantity"}, {MarketField, "MARKET"}}},
        {"Dragon Shield", "Dragon Shield app export", "magic", "$", PlayedMeans::Played,
         {"Quantity", "Name", "CardNumber", "Expansion Code", "Expansion Name"},
         {{NameField, "Name"}, {SeriesField, "Expansion Name"}, {ConditionField, "Condition"},
          {PriceField, "PurchasePrice"}, {QuantityField, "Quantity"}, {GameField, "Game"},
          {SetCodeField, "Expansion Code"}, {NumberField, "CardNumber"}, {FinishField, "Foil"},
          {FinishField, "Printing"}, {LanguageField, "Language"}, {LocationField, "Folder Name"},
          {TradeField, "Trade Quantity"}}},
        {"TCGplayer", "TCGplayer collection export", "", "$", PlayedMeans::LightPlayed,
         {"Quantity", "Name", "Simple Name", "Set", "Card Number", "Set Code", "Condition", "Product ID"},
         {{NameField, "Name"}, {SeriesField, "Set"}, {ConditionField, "Condition"}, {QuantityField, "Quantity"},
          {GameField, "Product Line"}, {GameField, "Game"}, {GameField, "Category"}, {SetCodeField, "Set Code"},
          {NumberField, "Card Number"}, {FinishField, "Printing"}, {LanguageField, "Language"},
          {MarketField, "Price Each"}, {MarketField, "TCG Market Price"}}},
        {"Delver Lens", "Delver Lens export", "magic", "$", PlayedMeans::Played,
         {"Name", "Edition code", "Collector's number"},
         {{NameField, "Name"}, {SeriesField, "Edition"}, {ConditionField, "Condition"}, {QuantityField, "Quantity"},
          {QuantityField, "QuantityX"}, {SetCodeField, "Edition code"}, {NumberField, "Collector's number"},
          {FinishField, "Foil"}, {LanguageField, "Language"}, {LocationField, "List name"}, {TagsField, "Tags"},
          {PrintField, "Scryfall ID"}, {MarketField, "Price"}, {DescriptionField, "Note"}},
         "Currency"},
        {"Archidekt", "Archidekt collection export", "magic", "$", PlayedMeans::LightPlayed,
         {"Quantity", "Name", "Finish", "Condition", "Edition Name", "Edition Code", "Collector Number"},
         {{NameField, "Name"}, {SeriesField, "Edition Name"}, {ConditionField, "Condition"},
          {PriceField, "Purchase Price"}, {QuantityField, "Quantity"}, {SetCodeField, "Edition Code"},
          {NumberField, "Collector Number"}, {FinishField, "Finish"}, {LanguageField, "Language"},
          {TagsField, "Tags"}, {PrintField, "Scryfall ID"}}},
        {"TopDecked", "TopDecked collection export", "magic", "$", PlayedMeans::LightPlayed,
         {"QUANTITY", "NAME", "SETCODE", "COLLECTOR NUMBER", "FINISH", "CONDITION", "LANG"},
         {{NameField, "NAME"}, {SeriesField, "SETNAME"}, {ConditionField, "CONDITION"},
          {PriceField, "ACQUIRED PRICE"}, {QuantityField, "QUANTITY"}, {SetCodeField, "SETCODE"},
          {NumberField, "COLLECTOR NUMBER"}, {FinishField, "FINISH"}, {LanguageField, "LANG"},
          {PrintField, "SCRYFALL ID"}}},
        {"Collectr", "Collectr portfolio export", "", "$", PlayedMeans::LightPlayed,
         {"Portfolio Name", "Category", "Set", "Product Name", "Card Number", "Variance", "Grade", "Card Condition",
          "Quantity", "Watchlist"},
         {{NameField, "Product Name"}, {SeriesField, "Set"}, {ConditionField, "Card Condition"},
          {PriceField, "Average Cost Paid"}, {QuantityField, "Quantity"}, {DescriptionField, "Notes"},
          {GameField, "Category"}, {NumberField, "Card Number"}, {FinishField, "Variance"},
          {LocationField, "Portfolio Name"}},
         "", "Watchlist", "Grade", "Market Price (As of "},
    };
    return apps;
}

AppHeader RecogniseCardApp(const std::vector<std::string_view>& headings)
{
    AppHeader header;
    header.columns.fill(-1);
    for (const CardApp& app : CardApps()) {
        const bool signs = std::all_of(app.signature.begin(), app.signature.end(), [&headings](std::string_view name) {
            return ColumnNamed(headings, name) >= 0;
        });
        if (signs && (header.app == nullptr || app.signature.size() > header.app->signature.size()))
            header.app = &app;
    }
    if (header.app == nullptr)
        return header;
    const CardApp& app = *header.app;
    for (const auto& [field, name] : app.columns) {
        int& column = header.columns[std::size_t(field)];
        if (column < 0)
            column = ColumnNamed(headings, name);
    }
    header.currencyColumn = ColumnNamed(headings, app.currencyColumn);
    header.wishColumn = ColumnNamed(headings, app.wishColumn);
    header.gradeColumn = ColumnNamed(headings, app.gradeColumn);
    if (!app.datedMarketColumn.empty()) {
        for (std::size_t column = 0; column < headings.size(); ++column) {
            const std::string_view heading = Trimmed(headings[column]);
            if (StartsWithHeading(heading, app.datedMarketColumn) && heading.back() == ')') {
                header.columns[MarketField] = int(column);
                header.marketDate = std::string(Trimmed(
                    heading.substr(app.datedMarketColumn.size(), heading.size() - 1 - app.datedMarketColumn.size())));
                break;
            }
        }
    }
    return header;
}

void AdaptAppCard(const AppHeader& header, const AppCells& cells, TextEncoding encoding, Card& card)
{
    const CardApp& app = *header.app;
    std::string& game = card[GameField];
    game = game.empty() ? std::string(app.game) : GameWord(game);

    std::string grade;
    std::string finish;
    if (SplitConditionFinish(card[ConditionField], grade, finish)) {
        card[ConditionField] = grade;
        if (card[FinishField].empty() || FinishWord(card[FinishField]) == "nonfoil")
            card[FinishField] = finish;
    }
    card[ConditionField] = IsGraded(cells.grade) ? std::string(Trimmed(cells.grade))
                                                 : ConditionOnScale(card[ConditionField], app.played);
    card[FinishField] = FinishWord(card[FinishField]);
    card[LanguageField] = LanguageCode(card[LanguageField]);

    const std::string_view currency = Trimmed(cells.currency).empty() ? app.currency : cells.currency;
    card[PriceField] = PriceWithCurrency(card[PriceField], currency, encoding);
    card[MarketField] = PriceWithCurrency(card[MarketField], currency, encoding);
    if (!card[MarketField].empty() && card[MarketDateField].empty())
        card[MarketDateField] = header.marketDate;
    if (!card[PrintField].empty() && card[PrintField].find(':') == std::string::npos)
        card[PrintField] = "scryfall:" + card[PrintField];

    card[QuantityField] = std::string(CountWithoutX(card[QuantityField]));
    // No copies to trade or wanted is no detail at all, as a Card entered here keeps it.
    for (const int field : {TradeField, WantField}) {
        if (IsZero(card[std::size_t(field)]))
            card[std::size_t(field)].clear();
    }
    // A watched Card counted 0 or not at all is still wanted once.
    if (IsWish(cells.wish)) {
        card[WantField] = card[QuantityField].empty() || IsZero(card[QuantityField]) ? "1" : card[QuantityField];
        card[QuantityField] = "0";
    }
    card[SourceField] = std::string(app.name);
}
