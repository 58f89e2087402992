#include "collection/ChoiceListModel.h"

#include <algorithm>
#include <iterator>
#include <unordered_set>

namespace {

QString Decoded(std::string_view bytes)
{
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

QByteArray Bytes(std::string_view bytes)
{
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

bool LessIgnoringCase(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

} // namespace

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

bool ChoiceListModel::Contains(std::string_view bytes) const
{
    return keys_.contains(Key(Decoded(bytes)));
}

void ChoiceListModel::Add(std::string_view bytes)
{
    QString text = Decoded(bytes);
    if (keys_.contains(Key(text)))
        return;
    const auto at = std::partition_point(entries_.begin(), entries_.end(),
                                         [&](const Entry& entry) { return LessIgnoringCase(entry.text, text); });
    const int row = int(at - entries_.begin());
    keys_.insert(Key(text));
    beginInsertRows({}, row, row);
    entries_.insert(at, {std::move(text), Bytes(bytes)});
    endInsertRows();
}

void ChoiceListModel::AddAll(const std::vector<std::string>& texts)
{
    std::vector<Entry> added;
    // A collection repeats a few texts many times: each is decoded once.
    std::unordered_set<std::string_view> seen;
    for (const std::string& bytes : texts) {
        if (!seen.insert(bytes).second)
            continue;
        QString text = Decoded(bytes);
        if (!keys_.contains(Key(text))) {
            keys_.insert(Key(text));
            added.push_back({std::move(text), Bytes(bytes)});
        }
    }
    if (added.empty())
        return;
    const auto less = [](const Entry& a, const Entry& b) { return LessIgnoringCase(a.text, b.text); };
    std::stable_sort(added.begin(), added.end(), less);
    std::vector<Entry> entries;
    entries.reserve(entries_.size() + added.size());
    beginResetModel();
    std::merge(std::make_move_iterator(entries_.begin()), std::make_move_iterator(entries_.end()),
               std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()),
               std::back_inserter(entries), less);
    entries_ = std::move(entries);
    endResetModel();
}
