#pragma once

#include <QObject>

#include <functional>

class QHeaderView;
class QMenu;

// The entries of the header's right-click menu that show and hide columns:
// every column by its heading, ticked while shown. The last column shown
// stays.
class ColumnMenu : public QObject {
    Q_OBJECT

public:
    // changed is called after the collector showed or hid a column.
    ColumnMenu(QHeaderView& header, std::function<void(int column, bool shown)> changed);

    void Fill(QMenu& menu);

private:
    QHeaderView& header_;
    std::function<void(int, bool)> changed_;
};
