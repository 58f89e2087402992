#include "app/history/CollectionHistory.h"

#include "app/table/CardTableView.h"
#include "app/history/ChangesStep.h"
#include "app/history/ImportStep.h"
#include "app/history/ReorderStep.h"
#include "app/history/RowBlockStep.h"
#include "app/history/SetRowsStep.h"
#include "collection/CardEntry.h"
#include "collection/CardTableModel.h"
#include "collection/ColumnSort.h"
#include "collection/csv/CsvImport.h"
#include "collection/merge/CollectionChanges.h"
#include "collection/totals/NumberSort.h"
#include "resources/StringTable.h"

#include <QAction>
#include <QKeySequence>

#include <algorithm>
#include <optional>
#include <utility>

namespace {

// A step's name in the menu: its Card by Name, shortened, with an "&" shown
// as itself rather than as a mnemonic.
QString StepText(const char* format, const Card& card)
{
    constexpr qsizetype kLongest = 40;
    const std::string& bytes = card[NameField];
    QString name = QString::fromUtf8(bytes.data(), qsizetype(std::min<std::size_t>(bytes.size(), 4 * kLongest)));
    if (name.size() > kLongest)
        name = name.left(kLongest - 1) + QChar(0x2026);
    name.replace(QLatin1Char('&'), QLatin1String("&&"));
    return QString::fromUtf8(format).arg(name);
}

} // namespace

CollectionHistory::CollectionHistory(CardEntry& entry, CardTableModel& table, CardTableView& view,
                                     std::size_t budgetBytes)
    : entry_(entry)
    , table_(table)
    , view_(view)
    , budget_(budgetBytes)
{
}

CollectionHistory::~CollectionHistory() = default;

bool CollectionHistory::Add(const Card& card)
{
    const int mark = view_.SelectionMark();
    if (!entry_.Add(card))
        return false;
    // The new Card is in the fields: the mark follows it to the top row.
    view_.MarkRow(0);
    Record(RowBlockStep::Inserted(table_, 0, 1, StepText(Text::AddStep, card)), mark);
    return true;
}

bool CollectionHistory::Update(int row, const Card& card)
{
    const int mark = view_.SelectionMark();
    CardTableModel::RowBlock replaced;
    replaced.Append(table_.RowCard(row));
    if (!entry_.Update(row, card))
        return false;
    if (replaced.CardAt(0) != card)
        Record(new SetRowsStep(table_, {row}, std::move(replaced), StepText(Text::UpdateStep, card)), mark);
    return true;
}

bool CollectionHistory::Delete(int row)
{
    const int mark = view_.SelectionMark();
    const Card card = table_.RowCard(row);
    CardTableModel::RowBlock taken;
    taken.Append(card);
    if (!entry_.Delete(row))
        return false;
    Record(RowBlockStep::Removed(table_, row, std::move(taken), StepText(Text::DeleteStep, card)), mark);
    return true;
}

bool CollectionHistory::SortByColumn(int column, ColumnOrder order)
{
    const int mark = view_.SelectionMark();
    ColumnSortResult change =
        order == ColumnOrder::Numbers ? SortRowsAsNumbers(table_, column) : SortRowsByColumn(table_, column);
    const bool reversed = change.reversed;
    if (table_.rowCount() < 2)
        return reversed;
    const QString heading = table_.headerData(column, Qt::Horizontal).toString();
    Record(new ReorderStep(table_, std::move(change), QString::fromUtf8(Text::SortStep).arg(heading)), mark);
    return reversed;
}

void CollectionHistory::ReplaceRows(const std::vector<int>& rows, const std::vector<Card>& cards, const QString& text)
{
    const int mark = view_.SelectionMark();
    std::vector<int> replaced;
    CardTableModel::RowBlock block;
    for (std::size_t i = 0; i < rows.size() && i < cards.size(); ++i) {
        if (rows[i] < 0 || rows[i] >= table_.rowCount())
            continue;
        Card card = cards[i];
        PrepareForStorage(card);
        replaced.push_back(rows[i]);
        block.Append(card);
    }
    if (replaced.empty())
        return;
    // The block now holds the rows' former Cards, which undo puts back.
    table_.ExchangeRows(replaced, block);
    Record(new SetRowsStep(table_, std::move(replaced), std::move(block), text, false), mark);
}

