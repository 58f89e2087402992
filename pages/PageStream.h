#pragma once

#include "pages/PageTotals.h"
#include "prefs/Preferences.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>

// Replaced last of all, and only in a page asked to: what it stands for is
// searched for no other placeholder.
inline constexpr std::string_view kCardSearchPlaceholder = "#CARDSEARCH#";

// Passes a page on in pieces while replacing the owner's #PREFS...#
// placeholders in it, then the totals' (#TOTAL...#, #VALUEDATE#), then,
// when it is given a card search, #CARDSEARCH#, so that a page many times
// the collection's size is never held whole. The pieces join to exactly the
// text that replacing each placeholder in turn over the whole page gives.
class PageStream {
public:
    using Sink = std::function<bool(std::string_view)>;
    // Writes what #CARDSEARCH# stands for to the sink it is given, in
    // pieces: a million Cards' data is never held whole. False once the
    // sink has failed.
    using CardSearchWriter = std::function<bool(const Sink&)>;

    // The values are read where they stand: prefs and totals must outlive
    // the stream. Without a card search, #CARDSEARCH# stays as it is.
    PageStream(const Preferences& prefs, const PageTotals& totals, Sink sink, CardSearchWriter cardSearch = {});
    // Its last stage calls back into it.
    PageStream(const PageStream&) = delete;
    PageStream& operator=(const PageStream&) = delete;

    // The page's next text. False once the sink has failed.
    bool Write(std::string_view text);
    // Passes on what is still held back. False when the sink fails.
    bool Finish();

private:
    // One placeholder's replacement over text that comes in pieces. The
    // last bytes of a piece that may begin an occurrence are held back
    // until the next piece decides them.
    class Replacement {
    public:
        Replacement(std::string_view placeholder, std::string_view value);
        // One whose value is not a text: write is called at each occurrence
        // with the text passed on so far in out.
        Replacement(std::string_view placeholder, std::function<void(std::string& out)> write);
        // The text passed on, in two parts: what was written into out, then
        // the part of the text that holds no occurrence, where it is. An
        // unmarked text holds no '#' and so no occurrence.
        std::array<std::string_view, 2> Feed(std::string_view text, std::string& out, bool unmarked);
        void Finish(std::string& out);

    private:
        std::size_t Scan(std::string_view text, std::size_t limit, std::string& out) const;
        std::string_view placeholder_;
        std::string_view value_;
        std::function<void(std::string& out)> write_;
        std::string held_;
    };

    bool Pass(std::size_t stage, std::string_view text, bool finishing, bool unmarked);
    void EmitCardSearch(std::string& out);

    std::array<Replacement, 13> stages_;
    std::array<std::string, 13> outs_;
    // The stages in use: the last only for a page with a card search.
    std::size_t stageCount_;
    Sink sink_;
    CardSearchWriter cardSearch_;
    bool failed_ = false;
};
