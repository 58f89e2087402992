#pragma once

#include <QStyledItemDelegate>

// Paints a binder's pocket: the Card's picture, or a plain tile with its Name
// when it has none to show, and the Name below.
class BinderDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The height of a pocket's picture; its width follows a card's shape.
    void SetPictureHeight(int pixels);
    int PictureHeight() const { return pictureHeight_; }
    // The whole pocket, picture, Name and margins, in the given font.
    QSize PocketSize(const QFontMetrics& metrics) const;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    QSize PictureSize() const;

    int pictureHeight_ = 160;
};
