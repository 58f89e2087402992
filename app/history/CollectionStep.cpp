#include "app/history/CollectionStep.h"

CollectionStep::CollectionStep(const QString& text)
    : QUndoCommand(text)
{
}

void CollectionStep::undo()
{
    Undo();
}

void CollectionStep::redo()
{
    if (!recorded_) {
        recorded_ = true;
        return;
    }
    Redo();
}

void CollectionStep::SetMarks(int before, int after)
{
    markBefore_ = before;
    markAfter_ = after;
}

std::size_t CollectionStep::BookkeepingBytes() const
{
    // The command's private part and the stack's pointer to it.
    constexpr std::size_t kStackShare = 96;
    return kStackShare + std::size_t(text().size()) * sizeof(QChar);
}
