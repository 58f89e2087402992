#pragma once

#include "collection/Card.h"
#include "collection/CardTableModel.h"
#include "collection/merge/CollectionChanges.h"

#include <cstddef>
#include <map>
#include <string>
#include <vector>

// What importing a card app's export again would do to the collection. The
// app owns the Cards it exported (those whose SOURCE names it): an imported
// Card whose identity (CardIdentity) one of them has is that Card, changed
// or not; the app's Cards that the export no longer holds are removed; the
// rest of the collection is left alone. Cards of one identity are paired
// exact copies first, then in table and file order, so that importing the
// same export twice changes nothing.
struct ReimportDiff {
    struct Added {
        Card card;
        bool accepted = true;
    };
    struct Changed {
        int row;
        Card before;
        Card after;
        bool accepted = true;
    };
    struct Removed {
        int row;
        Card card;
        bool accepted = true;
    };

    std::vector<Added> added;
    std::vector<Changed> changed;
    // Ascending rows.
    std::vector<Removed> removed;
    std::size_t unchanged = 0;
    // Whether the collection already held a Card of one of the export's apps.
    bool known = false;

    bool Empty() const { return added.empty() && changed.empty() && removed.empty(); }
};

// Whether an import holds Cards exported by an app: one has a SOURCE.
bool IsAppImport(const CardTableModel::RowBlock& imported);

// The diff of importing the Cards into the collection. Imported Cards
// without a SOURCE are always added, as a plain import adds them, and
// quantities, row to Quantity, that they added to rows with no SOURCE are
// changes of those rows.
ReimportDiff DiffReimport(const CardTableModel& collection, const CardTableModel::RowBlock& imported,
                          const std::map<int, std::string>& quantities = {});

// The accepted parts of the diff. The new Cards go at the top in file order.
CollectionChanges AcceptedChanges(ReimportDiff diff);
