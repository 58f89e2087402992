#include "pages/PageStream.h"

#include <algorithm>
#include <utility>

PageStream::Replacement::Replacement(std::string_view placeholder, std::string_view value)
    : placeholder_(placeholder)
    , value_(value)
{
}

PageStream::Replacement::Replacement(std::string_view placeholder, std::function<void(std::string& out)> write)
    : placeholder_(placeholder)
    , write_(std::move(write))
{
}

// Replaces the occurrences that begin before limit and passes on the text
// before limit; returns where the unread text begins. The text must reach
// far enough beyond limit to decide an occurrence beginning just before it.
std::size_t PageStream::Replacement::Scan(std::string_view text, std::size_t limit, std::string& out) const
{
    std::size_t from = 0;
    while (true) {
        const std::size_t at = text.find(placeholder_, from);
        if (at == std::string_view::npos || at >= limit) {
            if (from < limit) {
                out.append(text.substr(from, limit - from));
                from = limit;
            }
            return from;
        }
        out.append(text.substr(from, at - from));
        if (write_)
            write_(out);
        else
            out.append(value_);
        from = at + placeholder_.size();
    }
}

std::array<std::string_view, 2> PageStream::Replacement::Feed(std::string_view text, std::string& out, bool unmarked)
{
    const std::size_t lookahead = placeholder_.size() - 1;
    if (text.size() < lookahead) {
        held_.append(text);
        held_.erase(0, Scan(held_, held_.size() > lookahead ? held_.size() - lookahead : 0, out));
        return {out, {}};
    }
    if (!held_.empty()) {
        // An occurrence may begin in the held bytes and end in this text.
        std::string joined = held_;
        joined.append(text.substr(0, lookahead));
        text.remove_prefix(Scan(joined, held_.size(), out) - held_.size());
        held_.clear();
    }
    // Most pieces hold no occurrence, rows above all: they pass on where
    // they are, not copied.
    if (unmarked || text.find(placeholder_) == std::string_view::npos) {
        const std::size_t kept = std::min(lookahead, text.size());
        held_.assign(text.substr(text.size() - kept));
        return {out, text.substr(0, text.size() - kept)};
    }
    held_.assign(text.substr(Scan(text, text.size() > lookahead ? text.size() - lookahead : 0, out)));
    return {out, {}};
}

void PageStream::Replacement::Finish(std::string& out)
{
    Scan(held_, held_.size(), out);
    held_.clear();
}

PageStream::PageStream(const Preferences& prefs, const PageTotals& totals, Sink sink, CardSearchWriter cardSearch)
    : stages_{{
        {"#PREFSNAME#", prefs.Name},
        {"#PREFSADDRESS1#", prefs.Address1},
        {"#PREFSADDRESS2#", prefs.Address2},
        {"#PREFSCITY#", prefs.City},
        {"#PREFSSTATE#", prefs.State},
        {"#PREFSCOUNTRY#", prefs.Country},
        {"#PREFSEMAIL#", prefs.Email},
        {"#TOTALCARDS#", totals.cards},
        {"#TOTALCOPIES#", totals.copies},
        {"#TOTALPAID#", totals.paid},
        {"#TOTALVALUE#", totals.value},
        {"#VALUEDATE#", totals.valueDate},
        {kCardSearchPlaceholder, [this](std::string& out) { EmitCardSearch(out); }},
    }}
    , stageCount_(cardSearch ? stages_.size() : stages_.size() - 1)
    , sink_(std::move(sink))
    , cardSearch_(std::move(cardSearch))
{
}

// The card search is the last stage, so the sink is what follows it: the
// text before the placeholder goes first, then the search, written straight
// through.
void PageStream::EmitCardSearch(std::string& out)
{
    if (!failed_ && (!sink_(out) || !cardSearch_(sink_)))
        failed_ = true;
    out.clear();
}

bool PageStream::Pass(std::size_t stage, std::string_view text, bool finishing, bool unmarked)
{
    if (stage == stageCount_)
        return sink_(text);
    std::string& out = outs_[stage];
    out.clear();
    const auto [replaced, untouched] = stages_[stage].Feed(text, out, unmarked);
    if (finishing) {
        out.append(untouched);
        stages_[stage].Finish(out);
        return Pass(stage + 1, out, true, false);
    }
    return (replaced.empty() || Pass(stage + 1, replaced, false, false))
           && (untouched.empty() || Pass(stage + 1, untouched, false, unmarked));
}

// Every placeholder begins with a '#': a piece without one is looked through
// once, not once for each placeholder.
bool PageStream::Write(std::string_view text)
{
    if (!failed_ && !Pass(0, text, false, text.find('#') == std::string_view::npos))
        failed_ = true;
    return !failed_;
}

bool PageStream::Finish()
{
    if (!failed_ && !Pass(0, {}, true, false))
        failed_ = true;
    return !failed_;
}
