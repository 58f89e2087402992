#include "app/window/WindowLayout.h"

#include "resources/ControlIds.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMinimumOuterWidth = 490;
constexpr int kMinimumOuterHeight = 365;

// The right-hand column, top to bottom as the rules place it: each control
// stands 85 pixels from the right edge, 75 pixels wide.
struct ColumnPlace {
    int id;
    int top;
    int height;
};

constexpr ColumnPlace kColumn[] = {
    {ControlId::Quit, 11, 23},
    {ControlId::Add, 39, 15},
    {ControlId::Update, 54, 15},
    {ControlId::Delete, 69, 15},
    {ControlId::Clear, 84, 15},
    {ControlId::List, 106, 15},
    {ControlId::Catalogue, 121, 15},
    {ControlId::Preferences, 178, 15},
    {ControlId::Help, 193, 15},
    {ControlId::Tooltips, 161, 15},
    {ControlId::Count, 248, 15},
};
constexpr int kColumnFromRight = 85;
constexpr int kColumnWidth = 75;

// The boxes that only widen. The rules gave each a width that is so much
// less than the client width, which with the template's font ends every one
// of them 91 pixels from the right edge, 6 pixels left of the column; the
// card table ends a pixel further right. They keep their left edges.
constexpr int kWideningIds[] = {
    ControlId::Description, ControlId::Url, ControlId::Year, ControlId::Quantity, ControlId::Series,
};
constexpr int kBoxesFromRight = 91;
constexpr int kTableFromRight = 90;

// The notice line along the bottom: 15 pixels high, or as high as its
// font's line where that is taller.
constexpr int kNoticeLeft = 3;
constexpr int kNoticeWidth = 400;
constexpr int kNoticeHeight = 15;

// Less than this the boxes and the table do not shrink to; the window's
// minimum keeps them this large.
constexpr int kSmallestBox = 60;
constexpr int kSmallestTable = 60;

// The rules' pixels on the screen the controls are shown on. A control's
// edges are scaled, not its size, so that controls that touch still do.
class RulePixels {
public:
    explicit RulePixels(const QWidget& widget)
        : scale_(std::max(1.0, widget.logicalDpiY() / 96.0))
    {
    }

    int operator()(int pixels) const { return int(std::lround(pixels * scale_)); }

private:
    double scale_;
};

int NoticeHeight(const QWidget& notice, const RulePixels& px)
{
    return std::max(px(kNoticeHeight), notice.sizeHint().height());
}

// The filter bar's height while it is shown, 0 while it is hidden.
int ShownBarHeight(const QWidget* bar)
{
    return bar != nullptr && !bar->isHidden() ? bar->sizeHint().height() : 0;
}

// The template gives the drop-down lists of the Series and Condition boxes
// the height of the client area: each shows as many whole entries as fit
// between its box and the bottom of the client area.
void FitDropDown(QComboBox& box, int cy)
{
    const QAbstractItemView& list = *box.view();
    const int entryHeight = list.model()->rowCount() > 0 ? list.sizeHintForRow(0) : list.fontMetrics().height();
    const int room = cy - (box.geometry().bottom() + 1);
    box.setMaxVisibleItems(std::max(1, room / std::max(entryHeight, 1)));
}

} // namespace

QSize MinimumWindowSize(const QWidget& window, const QWidget& menuBar, const QHash<int, QWidget*>& controls)
{
    const RulePixels px(window);
    const QSize frame = window.frameGeometry().size() - window.geometry().size();
    QSize client(px(kMinimumOuterWidth) - frame.width(), px(kMinimumOuterHeight) - frame.height());
    if (!controls.isEmpty()) {
        // The boxes and the table keep a useful width beside the column.
        int right = 0;
        for (const int id : kWideningIds)
            right = std::max(right, controls.value(id)->x() + px(kSmallestBox) + px(kBoxesFromRight));
        const QWidget* table = controls.value(ControlId::CardTable);
        right = std::max(right, table->x() + px(kSmallestTable) + px(kTableFromRight));
        // Below the table's top: some rows, the filter bar (shown or not yet)
        // and the notice line; beside them, the column.
        const QWidget* bar = controls.value(ControlId::FilterBar);
        const int barHeight = bar != nullptr ? bar->sizeHint().height() : 0;
        int bottom = table->y() + px(kSmallestTable) + barHeight + NoticeHeight(*controls.value(ControlId::Notice), px);
        for (const ColumnPlace& column : kColumn)
            bottom = std::max(bottom, px(column.top + column.height));
        client = client.expandedTo(QSize(right, bottom));
    }
    return client + QSize(0, menuBar.heightForWidth(client.width()));
}

QSize PlaceMenuBar(QWidget& menuBar, QWidget& area, const QSize& window)
{
    const int barHeight = std::min(menuBar.heightForWidth(window.width()), std::max(window.height(), 0));
    menuBar.setGeometry(0, 0, window.width(), barHeight);
    area.setGeometry(0, barHeight, window.width(), window.height() - barHeight);
    return area.size();
}

void LayOutWindow(const QHash<int, QWidget*>& controls, int cx, int cy)
{
    if (controls.isEmpty())
        return;
    cx = std::max(cx, 0);
    cy = std::max(cy, 0);
    const auto control = [&controls](int id) { return controls.value(id); };
    const RulePixels px(*control(ControlId::CardTable));
    const auto place = [&](int id, int left, int top, int width, int height) {
        control(id)->setGeometry(left, top, std::max(width, 0), std::max(height, 0));
    };
    // Sizes only; the control keeps its left and top. The edit boxes and the
    // combo box keep their height: in Qt a combo box's list finds its own room.
    const auto resize = [&](int id, int width, int height) {
        control(id)->resize(std::max(width, 0), std::max(height, 0));
    };

    const int noticeHeight = NoticeHeight(*control(ControlId::Notice), px);
    const int noticeTop = cy - noticeHeight;
    place(ControlId::Notice, px(kNoticeLeft), noticeTop, px(kNoticeWidth), noticeHeight);
    for (const int id : kWideningIds)
        resize(id, cx - px(kBoxesFromRight) - control(id)->x(), control(id)->height());
    for (const ColumnPlace& column : kColumn)
        place(column.id, cx - px(kColumnFromRight), px(column.top), px(kColumnWidth),
              px(column.top + column.height) - px(column.top));
    // The table reaches down to the notice line; the filter bar, while
    // shown, takes its height from the bottom of the table.
    QWidget* table = control(ControlId::CardTable);
    const int barHeight = ShownBarHeight(control(ControlId::FilterBar));
    resize(ControlId::CardTable, cx - px(kTableFromRight) - table->x(), noticeTop - barHeight - table->y());
    if (barHeight > 0)
        place(ControlId::FilterBar, table->x(), table->y() + table->height(), table->width(), barHeight);
    for (const int id : {ControlId::Series, ControlId::Condition})
        FitDropDown(*qobject_cast<QComboBox*>(control(id)), cy);
}
