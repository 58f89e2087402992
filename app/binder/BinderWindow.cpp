#include "app/binder/BinderWindow.h"

#include "app/pictures/PictureDialog.h"
#include "collection/CardTableModel.h"
#include "resources/StringTable.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QLocale>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QSlider>
#include <QVBoxLayout>

namespace {

QString Grouped(int number)
{
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(number);
}

QString CardCount(int cards)
{
    return cards == 1 ? QString::fromUtf8(Text::BinderOneCard) : QString::fromUtf8(Text::BinderCards).arg(Grouped(cards));
}

} // namespace

BinderWindow::BinderWindow(const CardTableModel& table, const PictureOptions& options, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , table_(table)
    , pictures_(options)
    , tiles_(table, pictures_)
{
    setObjectName(QStringLiteral("binderWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8(Text::BinderTitle));
    BuildControls();
    connect(&tiles_, &BinderModel::TilesChanged, this, &BinderWindow::ShowPageState);
    connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &BinderWindow::OnSelectionChanged);
    connect(view_, &QListView::activated, this, &BinderWindow::ShowWholePicture);
    SetPictureHeight(sizeSlider_->value());
    ShowPageState();
    adjustSize();
    // The keys turn the pages from the start; a focused drop-down list would take them.
    view_->setFocus();
}

// The view goes first: it must not paint, or ask for pictures, from a model
// half destroyed.
BinderWindow::~BinderWindow()
{
    delete view_;
}

void BinderWindow::BuildControls()
{
    layoutBox_ = new QComboBox;
    layoutBox_->setObjectName(QStringLiteral("binderLayoutBox"));
    layoutBox_->addItem(QString::fromUtf8(Text::BinderPages));
    layoutBox_->addItem(QString::fromUtf8(Text::BinderGrid));
    connect(layoutBox_, &QComboBox::activated, this, [this](int choice) { SetPaged(choice == 0); });
    auto* layoutLabel = new QLabel(QString::fromUtf8(Text::BinderLayout));
    layoutLabel->setBuddy(layoutBox_);

    sizeSlider_ = new QSlider(Qt::Horizontal);
    sizeSlider_->setObjectName(QStringLiteral("binderSizeSlider"));
    sizeSlider_->setRange(kSmallestPicture, kLargestPicture);
    sizeSlider_->setSingleStep(8);
    sizeSlider_->setPageStep(32);
    sizeSlider_->setValue(160);
    connect(sizeSlider_, &QSlider::valueChanged, this, &BinderWindow::SetPictureHeight);
    auto* sizeLabel = new QLabel(QString::fromUtf8(Text::BinderSize));
    sizeLabel->setBuddy(sizeSlider_);

    countLabel_ = new QLabel;
    countLabel_->setObjectName(QStringLiteral("binderCountLabel"));

    view_ = new QListView;
    view_->setObjectName(QStringLiteral("binderView"));
    view_->setViewMode(QListView::IconMode);
    // Pockets stay where the table's order puts them.
    view_->setMovement(QListView::Static);
    view_->setResizeMode(QListView::Adjust);
    view_->setUniformItemSizes(true);
    view_->setWrapping(true);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setItemDelegate(&delegate_);
    view_->setModel(&tiles_);

    previousButton_ = new QPushButton(QString::fromUtf8(Text::BinderPrevious));
    previousButton_->setObjectName(QStringLiteral("binderPreviousButton"));
    nextButton_ = new QPushButton(QString::fromUtf8(Text::BinderNext));
    nextButton_->setObjectName(QStringLiteral("binderNextButton"));
    pageLabel_ = new QLabel;
    pageLabel_->setObjectName(QStringLiteral("binderPageLabel"));
    pageLabel_->setAlignment(Qt::AlignCenter);
    connect(previousButton_, &QPushButton::clicked, this, [this] { TurnPage(-1); });
    connect(nextButton_, &QPushButton::clicked, this, [this] { TurnPage(1); });
    view_->installEventFilter(this);

    auto* top = new QHBoxLayout;
    top->addWidget(layoutLabel);
    top->addWidget(layoutBox_);
    top->addSpacing(12);
    top->addWidget(sizeLabel);
    top->addWidget(sizeSlider_, 1);
    top->addSpacing(12);
    top->addWidget(countLabel_);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(previousButton_);
    bottom->addWidget(pageLabel_, 1);
    bottom->addWidget(nextButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(view_, 1);
    layout->addLayout(bottom);
}

void BinderWindow::SetShownRows(std::optional<std::vector<int>> rows)
{
    tiles_.SetShownRows(std::move(rows));
}

void BinderWindow::SetPaged(bool paged)
{
    // The page or the place in the grid follows the current tile, which
    // stays current, and selected if it was.
    const QModelIndex current = view_->currentIndex();
    const bool selected = current.isValid() && view_->selectionModel()->isSelected(current);
    const int tile = current.isValid() ? tiles_.TileOf(current.row()) : tiles_.TileOf(0);
    tiles_.SetPaged(paged);
    layoutBox_->setCurrentIndex(paged ? 0 : 1);
    if (paged)
        tiles_.SetPage(tile / BinderModel::kPocketsPerPage);
    FitView();
    const QModelIndex kept = tiles_.index(paged ? tile % BinderModel::kPocketsPerPage : tile);
    if (current.isValid() && kept.isValid()) {
        const QScopedValueRollback<bool> restoring(restoring_, true);
        view_->selectionModel()->setCurrentIndex(kept, selected ? QItemSelectionModel::ClearAndSelect
                                                                : QItemSelectionModel::NoUpdate);
        view_->scrollTo(kept, QAbstractItemView::PositionAtCenter);
    }
}

void BinderWindow::TurnPage(int pages)
{
    tiles_.SetPage(tiles_.Page() + pages);
}

void BinderWindow::SetPictureHeight(int pixels)
{
    delegate_.SetPictureHeight(std::clamp(pixels, kSmallestPicture, kLargestPicture));
    if (sizeSlider_->value() != delegate_.PictureHeight())
        sizeSlider_->setValue(delegate_.PictureHeight());
    FitView();
}

// A page shows its nine pockets three by three and no more; one grid fills
// the window and scrolls.
void BinderWindow::FitView()
{
    const QSize pocket = delegate_.PocketSize(view_->fontMetrics());
    view_->setGridSize(pocket);
    const bool paged = tiles_.Paged();
    const int frame = 2 * view_->frameWidth();
    if (paged) {
        view_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view_->setFixedSize(3 * pocket.width() + frame + 1, 3 * pocket.height() + frame + 1);
    } else {
        view_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        // As wide as a page at least, with room for the scroll bar.
        view_->setMinimumSize(3 * pocket.width() + frame + 1 + view_->verticalScrollBar()->sizeHint().width(),
                              pocket.height() + frame);
        view_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    layout()->setAlignment(view_, paged ? Qt::AlignHCenter : Qt::Alignment());
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ShowPageState();
}

void BinderWindow::ShowPageState()
{
    const bool paged = tiles_.Paged();
    countLabel_->setText(CardCount(tiles_.TileCount()));
    pageLabel_->setText(QString::fromUtf8(Text::BinderPage).arg(Grouped(tiles_.Page() + 1), Grouped(tiles_.PageCount())));
    for (QWidget* control : {static_cast<QWidget*>(previousButton_), static_cast<QWidget*>(nextButton_),
                             static_cast<QWidget*>(pageLabel_)})
        control->setVisible(paged);
    previousButton_->setEnabled(paged && tiles_.Page() > 0);
    nextButton_->setEnabled(paged && tiles_.Page() + 1 < tiles_.PageCount());
}

// Page Up and Page Down turn the pages; in one grid the view scrolls with
// them. The pockets would take them for themselves, so they are asked first.
bool BinderWindow::TurnPageByKey(const QKeyEvent& event)
{
    // With Ctrl, or on the keypad, they turn the pages all the same.
    if (!tiles_.Paged() || (event.key() != Qt::Key_PageUp && event.key() != Qt::Key_PageDown))
        return false;
    TurnPage(event.key() == Qt::Key_PageUp ? -1 : 1);
    return true;
}

bool BinderWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == view_ && event->type() == QEvent::KeyPress)
        return TurnPageByKey(*static_cast<QKeyEvent*>(event));
    return QWidget::eventFilter(watched, event);
}

// Keys that no control in the binder took.
void BinderWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        close();
    else if (!TurnPageByKey(*event))
        QWidget::keyPressEvent(event);
}

// Only a tile the user selects chooses its Card: the selection also moves
// when the tiles change under it.
void BinderWindow::OnSelectionChanged()
{
    if (tiles_.Changing() || restoring_)
        return;
    const QModelIndexList selected = view_->selectionModel()->selectedIndexes();
    if (!selected.isEmpty())
        emit CardChosen(tiles_.TableRow(selected.first().row()));
}

void BinderWindow::ShowWholePicture(const QModelIndex& index)
{
    const int row = tiles_.TableRow(index.row());
    if (row < 0)
        return;
    auto* dialog = new PictureDialog(pictures_, index.data(BinderModel::PictureUrlRole).toByteArray(),
                                     table_.Encoding(), index.data(Qt::DisplayRole).toString(), this);
    dialog->show();
}
