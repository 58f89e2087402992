#include "collection/ChoiceListModel.h"

#include <algorithm>
#include <iterator>
#include <numeric>
#include <unordered_set>

namespace {

QByteArray Bytes(std::string_view bytes)
{
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

// The order a collector reads the list in: the system language's, with
// letter case ignored. The C locale would order by code point, which puts
// "Écume" after "Zephyr"; the language-neutral order stands in for it.
QCollator ReadingOrder()
{
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English);
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

} // namespace

ChoiceListModel::ChoiceListModel(QObject* parent)
    : QAbstractListModel(parent)
    , collator_(ReadingOrder())
{
}

void ChoiceListModel::Clear()
{
    beginResetModel();
    entries_.clear();
    keys_.clear();
    endResetModel();
}

int ChoiceListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(entries_.size());
}

QVariant ChoiceListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(entries_.size()))
        return {};
    const Entry& entry = entries_[std::size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return entry.text;
    case BytesRole:
        return entry.bytes;
    default:
        return {};
    }
}

QString ChoiceListModel::Key(const QString& text)
{
    return text.toCaseFolded();
}

QString ChoiceListModel::Decoded(std::string_view bytes) const
{
    return DecodeText(bytes, encoding_);
}

bool ChoiceListModel::Contains(std::string_view bytes) const
{
    return keys_.contains(Key(Decoded(bytes)));
}

void ChoiceListModel::Add(std::string_view bytes)
{
    QString text = Decoded(bytes);
    if (keys_.contains(Key(text)))
        return;
    QCollatorSortKey order = collator_.sortKey(text);
    // After the texts that sort the same, as AddAll's stable sort puts them.
    const auto at = std::partition_point(entries_.begin(), entries_.end(),
                                         [&](const Entry& entry) { return entry.order.compare(order) <= 0; });
    const int row = int(at - entries_.begin());
    keys_.insert(Key(text));
    beginInsertRows({}, row, row);
    entries_.insert(at, {std::move(text), Bytes(bytes), std::move(order)});
    endInsertRows();
}

void ChoiceListModel::AddAll(const std::vector<std::string>& texts)
{
    std::vector<Entry> found;
    // A collection repeats a few texts many times: each is decoded once.
    std::unordered_set<std::string_view> seen;
    for (const std::string& bytes : texts) {
        if (!seen.insert(bytes).second)
            continue;
        QString text = Decoded(bytes);
        if (QString key = Key(text); !keys_.contains(key)) {
            keys_.insert(std::move(key));
            QCollatorSortKey order = collator_.sortKey(text);
            found.push_back({std::move(text), Bytes(bytes), std::move(order)});
        }
    }
    if (found.empty())
        return;
    // Each text's sort key is made once. The texts are put in order by
    // their positions: a sort key is costly to move.
    std::vector<std::size_t> positions(found.size());
    std::iota(positions.begin(), positions.end(), std::size_t(0));
    std::stable_sort(positions.begin(), positions.end(),
                     [&found](std::size_t a, std::size_t b) { return found[a].order.compare(found[b].order) < 0; });
    // The new texts join the old ones after those that sort the same, as
    // Add puts them.
    std::vector<Entry> entries;
    entries.reserve(entries_.size() + found.size());
    beginResetModel();
    auto old = entries_.begin();
    for (const std::size_t position : positions) {
        Entry& next = found[position];
        for (; old != entries_.end() && old->order.compare(next.order) <= 0; ++old)
            entries.push_back(std::move(*old));
        entries.push_back(std::move(next));
    }
    entries.insert(entries.end(), std::make_move_iterator(old), std::make_move_iterator(entries_.end()));
    entries_ = std::move(entries);
    endResetModel();
}
