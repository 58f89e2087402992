#pragma once

#include "base/TextEncoding.h"
#include "collection/Card.h"

#include <QFont>
#include <QHash>
#include <QString>

#include <array>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class CardTableModel;

// Keeps, per column of the card table, how many cells need each text width,
// so the widest cell is known without measuring every cell again after an
// edit. A text's width is what the view's text layout gives it, built from
// measured character pairs so that the kerning between neighbours counts;
// texts that need more shaping than pairs are laid out whole.
class ColumnFit {
public:
    explicit ColumnFit(const QFont& font);

    // The pixels a cell needs to show the text unelided, margins not included.
    int TextWidth(std::string_view bytes, TextEncoding encoding = TextEncoding::Utf8);

    // The columns whose widths are counted, a bit each, by default the
    // eight fields: a hidden column costs a large table's load nothing.
    // Forgets what was counted.
    void SetMeasuredColumns(unsigned columns);
    bool Measures(int column) const { return (measured_ & (1u << column)) != 0; }

    // Counts the widths of a row's texts in, or takes them out again.
    void Add(const CardTableModel& table, int row);
    void Remove(const CardTableModel& table, int row);
    // The same as Add for each of the rows first to last, shared out over
    // that many threads (by default one per core) when there are many rows.
    void AddRows(const CardTableModel& table, int first, int last, int threads = 0);
    void Clear();
    // The widest cell text of the column, 0 when the table is empty or the
    // column is not measured.
    int WidestText(int column) const;

private:
    // Widths below are in 64ths of a pixel, the layout's own unit.
    // Sums of them are 64-bit: a text of megabytes is billions of units wide.
    struct Layout {
        qint64 units = 0;
        qsizetype glyphs = 0;
    };
    template <bool kMeasures>
    class Advances;
    struct Tally;
    // A row and, a bit each, some of its columns.
    using RowColumns = std::pair<int, unsigned>;

    Layout LayOut(const QString& text) const;
    int PairAdvance(char32_t first, char32_t second);
    int LastAdvance(char32_t last);
    qint64 LigatureWordAdvance(const QString& key, char32_t next);
    void Count(const CardTableModel& table, std::span<const RowColumns> cells, Tally& tally) const;

    QFont font_;
    std::vector<int> asciiPairs_;
    std::array<int, 128> asciiLast_;
    QHash<quint64, int> pairs_;
    QHash<char32_t, int> lasts_;
    QHash<QString, qint64> ligatureWords_;
    // The characters of the text being measured, kept for the next one.
    std::u32string characters_;
    unsigned measured_ = (1u << kCardFieldCount) - 1;
    std::array<std::map<int, int>, kAllCardFieldCount> widths_;
};
