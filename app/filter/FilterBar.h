#pragma once

#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

class FilteredCardTable;
class QLabel;
class QLineEdit;

// The one-line bar below the card table: a field whose words filter the
// table's rows, and how many Cards are shown of how many. Escape in the
// field closes the bar and Enter picks the first shown Card; neither
// reaches the window, where they would end its run.
class FilterBar : public QWidget {
    Q_OBJECT

public:
    explicit FilterBar(FilteredCardTable& shown, QWidget* parent = nullptr);

    // Shows the bar, filtering by what its field holds, with the focus in
    // the field and its text selected.
    void Open();
    // Clears the field, shows every row again and hides the bar; the focus
    // goes back where it was before Open.
    void Close();

signals:
    // The bar was shown or hidden: the window lays itself out again.
    void VisibilityChanged();
    // Enter in the field, once the rows shown follow what it holds.
    void Accepted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ApplyFilter();
    void ShowCount();

    FilteredCardTable& shown_;
    QLineEdit* edit_;
    QLabel* count_;
    // Keystrokes that come faster than the rows are searched are searched
    // for together, once the typing has been taken in.
    QTimer pending_;
    // Why a Card just added or changed is not among the rows shown.
    QString note_;
    QPointer<QWidget> returnFocus_;
};
