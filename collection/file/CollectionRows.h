#pragma once

#include "collection/CardTableModel.h"

#include <string>
#include <string_view>
#include <vector>

// What a load takes from a collection file's bytes: the rows, in file order
// (the bottom row first), and the Series and Condition texts of its Cards,
// each text once, in the order they first appear.
struct CollectionRows {
    CardTableModel::RowBuilder rows;
    std::vector<std::string> series;
    std::vector<std::string> conditions;
    // Whether a save of these rows writes the very bytes they were read
    // from, so that a close with nothing changed need not write them again.
    bool asWritten = false;
};

// Reads the bytes as ParseCollection does, in pieces that begin at a NAME
// line, each piece on its own thread: one piece per core for a large file,
// or as many as asked for. The result does not depend on the pieces.
CollectionRows ReadCollectionRows(std::string_view raw, int pieces = 0);
