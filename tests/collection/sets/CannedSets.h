#pragma once

// Answers shaped as the card databases document them, trimmed to the fields
// the set completion reads and a few it does not.
namespace CannedSets {

inline constexpr const char* ScryfallXln =
    R"({"object":"set","code":"xln","name":"Ixalan","card_count":289,"printed_size":279})";
inline constexpr const char* ScryfallNoSet = R"({"object":"error","status":404,"details":"No set"})";
inline constexpr const char* TcgdexSwsh3 =
    R"({"id":"swsh3","name":"Darkness Ablaze","cardCount":{"total":201,"official":189},
        "cards":[{"id":"swsh3-1","localId":"1","name":"Butterfree V"}]})";
inline constexpr const char* YgoSets =
    R"([{"set_name":"Legend of Blue Eyes White Dragon","set_code":"LOB","num_of_cards":126},
        {"set_name":"Other","set_code":"SDDC","num_of_cards":60}])";
// BASE stands for the server's address.
inline constexpr const char* ScryfallSearchFirst =
    R"({"object":"list","has_more":true,
        "next_page":"BASE/scryfall/cards/search?q=e%3Axln&unique=prints&order=set&page=2",
        "data":[{"name":"One","collector_number":"1","prices":{"usd":"0.25","eur":"0.20"}},
                {"name":"Two","collector_number":"2","prices":{"usd":null,"eur":"0.10"}}]})";
inline constexpr const char* ScryfallSearchLast =
    R"({"object":"list","has_more":false,"data":[{"name":"Three","collector_number":"3a","prices":{}}]})";
inline constexpr const char* YgoCardsOfSet =
    R"({"data":[{"name":"Dragon","card_sets":[
        {"set_name":"Legend of Blue Eyes","set_code":"LOB-EN001","set_price":"12.50"},
        {"set_name":"Legend of Blue Eyes","set_code":"LOB-EN001","set_rarity":"Ultra","set_price":"40"},
        {"set_name":"Other","set_code":"SDK-001","set_price":"1"}]}]})";
// A card whose name a spreadsheet would take for a formula, and one held.
inline constexpr const char* ScryfallSearchFormula =
    R"({"object":"list","has_more":false,"data":[
        {"name":"=Bolt","collector_number":"1","prices":{"usd":"0.50"}},
        {"name":"Held","collector_number":"2","prices":{}}]})";

} // namespace CannedSets
