#pragma once

#include "collection/Card.h"

class CardTableModel;
class ChoiceListModel;
class MessageInterface;

// The rules of the entry commands over the card table and the Series and
// Condition choice lists. Boxes go through the message interface.
class CardEntry {
public:
    CardEntry(CardTableModel& table, ChoiceListModel& series, ChoiceListModel& conditions,
              MessageInterface& messages);

    // Whether a row has the Card's Name and Series, byte for byte.
    bool IsDuplicate(const Card& card) const;
    void AddToChoiceLists(const Card& card);

    // Inserts the Card as the top row. Refuses an empty Name with a box and
    // asks before adding a duplicate; false when nothing was added.
    bool Add(const Card& card);
    // Replaces the row with the Card; a Card without a Name changes nothing,
    // and a row that does not exist only grows the choice lists.
    bool Update(int row, const Card& card);
    // Removes the row, when it exists.
    bool Delete(int row);

private:
    CardTableModel& table_;
    ChoiceListModel& series_;
    ChoiceListModel& conditions_;
    MessageInterface& messages_;
};
