#pragma once

#include "collection/Card.h"

#include <QFontMetricsF>
#include <QHash>

#include <array>
#include <map>
#include <string_view>

// Keeps, per column of the card table, how many cells need each text width,
// so the widest cell is known without measuring every cell again after an
// edit. A text's width is the sum of its characters' advances, rounded up:
// never less than the drawn text needs.
class ColumnFit {
public:
    explicit ColumnFit(const QFont& font);

    int TextWidth(std::string_view bytes);

    void Add(const Card& card);
    void Remove(const Card& card);
    void Clear();
    // The widest cell text of the column, 0 when the table is empty.
    int WidestText(int column) const;

private:
    qreal Advance(char32_t character);

    QFontMetricsF metrics_;
    std::array<qreal, 128> ascii_{};
    QHash<char32_t, qreal> others_;
    std::array<std::map<int, int>, kCardFieldCount> widths_;
};
