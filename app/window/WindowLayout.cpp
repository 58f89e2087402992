#include "app/window/WindowLayout.h"

#include "resources/ControlIds.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QWidget>

#include <algorithm>

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

// The boxes that only widen, by how much less than the client width.
struct Widening {
    int id;
    int lessThanClient;
};

constexpr Widening kWidening[] = {
    {ControlId::Description, 180},
    {ControlId::Url, 180},
    {ControlId::Year, 358},
    {ControlId::Quantity, 358},
    {ControlId::Series, 358},
};

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

QSize MinimumWindowSize(const QWidget& window, const QWidget& menuBar)
{
    const QSize frame = window.frameGeometry().size() - window.geometry().size();
    const QSize client(kMinimumOuterWidth - frame.width(), kMinimumOuterHeight - frame.height());
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
    const auto place = [&](int id, int left, int top, int width, int height) {
        control(id)->setGeometry(left, top, std::max(width, 0), std::max(height, 0));
    };
    // Sizes only; the control keeps its left and top. The edit boxes and the
    // combo box keep their height: in Qt a combo box's list finds its own room.
    const auto resize = [&](int id, int width, int height) {
        control(id)->resize(std::max(width, 0), std::max(height, 0));
    };

    place(ControlId::Notice, 3, cy - 15, 400, 15);
    for (const Widening& box : kWidening)
        resize(box.id, cx - box.lessThanClient, control(box.id)->height());
    for (const ColumnPlace& column : kColumn)
        place(column.id, cx - 85, column.top, 75, column.height);
    // The filter bar, while shown, takes its height from the bottom of the table.
    QWidget* bar = control(ControlId::FilterBar);
    const int barHeight = bar != nullptr && !bar->isHidden() ? bar->sizeHint().height() : 0;
    resize(ControlId::CardTable, cx - 101, cy - 160 - barHeight);
    if (barHeight > 0) {
        const QRect table = control(ControlId::CardTable)->geometry();
        place(ControlId::FilterBar, table.left(), table.top() + table.height(), table.width(), barHeight);
    }
    for (const int id : {ControlId::Series, ControlId::Condition})
        FitDropDown(*qobject_cast<QComboBox*>(control(id)), cy);
}
