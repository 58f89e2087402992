#pragma once

#include "collection/filter/CardFilter.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CardTableModel;

// What the filter bar searches. A cell of ASCII bytes folds to its own bytes
// in lower case, so it is searched where the table keeps it, ignoring ASCII
// case; only the cells with other bytes are kept folded here. That is a
// small part of most collections, so the index costs little memory beside
// the table and is quick to build.
//
// It is told each change of the table after the table has made it, with the
// table's own row numbers, and must be told every one before it searches.
class CardFilterIndex {
public:
    explicit CardFilterIndex(const CardTableModel& table);

    // Reads every row of the table again.
    void Reset();
    // The table's rows first to last are new.
    void InsertRows(int first, int last);
    // The table's row has new texts.
    void SetRow(int row);
    // The rows first to last were taken out of the table.
    void RemoveRows(int first, int last);
    // The new row i is the old row order[i].
    void Reorder(const std::vector<int>& order);
    void ReverseRows();

    int RowCount() const { return int(foldedFields_.size()); }

    // The rows that match, ascending. When narrowFrom is given, only those rows
    // are searched: pass the rows an earlier Matching returned for a filter
    // that the new one Narrows, with no change to the rows since.
    std::vector<int> Matching(const CardFilter& filter, const std::vector<int>* narrowFrom = nullptr) const;

private:
    // The folded cells of the table's rows first to last, and which fields
    // they are, one set of bits a row.
    void FoldRows(int first, int last, std::string& folded, std::vector<std::size_t>& ends,
                  std::vector<std::uint32_t>& fields) const;
    std::string_view FoldedText(int row) const;
    bool RowHolds(int row, const CardFilter::Word& word) const;
    std::vector<int> Search(const CardFilter::Word& word, const std::vector<int>* rows) const;

    const CardTableModel& table_;
    // For each row, the fields kept folded as bits (Name is bit 0, the
    // details follow the eight).
    std::vector<std::uint32_t> foldedFields_;
    // Those fields' folded texts, row after row, each followed by a line feed.
    std::string text_;
    // Where each row's folded texts start in text_, then where the last end.
    std::vector<std::size_t> start_{0};
};
