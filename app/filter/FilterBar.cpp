#include "app/filter/FilterBar.h"

#include "collection/filter/CardFilter.h"
#include "collection/CardTableModel.h"
#include "collection/filter/FilteredCardTable.h"
#include "resources/StringTable.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

FilterBar::FilterBar(FilteredCardTable& shown, QWidget* parent)
    : QWidget(parent)
    , shown_(shown)
    , edit_(new QLineEdit(this))
    , count_(new QLabel(this))
{
    setObjectName(QStringLiteral("filterBar"));
    edit_->setObjectName(QStringLiteral("filterEdit"));
    count_->setObjectName(QStringLiteral("filterCount"));
    edit_->setPlaceholderText(QString::fromUtf8(Text::FilterPlaceholder));
    edit_->setClearButtonEnabled(true);
    edit_->installEventFilter(this);
    setFocusProxy(edit_);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edit_, 1);
    layout->addWidget(count_);

    pending_.setSingleShot(true);
    pending_.setInterval(0);
    connect(edit_, &QLineEdit::textEdited, &pending_, qOverload<>(&QTimer::start));
    connect(&pending_, &QTimer::timeout, this, &FilterBar::ApplyFilter);
    // A note tells of the change just made only.
    connect(&shown_, &FilteredCardTable::CountsChanged, this, [this] {
        note_.clear();
        ShowCount();
    });
    connect(&shown_, &FilteredCardTable::AddedRowsHidden, this, [this](int count) {
        note_ = count == 1 ? QString::fromUtf8(Text::FilterHidesAddedCard)
                           : QString::fromUtf8(Text::FilterHidesAddedCards).arg(count);
        ShowCount();
    });
    connect(&shown_, &FilteredCardTable::ChangedRowHidden, this, [this] {
        note_ = QString::fromUtf8(Text::FilterHidesChangedCard);
        ShowCount();
    });
}

void FilterBar::Open()
{
    if (isHidden()) {
        QWidget* focus = QApplication::focusWidget();
        returnFocus_ = focus != nullptr && !isAncestorOf(focus) ? focus : nullptr;
        ApplyFilter();
        show();
        emit VisibilityChanged();
    }
    edit_->setFocus(Qt::ShortcutFocusReason);
    edit_->selectAll();
}

void FilterBar::Close()
{
    const bool hadFocus = isAncestorOf(QApplication::focusWidget());
    edit_->clear();
    pending_.stop();
    shown_.ClearFilter();
    hide();
    emit VisibilityChanged();
    if (hadFocus && returnFocus_)
        returnFocus_->setFocus(Qt::OtherFocusReason);
}

bool FilterBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape) {
            Close();
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (pending_.isActive())
                ApplyFilter();
            emit Accepted();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FilterBar::ApplyFilter()
{
    pending_.stop();
    shown_.SetFilterText(edit_->text());
}

void FilterBar::ShowCount()
{
    count_->setText(FilterCountText(shown_.rowCount(), shown_.Table().rowCount()) + note_);
}
