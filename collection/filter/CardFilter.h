#pragma once

#include <QString>

#include <string>
#include <string_view>
#include <vector>

// What the filter bar asks for: each word must be found in one of a Card's
// fields or printing details, or in its own field when it was typed as
// `field:word`.
struct CardFilter {
    struct Word {
        // Folded as AppendFoldedForSearch folds, never empty.
        std::string text;
        // A CardField, or kAnyField.
        int field;

        friend bool operator==(const Word&, const Word&) = default;
    };
    static constexpr int kAnyField = -1;

    // In the order typed. No words: every Card matches.
    std::vector<Word> words;

    friend bool operator==(const CardFilter&, const CardFilter&) = default;
};

// Words are separated by white space; double quotes make a phrase one word
// (a quote left open runs to the end). A word starting with a column heading
// or a file key, of the eight fields or of the details, and a colon
// (`series:skyforge`, `qty:"2"`, `set:sv1`, `location:"binder 2"`, case
// ignored) is looked for in that field only; any other colon is part of the word.
CardFilter ParseCardFilter(const QString& text);

// True when every Card that matches narrower also matches wider, so that
// narrower may search only the Cards that wider kept: each word of wider is
// part of a word of narrower, on the same field or on any.
bool Narrows(const CardFilter& narrower, const CardFilter& wider);

// Appends the text both sides of a match are compared as: UTF-8 with letter
// case and accents (combining marks after canonical decomposition) removed.
// Bytes that are not UTF-8 become U+FFFD; a line feed becomes a space.
void AppendFoldedForSearch(std::string& out, std::string_view bytes);

// "12 of 3,400 Cards"; "1 of 1 Card".
QString FilterCountText(long long shown, long long total);
