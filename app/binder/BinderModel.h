#pragma once

#include <QAbstractListModel>
#include <QByteArray>
#include <QHash>
#include <QList>

#include <optional>
#include <vector>

class CardTableModel;
class PictureLoader;

// The binder's tiles: one for each Card shown, in table order, either all in
// one grid or nine to a page. A tile keeps no copy of its Card: it maps to a
// table row, and follows the table as it changes. Thumbnails are asked for
// only when a tile's picture is wanted, which the view does for the tiles it
// paints.
class BinderModel : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role {
        TableRowRole = Qt::UserRole,
        // A PictureLoader::State, as an int.
        PictureStateRole,
        // The Card's Picture URL, as its bytes.
        PictureUrlRole,
    };
    static constexpr int kPocketsPerPage = 9;

    BinderModel(const CardTableModel& table, PictureLoader& pictures, QObject* parent = nullptr);

    // The table rows to show, as the filter leaves them; no rows given shows
    // every Card.
    void SetShownRows(std::optional<std::vector<int>> rows);
    bool ShowsAll() const { return !shown_.has_value(); }

    void SetPaged(bool paged);
    bool Paged() const { return paged_; }
    // Clamped to the pages there are.
    void SetPage(int page);
    int Page() const { return page_; }
    int PageCount() const;

    // Every tile shown, on every page.
    int TileCount() const;
    // The tile of one of the model's rows, counted over every page.
    int TileOf(int modelRow) const { return FirstTile() + modelRow; }
    // The table row of one of the model's rows; -1 when there is none.
    int TableRow(int modelRow) const;
    // True while the tiles change: a selection that moves then is not the user's.
    bool Changing() const { return changing_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

signals:
    // The number of tiles, the page or the layout changed.
    void TilesChanged();

private:
    int FirstTile() const { return paged_ ? page_ * kPocketsPerPage : 0; }
    int TableRowOfTile(int tile) const;
    QByteArray PictureUrl(int modelRow) const;
    // The tiles [first, last) that show table rows first to last.
    std::pair<int, int> TilesOfRows(int first, int last) const;
    void ClampPage();
    void Restart();
    void ShiftShownRows(int from, int by);

    void OnRowsAboutToBeInserted(const QModelIndex& parent, int first, int last);
    void OnRowsInserted(const QModelIndex& parent, int first, int last);
    void OnRowsAboutToBeRemoved(const QModelIndex& parent, int first, int last);
    void OnRowsRemoved(const QModelIndex& parent, int first, int last);
    void OnTableReset();
    void OnTableDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight);
    void OnThumbnailChanged(const QByteArray& pictureUrl);

    const CardTableModel& table_;
    PictureLoader& pictures_;
    // Ascending, without repeats.
    std::optional<std::vector<int>> shown_;
    bool paged_ = true;
    int page_ = 0;
    bool changing_ = false;
    // The model rows painted while their thumbnail was on its way.
    mutable QHash<QByteArray, QList<int>> awaited_;
};
