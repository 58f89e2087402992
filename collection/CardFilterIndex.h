#pragma once

#include "collection/Card.h"
#include "collection/CardFilter.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class CardTableModel;

// The folded text of every row of the card table, so that a keystroke in the
// filter bar searches memory without decoding a byte. It is told each change
// the table gets, with the table's own row numbers, and clamps or ignores
// rows as the table does.
class CardFilterIndex {
public:
    void Reset(const CardTableModel& table);
    void InsertRow(int position, const Card& card);
    // The table's rows first to last, just inserted there.
    void InsertRows(const CardTableModel& table, int first, int last);
    void SetRow(int row, const Card& card);
    void RemoveRow(int row);
    void RemoveRows(int first, int last);
    // The new row i is the old row order[i].
    void Reorder(const std::vector<int>& order);
    void ReverseRows();

    int RowCount() const { return int(start_.size()) - 1; }

    // The rows that match, ascending. When narrowFrom is given, only those rows
    // are searched: pass the rows an earlier Matching returned for a filter
    // that the new one Narrows, with no change to the rows since.
    std::vector<int> Matching(const CardFilter& filter, const std::vector<int>* narrowFrom = nullptr) const;

private:
    // Puts folded rows in at position; ends[i] is where row i of them ends in folded.
    void InsertFolded(int position, const std::string& folded, const std::vector<std::size_t>& ends);
    std::string_view RowText(int row) const;
    std::vector<int> SearchAll(const CardFilter::Word& word) const;
    std::vector<int> SearchRows(const CardFilter::Word& word, const std::vector<int>& rows) const;

    // Rows in table order, each field folded and followed by a line feed.
    std::string text_;
    // Where each row starts in text_, then where the last one ends.
    std::vector<std::size_t> start_{0};
};
