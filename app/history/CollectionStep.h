#pragma once

#include "collection/Card.h"

#include <QUndoCommand>

#include <cstddef>
#include <optional>

// One change to the collection as the history keeps it. A step is recorded
// once its change has been made, so the redo that the undo stack runs when
// the step is pushed does nothing. Undo and redo change the table only; the
// history puts the view right after them.
class CollectionStep : public QUndoCommand {
public:
    explicit CollectionStep(const QString& text);

    void undo() final;
    void redo() final;

    // The selection mark's row before the change and after it: the same
    // Cards in the tables of those moments.
    void SetMarks(int before, int after);
    int MarkBefore() const { return markBefore_; }
    int MarkAfter() const { return markAfter_; }

    // The Card that the entry fields show once the step has been undone or
    // redone; none when the step moved rows without touching one.
    virtual std::optional<Card> TouchedCard() const = 0;
    // Whether a redo fits the columns to the texts, as the command did.
    virtual bool FitsWhenRedone() const = 0;
    // The memory the step takes besides the table's.
    virtual std::size_t Bytes() const = 0;
    // Lets go of what an undo would need; the step is never undone after.
    virtual void Forget() = 0;

protected:
    // What the undo stack keeps of a step, and its text.
    std::size_t BookkeepingBytes() const;
    virtual void Undo() = 0;
    virtual void Redo() = 0;

private:
    bool recorded_ = false;
    int markBefore_ = -1;
    int markAfter_ = -1;
};
