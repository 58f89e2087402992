#pragma once

#include "base/TextEncoding.h"

#include <QString>

class CardTableModel;

// Puts the texts of another collection, read from path, into the encoding
// given, the collection's own. False, with the reason, when one holds a
// character that the encoding cannot store; the table is then half done.
bool TakeEncoding(CardTableModel& table, TextEncoding encoding, const QString& path, QString& reason);

// Reads the other copy at path as the collection's own file is read (by a
// saver that never saves), in the encoding given. False, with the reason,
// when it is missing, unreadable or holds what the encoding cannot store.
bool ReadOtherCollection(const QString& path, TextEncoding encoding, CardTableModel& theirs, QString& reason);
