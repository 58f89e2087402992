#include "app/table/CardInFields.h"

#include "base/MessageInterface.h"
#include "base/TextEncoding.h"
#include "collection/CardTableModel.h"
#include "resources/StringTable.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

// A Card by its Name, as a question shows it: shortened, never empty.
QString Named(std::string_view name, TextEncoding encoding)
{
    constexpr qsizetype kLongest = 60;
    QString text = DecodeText(name.substr(0, 4 * kLongest), encoding);
    if (text.size() > kLongest)
        text = text.left(kLongest - 1) + QChar(0x2026);
    return text;
}

} // namespace

CardInFields::CardInFields(CardTableModel& table, QObject* parent)
    : QObject(parent)
    , table_(table)
{
    // A new order of the rows is told as a change of every cell, which moves
    // no persistent index: the row read is followed here.
    connect(&table_, &CardTableModel::RowsReordered, this, [this](const std::vector<int>& order) {
        if (row_.isValid())
            Read(int(std::find(order.begin(), order.end(), row_.row()) - order.begin()));
    });
    connect(&table_, &CardTableModel::RowsReversed, this, [this] {
        if (row_.isValid())
            Read(table_.rowCount() - 1 - row_.row());
    });
}

void CardInFields::Read(int row)
{
    read_ = row >= 0 && row < table_.rowCount();
    row_ = read_ ? QPersistentModelIndex(table_.index(row, 0)) : QPersistentModelIndex();
}

void CardInFields::Forget()
{
    Read(-1);
}

void CardInFields::Match(int markedRow, const Card& fields)
{
    if (markedRow >= 0 && markedRow < table_.rowCount() && table_.RowCard(markedRow) == fields)
        Read(markedRow);
    else
        Forget();
}

int CardInFields::Row() const
{
    return row_.isValid() ? row_.row() : -1;
}

bool CardInFields::MayUpdate(int markedRow, const Card& fields, MessageInterface& messages) const
{
    // Without a Name, Update writes nothing.
    if (markedRow < 0 || markedRow >= table_.rowCount() || Row() == markedRow || fields[NameField].empty())
        return true;
    const QString marked = Named(table_.Cell(markedRow, NameField), table_.Encoding());
    const QString held = Named(fields[NameField], table_.Encoding());
    const QString question = Gone() ? QString::fromUtf8(Text::UpdateAfterDelete).arg(held, marked)
                                    : QString::fromUtf8(Text::UpdateOtherCard).arg(held, marked);
    return messages.AskYesNo(question, QCoreApplication::applicationName());
}
