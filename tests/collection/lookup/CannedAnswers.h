#pragma once

// Answers shaped as the card databases document them, trimmed to the fields
// the lookup reads and a few it does not.
namespace Canned {

inline constexpr const char* ScryfallCard = R"({
  "object": "card", "id": "0a1b2c3d-0000-4000-8000-000000000096", "lang": "en",
  "name": "Kitesail Freebooter", "released_at": "2017-09-29", "set": "xln", "set_name": "Ixalan",
  "collector_number": "96", "finishes": ["nonfoil", "foil"], "rarity": "uncommon",
  "image_uris": {"small": "https://cards.example/small/96.jpg", "normal": "https://cards.example/normal/96.jpg"}
})";

// A card of two faces: its pictures are on the faces.
inline constexpr const char* ScryfallList = R"({
  "object": "list", "total_cards": 2, "has_more": false,
  "data": [
    {"object": "card", "id": "11111111-0000-4000-8000-000000000001", "lang": "en", "name": "Delver of Secrets // Insectile Aberration",
     "released_at": "2011-09-30", "set": "isd", "set_name": "Innistrad", "collector_number": "51", "finishes": ["nonfoil", "foil"],
     "card_faces": [{"name": "Delver of Secrets", "image_uris": {"normal": "https://cards.example/front/51.jpg"}},
                    {"name": "Insectile Aberration", "image_uris": {"normal": "https://cards.example/back/51.jpg"}}]},
    {"object": "card", "id": "22222222-0000-4000-8000-000000000002", "lang": "ja", "name": "Delver of Secrets",
     "released_at": "2021-09-24", "set": "mid", "set_name": "Innistrad: Midnight Hunt", "collector_number": "47",
     "finishes": ["foil"], "image_uris": {"normal": "https://cards.example/mid/47.jpg"}}
  ]
})";

inline constexpr const char* ScryfallNotFound = R"({
  "object": "error", "code": "not_found", "status": 404,
  "details": "No card found with the given ID or set code and collector number."
})";

inline constexpr const char* TcgdexCard = R"({
  "category": "Pokemon", "id": "swsh3-136", "illustrator": "tetsuya koizumi",
  "image": "https://assets.example/en/swsh/swsh3/136", "localId": "136", "name": "Furret", "rarity": "Uncommon",
  "set": {"cardCount": {"official": 189, "total": 201}, "id": "swsh3", "name": "Darkness Ablaze"},
  "variants": {"firstEdition": false, "holo": false, "normal": true, "reverse": true, "wPromo": false},
  "hp": 110, "types": ["Colorless"]
})";

inline constexpr const char* TcgdexCards = R"([
  {"id": "swsh3-136", "localId": "136", "name": "Furret", "image": "https://assets.example/en/swsh/swsh3/136"},
  {"id": "swsh3-137", "localId": "137", "name": "Furret V"},
  {"id": "neo2-29", "localId": 29, "name": "Furret", "image": "https://assets.example/en/neo/neo2/29"}
])";

inline constexpr const char* TcgdexSwsh3 = R"({
  "id": "swsh3", "name": "Darkness Ablaze", "releaseDate": "2020-08-14",
  "cardCount": {"official": 189, "total": 201}, "cards": []
})";

inline constexpr const char* TcgdexNotFound = R"({
  "type": "https://tcgdex.dev/errors/not-found", "title": "The resource you are trying to reach does not exists",
  "status": 404, "endpoint": "/v2/en/cards/swsh3-999", "method": "GET"
})";

inline constexpr const char* YgoCards = R"({"data": [
  {"id": 6983839, "name": "Tornado Dragon", "type": "XYZ Monster", "frameType": "xyz",
   "card_sets": [
     {"set_name": "Battles of Legend: Light's Revenge", "set_code": "BLLR-EN001", "set_rarity": "Ultra Rare", "set_price": "4.08"},
     {"set_name": "Structure Deck: Cyber Strike", "set_code": "SDCS-EN043", "set_rarity": "Common", "set_price": "1.2"}],
   "card_images": [{"id": 6983839, "image_url": "https://images.example/cards/6983839.jpg",
                    "image_url_small": "https://images.example/cards_small/6983839.jpg"}]}
]})";

inline constexpr const char* YgoSetInfo = R"({"id": "6983839", "name": "Tornado Dragon",
  "set_name": "Structure Deck: Cyber Strike", "set_code": "SDCS-EN043", "set_rarity": "Common", "set_price": "1.2"})";

inline constexpr const char* YgoSets = R"([
  {"set_name": "Battles of Legend: Light's Revenge", "set_code": "BLLR", "num_of_cards": 72, "tcg_date": "2020-11-05"},
  {"set_name": "Structure Deck: Cyber Strike", "set_code": "SDCS", "num_of_cards": 44, "tcg_date": "2023-07-20"},
  {"set_name": "Promotion without a date", "set_code": "PR"}
])";

inline constexpr const char* YgoNotFound =
    R"({"error": "No card matching your query was found in the database. Please see https://db.example/api-guide/ for syntax usage."})";

} // namespace Canned
