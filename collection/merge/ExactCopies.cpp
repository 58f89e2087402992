#include "collection/merge/ExactCopies.h"

#include "collection/merge/CardIdentity.h"

ExactCopies::ExactCopies(const CardTableModel& table)
    : table_(table)
    , next_(std::size_t(table.rowCount()), -1)
{
    first_.reserve(std::size_t(table.rowCount()));
}

void ExactCopies::Add(int row)
{
    const auto [at, added] = first_.try_emplace(CardHash(table_, row), row);
    if (!added) {
        next_[std::size_t(row)] = at->second;
        at->second = row;
    }
}

template <typename Equal>
int ExactCopies::TakeFirst(std::size_t hash, const Equal& equal)
{
    const auto found = first_.find(hash);
    if (found == first_.end())
        return -1;
    for (int* link = &found->second; *link >= 0; link = &next_[std::size_t(*link)]) {
        const int row = *link;
        if (equal(row)) {
            *link = next_[std::size_t(row)];
            return row;
        }
    }
    return -1;
}

int ExactCopies::Take(const CardTableModel::RowBlock& block, int index)
{
    return TakeFirst(CardHash(block, index), [&](int row) {
        for (int field = 0; field < kAllCardFieldCount; ++field) {
            if (table_.Cell(row, field) != block.Cell(index, field))
                return false;
        }
        return true;
    });
}

int ExactCopies::Take(const CardTableModel& other, int row)
{
    return TakeFirst(CardHash(other, row), [&](int mine) {
        for (int field = 0; field < kAllCardFieldCount; ++field) {
            if (table_.Cell(mine, field) != other.Cell(row, field))
                return false;
        }
        return true;
    });
}