void CollectionHistory::Import(CsvImportResult result, ChoiceListModel& series, ChoiceListModel& conditions)
{
    const int mark = view_.SelectionMark();
    const int count = result.cards.size();
    std::vector<int> rows;
    CardTableModel::RowBlock replaced;
    for (const auto& [row, quantity] : result.quantities) {
        rows.push_back(row + count);
        replaced.Append(table_.RowCard(row));
    }
    ApplyCsvImport(std::move(result), table_, series, conditions);
    if (count > 0 || !rows.empty())
        Record(new ImportStep(table_, count, std::move(rows), std::move(replaced), QString::fromUtf8(Text::ImportStep)),
               mark);
}

void CollectionHistory::ApplyChanges(CollectionChanges changes, ChoiceListModel& series, ChoiceListModel& conditions,
                                     const QString& text)
{
    if (changes.Empty())
        return;
    const int mark = view_.SelectionMark();
    TakenRows taken = ApplyCollectionChanges(std::move(changes), table_, series, conditions);
    Record(new ChangesStep(table_, std::move(taken), text), mark);
}

bool CollectionHistory::CanUndo() const
{
    return std::size_t(stack_.index()) > floor_;
}

bool CollectionHistory::CanRedo() const
{
    return stack_.canRedo();
}

void CollectionHistory::Clear()
{
    stack_.clear();
    steps_.clear();
    floor_ = 0;
    emit Changed();
}

bool CollectionHistory::Undo(Card& fields)
{
    if (!CanUndo())
        return false;
    stack_.undo();
    const CollectionStep& step = *steps_[std::size_t(stack_.index())];
    Show(step, step.MarkBefore(), true, fields);
    return true;
}

bool CollectionHistory::Redo(Card& fields)
{
    if (!CanRedo())
        return false;
    const CollectionStep& step = *steps_[std::size_t(stack_.index())];
    stack_.redo();
    Show(step, step.MarkAfter(), step.FitsWhenRedone(), fields);
    return true;
}

void CollectionHistory::Show(const CollectionStep& step, int mark, bool fit, Card& fields)
{
    if (fit)
        view_.FitColumns();
    view_.SetSelectionMark(mark);
    if (const std::optional<Card> touched = step.TouchedCard())
        fields = *touched;
    emit Changed();
}

void CollectionHistory::BindActions(QAction& undo, QAction& redo)
{
    undo.setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
    redo.setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    undo.setShortcutVisibleInContextMenu(true);
    redo.setShortcutVisibleInContextMenu(true);
    const auto follow = [this, &undo, &redo] {
        undo.setEnabled(CanUndo());
        undo.setText(CanUndo() ? QString::fromUtf8(Text::UndoStepMenu).arg(stack_.undoText())
                               : QString::fromUtf8(Text::UndoMenu));
        redo.setEnabled(CanRedo());
        redo.setText(CanRedo() ? QString::fromUtf8(Text::RedoStepMenu).arg(stack_.redoText())
                               : QString::fromUtf8(Text::RedoMenu));
    };
    connect(this, &CollectionHistory::Changed, &undo, follow);
    follow();
}

std::size_t CollectionHistory::Bytes() const
{
    std::size_t bytes = sizeof(*this) + steps_.capacity() * sizeof(CollectionStep*);
    for (const CollectionStep* step : steps_)
        bytes += step->Bytes();
    return bytes;
}

void CollectionHistory::Record(CollectionStep* step, int markBefore)
{
    step->SetMarks(markBefore, view_.SelectionMark());
    // Pushing drops the steps that were undone.
    steps_.resize(std::size_t(stack_.index()));
    stack_.push(step);
    steps_.push_back(step);
    KeepWithinBudget();
    emit Changed();
}

// The oldest steps are forgotten first; the newest is kept whatever it costs,
// so that the last change can always be undone.
void CollectionHistory::KeepWithinBudget()
{
    std::size_t kept = 0;
    for (std::size_t i = floor_; i < steps_.size(); ++i)
        kept += steps_[i]->Bytes();
    while (kept > budget_ && floor_ + 1 < steps_.size()) {
        kept -= steps_[floor_]->Bytes();
        steps_[floor_]->Forget();
        ++floor_;
    }
}
