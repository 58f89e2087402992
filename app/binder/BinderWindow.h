#pragma once

#include "app/binder/BinderDelegate.h"
#include "app/binder/BinderModel.h"
#include "app/pictures/PictureLoader.h"

#include <QWidget>

#include <optional>
#include <vector>

class CardTableModel;
class QComboBox;
class QLabel;
class QListView;
class QPushButton;
class QSlider;

// The Cards as a collector's binder: their pictures in table order, nine
// pockets to a page turned like a binder's, or all in one scrolling grid,
// at a size the user picks. It follows the card table as it changes and asks
// nothing of the user: a picture that cannot be had is a plain tile.
class BinderWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kSmallestPicture = 96;
    static constexpr int kLargestPicture = 256;

    BinderWindow(const CardTableModel& table, const PictureOptions& options, QWidget* parent = nullptr);
    ~BinderWindow() override;

    // The Cards the filter shows; none given shows every Card.
    void SetShownRows(std::optional<std::vector<int>> rows);

    void SetPaged(bool paged);
    void TurnPage(int pages);
    void SetPictureHeight(int pixels);

    BinderModel& Tiles() { return tiles_; }
    PictureLoader& Pictures() { return pictures_; }

signals:
    // A tile was selected: its Card's row in the table.
    void CardChosen(int tableRow);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool TurnPageByKey(const QKeyEvent& event);
    void BuildControls();
    void ShowWholePicture(const QModelIndex& index);
    void OnSelectionChanged();
    void FitView();
    void ShowPageState();

    const CardTableModel& table_;
    PictureLoader pictures_;
    BinderModel tiles_;
    BinderDelegate delegate_;
    QListView* view_ = nullptr;
    QComboBox* layoutBox_ = nullptr;
    QSlider* sizeSlider_ = nullptr;
    QLabel* countLabel_ = nullptr;
    QPushButton* previousButton_ = nullptr;
    QPushButton* nextButton_ = nullptr;
    QLabel* pageLabel_ = nullptr;
    // The binder is putting a selection back, not the user choosing a Card.
    bool restoring_ = false;
};
