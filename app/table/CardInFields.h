#pragma once

#include "collection/Card.h"

#include <QObject>
#include <QPersistentModelIndex>

class CardTableModel;
class MessageInterface;

// Which row of the card table the Card in the entry fields was read from,
// followed as the rows move: a sort, an Add above it, a Delete elsewhere. An
// Update rewrites the marked row with the fields; when they were not read
// from that row (they hold a deleted Card, a Card of another row, or were
// cleared) the collector is asked first, so that no Card is overwritten by
// another's fields unless chosen.
class CardInFields : public QObject {
public:
    explicit CardInFields(CardTableModel& table, QObject* parent = nullptr);

    // The fields now hold the Card of the row; -1 for none.
    void Read(int row);
    // The fields hold no row's Card: they were cleared.
    void Forget();
    // After an undo or a redo, which put the mark and the fields back each
    // on its own: the fields hold the marked row's Card if they are equal.
    void Match(int markedRow, const Card& fields);

    // The row read, as it is now; -1 when none was or it is gone.
    int Row() const;
    // The row read has since been deleted (or the table replaced).
    bool Gone() const { return read_ && !row_.isValid(); }

    // Whether Update may rewrite the marked row with the fields: at once when
    // they were read from it (or no row is marked, and Update writes nothing),
    // otherwise only when the collector says yes.
    bool MayUpdate(int markedRow, const Card& fields, MessageInterface& messages) const;

private:
    CardTableModel& table_;
    QPersistentModelIndex row_;
    bool read_ = false;
};
