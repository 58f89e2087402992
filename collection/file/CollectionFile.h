#pragma once

#include "collection/Card.h"

#include <functional>
#include <string_view>
#include <vector>

class QIODevice;
class QString;
class CardTableModel;
class CardTableSnapshot;

inline constexpr const char* kCollectionFileName = "qmk.dat";

// Whether path names the working folder's collection file, by its own name
// or by any other name or link.
bool IsCollectionFile(const QString& path);

// The Cards of a collection file in file order (the bottom table row first).
// A NAME line starts the next Card; other keys may come in any order, the
// last one read wins, and a Card that lacks one of the eight keys keeps the
// value of the Card before it. A detail is the Card's own: empty unless a
// line after its NAME line sets it. Cards with an empty Name are not kept.
void ParseCollection(std::string_view raw, const std::function<void(const Card&)>& take);
std::vector<Card> ParseCollection(std::string_view raw);

// Writes the table bottom row first, as CR LF text: the header and one record
// per Card, its eight keys and then a line for each detail it has; nothing at
// all for an empty table. False on a write error. The
// records are put into text on that many threads, by default one per core
// for a large table.
bool WriteCollection(QIODevice& device, const CardTableModel& table, int threads = 0);
bool WriteCollection(QIODevice& device, const CardTableSnapshot& table, int threads = 0);
