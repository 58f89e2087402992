#pragma once

#include "collection/CardTableModel.h"

#include <cstddef>
#include <unordered_map>
#include <vector>

// Rows of a table found by all their texts: each row given is paired at
// most once with a Card alike to the byte. A hash leads to a chain of rows,
// so that a collection of many alike Cards costs no more than one of
// different ones.
class ExactCopies {
public:
    explicit ExactCopies(const CardTableModel& table);

    void Add(int row);
    // The first row not yet taken that holds exactly the block's Card, taken
    // now; -1 when none does.
    int Take(const CardTableModel::RowBlock& block, int index);
    int Take(const CardTableModel& other, int row);

private:
    template <typename Equal>
    int TakeFirst(std::size_t hash, const Equal& equal);

    const CardTableModel& table_;
    std::unordered_map<std::size_t, int> first_;
    std::vector<int> next_;
};
