#include "app/binder/BinderModel.h"

#include "app/pictures/PictureLoader.h"
#include "base/TextEncoding.h"
#include "collection/CardTableModel.h"

#include <algorithm>

BinderModel::BinderModel(const CardTableModel& table, PictureLoader& pictures, QObject* parent)
    : QAbstractListModel(parent)
    , table_(table)
    , pictures_(pictures)
{
    connect(&table, &QAbstractItemModel::rowsAboutToBeInserted, this, &BinderModel::OnRowsAboutToBeInserted);
    connect(&table, &QAbstractItemModel::rowsInserted, this, &BinderModel::OnRowsInserted);
    connect(&table, &QAbstractItemModel::rowsAboutToBeRemoved, this, &BinderModel::OnRowsAboutToBeRemoved);
    connect(&table, &QAbstractItemModel::rowsRemoved, this, &BinderModel::OnRowsRemoved);
    connect(&table, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        changing_ = true;
        beginResetModel();
    });
    connect(&table, &QAbstractItemModel::modelReset, this, &BinderModel::OnTableReset);
    connect(&table, &QAbstractItemModel::dataChanged, this, &BinderModel::OnTableDataChanged);
    connect(&pictures, &PictureLoader::ThumbnailChanged, this, &BinderModel::OnThumbnailChanged);
}

void BinderModel::SetShownRows(std::optional<std::vector<int>> rows)
{
    changing_ = true;
    beginResetModel();
    if (rows) {
        const int tableRows = table_.rowCount();
        std::sort(rows->begin(), rows->end());
        rows->erase(std::unique(rows->begin(), rows->end()), rows->end());
        rows->erase(std::remove_if(rows->begin(), rows->end(), [&](int row) { return row < 0 || row >= tableRows; }),
                    rows->end());
    }
    shown_ = std::move(rows);
    ClampPage();
    Restart();
}

void BinderModel::SetPaged(bool paged)
{
    if (paged == paged_)
        return;
    changing_ = true;
    beginResetModel();
    paged_ = paged;
    Restart();
}

void BinderModel::SetPage(int page)
{
    page = std::clamp(page, 0, PageCount() - 1);
    if (!paged_ || page == page_)
        return;
    changing_ = true;
    beginResetModel();
    page_ = page;
    Restart();
}

int BinderModel::PageCount() const
{
    return std::max(1, (TileCount() + kPocketsPerPage - 1) / kPocketsPerPage);
}

int BinderModel::TileCount() const
{
    return shown_ ? int(shown_->size()) : table_.rowCount();
}

int BinderModel::TableRow(int modelRow) const
{
    if (modelRow < 0 || modelRow >= rowCount())
        return -1;
    return TableRowOfTile(TileOf(modelRow));
}

int BinderModel::TableRowOfTile(int tile) const
{
    return shown_ ? (*shown_)[std::size_t(tile)] : tile;
}

int BinderModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    if (!paged_)
        return TileCount();
    return std::clamp(TileCount() - FirstTile(), 0, kPocketsPerPage);
}

QByteArray BinderModel::PictureUrl(int modelRow) const
{
    const std::string_view url = table_.Cell(TableRow(modelRow), UrlField);
    return QByteArray(url.data(), qsizetype(url.size()));
}

QVariant BinderModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const int row = TableRow(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: {
        return DecodeText(table_.Cell(row, NameField), table_.Encoding());
    }
    case Qt::DecorationRole:
    case PictureStateRole: {
        const QByteArray url = PictureUrl(index.row());
        QImage thumbnail;
        const PictureLoader::State state = pictures_.Thumbnail(url, table_.Encoding(), &thumbnail);
        if (state == PictureLoader::State::Loading) {
            QList<int>& rows = awaited_[url];
            if (!rows.contains(index.row()))
                rows.append(index.row());
        }
        if (role == PictureStateRole)
            return int(state);
        return state == PictureLoader::State::Ready ? QVariant::fromValue(thumbnail) : QVariant();
    }
    case TableRowRole:
        return row;
    case PictureUrlRole:
        return PictureUrl(index.row());
    default:
        return {};
    }
}

std::pair<int, int> BinderModel::TilesOfRows(int first, int last) const
{
    if (!shown_)
        return {first, last};
    const auto begin = std::lower_bound(shown_->begin(), shown_->end(), first);
    const auto end = std::lower_bound(begin, shown_->end(), last);
    return {int(begin - shown_->begin()), int(end - shown_->begin())};
}

void BinderModel::ClampPage()
{
    page_ = std::clamp(page_, 0, PageCount() - 1);
}

// Ends a reset: what was awaited belongs to the rows as they were.
void BinderModel::Restart()
{
    awaited_.clear();
    endResetModel();
    changing_ = false;
    emit TilesChanged();
}

void BinderModel::ShiftShownRows(int from, int by)
{
    for (auto it = std::lower_bound(shown_->begin(), shown_->end(), from); it != shown_->end(); ++it)
        *it += by;
}

// A page of nine starts again whenever the rows move; one grid of every Card
// takes the rows as they come, and a filtered grid loses the tiles of rows
// removed. A row inserted under a filter is not shown until the filter says so.
void BinderModel::OnRowsAboutToBeInserted(const QModelIndex&, int first, int last)
{
    changing_ = true;
    awaited_.clear();
    if (paged_)
        beginResetModel();
    else if (!shown_)
        beginInsertRows({}, first, last);
}

void BinderModel::OnRowsInserted(const QModelIndex&, int first, int last)
{
    if (shown_)
        ShiftShownRows(first, last - first + 1);
    if (paged_) {
        ClampPage();
        Restart();
        return;
    }
    if (!shown_)
        endInsertRows();
    changing_ = false;
    emit TilesChanged();
}

void BinderModel::OnRowsAboutToBeRemoved(const QModelIndex&, int first, int last)
{
    changing_ = true;
    awaited_.clear();
    if (paged_) {
        beginResetModel();
        return;
    }
    const auto [begin, end] = TilesOfRows(first, last + 1);
    if (begin < end)
        beginRemoveRows({}, begin, end - 1);
}

void BinderModel::OnRowsRemoved(const QModelIndex&, int first, int last)
{
    const auto [begin, end] = TilesOfRows(first, last + 1);
    if (shown_) {
        shown_->erase(shown_->begin() + begin, shown_->begin() + end);
        ShiftShownRows(last + 1, -(last - first + 1));
    }
    if (paged_) {
        ClampPage();
        Restart();
        return;
    }
    if (begin < end)
        endRemoveRows();
    changing_ = false;
    emit TilesChanged();
}

void BinderModel::OnTableReset()
{
    if (shown_) {
        const int tableRows = table_.rowCount();
        shown_->erase(std::lower_bound(shown_->begin(), shown_->end(), tableRows), shown_->end());
    }
    ClampPage();
    Restart();
}

void BinderModel::OnTableDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight)
{
    const auto [begin, end] = TilesOfRows(topLeft.row(), bottomRight.row() + 1);
    const int first = std::max(begin, FirstTile()) - FirstTile();
    const int last = std::min(end - FirstTile(), rowCount()) - 1;
    if (first <= last)
        emit dataChanged(index(first), index(last));
}

void BinderModel::OnThumbnailChanged(const QByteArray& pictureUrl)
{
    const QList<int> rows = awaited_.take(pictureUrl);
    for (const int row : rows) {
        if (row < rowCount() && PictureUrl(row) == pictureUrl)
            emit dataChanged(index(row), index(row), {Qt::DecorationRole, PictureStateRole});
    }
}
