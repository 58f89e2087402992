#include "collection/csv/apps/AppExport.h"

#include "collection/csv/apps/CardWords.h"

#include <algorithm>
#include <array>

namespace {

// The apps' words for each grade of kConditionScale.
constexpr std::array<std::string_view, kConditionScale.size()> kMoxfieldConditions = {
    "Mint", "Near Mint", "Good (Lightly Played)", "Good (Lightly Played)", "Played", "Heavily Played", "Damaged",
};
constexpr std::array<std::string_view, kConditionScale.size()> kDeckboxConditions = {
    "Mint", "Near Mint", "Good (Lightly Played)", "Good (Lightly Played)", "Played", "Heavily Played", "Poor",
};

std::string AppCondition(const std::array<std::string_view, kConditionScale.size()>& words, std::string_view condition)
{
    const std::string grade = ConditionOnScale(condition);
    const auto found = std::find(kConditionScale.begin(), kConditionScale.end(), grade);
    return found == kConditionScale.end() ? std::string(condition)
                                          : std::string(words[std::size_t(found - kConditionScale.begin())]);
}

// The foil column: "foil" or "etched", empty for any other finish.
std::string AppFoil(std::string_view finish)
{
    const std::string word = FinishWord(finish);
    return word == "foil" || word == "etched" ? word : std::string();
}

std::string AppLanguage(std::string_view language)
{
    return language.empty() ? std::string() : LanguageName(LanguageCode(language));
}

std::string Lowered(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
    return lower;
}

// A blank Quantity is one copy, as everywhere in Quillmark.
std::string Count(std::string_view quantity)
{
    return quantity.empty() ? std::string("1") : std::string(quantity);
}

std::string CountOrZero(std::string_view count)
{
    return count.empty() ? std::string("0") : std::string(count);
}

} // namespace

const std::vector<std::string_view>& AppExportHeadings(ExportApp app)
{
    static const std::vector<std::string_view> moxfield = {
        "Count", "Tradelist Count", "Name", "Edition", "Condition", "Language", "Foil",
        "Tags", "Last Modified", "Collector Number", "Alter", "Proxy", "Purchase Price",
    };
    static const std::vector<std::string_view> deckbox = {
        "Count", "Tradelist Count", "Name", "Edition", "Edition Code", "Card Number", "Condition", "Language",
        "Foil", "Signed", "Artist Proof", "Altered Art", "Misprint", "Promo", "Textless", "My Price",
    };
    return app == ExportApp::Moxfield ? moxfield : deckbox;
}

std::vector<std::string> AppExportRow(ExportApp app, const Card& card)
{
    if (app == ExportApp::Moxfield) {
        return {Count(card[QuantityField]),
                CountOrZero(card[TradeField]),
                card[NameField],
                Lowered(card[SetCodeField]),
                AppCondition(kMoxfieldConditions, card[ConditionField]),
                AppLanguage(card[LanguageField]),
                AppFoil(card[FinishField]),
                card[TagsField],
                {},
                card[NumberField],
                "False",
                "False",
                PriceNumber(card[PriceField])};
    }
    return {Count(card[QuantityField]),
            CountOrZero(card[TradeField]),
            card[NameField],
            card[SeriesField],
            card[SetCodeField],
            card[NumberField],
            AppCondition(kDeckboxConditions, card[ConditionField]),
            AppLanguage(card[LanguageField]),
            AppFoil(card[FinishField]),
            {},
            {},
            {},
            {},
            {},
            {},
            card[PriceField]};
}
