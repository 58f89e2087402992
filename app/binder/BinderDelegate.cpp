#include "app/binder/BinderDelegate.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kMargin = 6;
// A trading card is 63 by 88 millimetres.
constexpr double kCardAspect = 63.0 / 88.0;

QRect Centered(const QSize& size, const QRect& within)
{
    return QRect(within.x() + (within.width() - size.width()) / 2, within.y() + (within.height() - size.height()) / 2,
                 size.width(), size.height());
}

} // namespace

void BinderDelegate::SetPictureHeight(int pixels)
{
    pictureHeight_ = pixels;
    emit sizeHintChanged(QModelIndex());
}

QSize BinderDelegate::PictureSize() const
{
    return QSize(int(pictureHeight_ * kCardAspect + 0.5), pictureHeight_);
}

QSize BinderDelegate::PocketSize(const QFontMetrics& metrics) const
{
    const QSize picture = PictureSize();
    return QSize(picture.width() + 2 * kMargin, picture.height() + metrics.height() + 3 * kMargin);
}

QSize BinderDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return PocketSize(option.fontMetrics);
}

void BinderDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    const QRect pocket = Centered(PocketSize(option.fontMetrics), option.rect);
    const QPalette& palette = option.palette;
    const bool selected = option.state & QStyle::State_Selected;
    if (selected) {
        QPainterPath outline;
        outline.addRoundedRect(QRectF(pocket).adjusted(1, 1, -1, -1), kMargin, kMargin);
        painter->fillPath(outline, palette.brush(QPalette::Highlight));
    }

    const QRect picture(pocket.x() + kMargin, pocket.y() + kMargin, PictureSize().width(), PictureSize().height());
    const QString name = index.data(Qt::DisplayRole).toString();
    const QImage thumbnail = index.data(Qt::DecorationRole).value<QImage>();
    if (!thumbnail.isNull()) {
        // Rounded as a card's corners are.
        const QRect shown = Centered(thumbnail.size().scaled(picture.size(), Qt::KeepAspectRatio), picture);
        QPainterPath corners;
        corners.addRoundedRect(QRectF(shown), kMargin / 2.0, kMargin / 2.0);
        painter->setClipPath(corners);
        painter->drawImage(shown, thumbnail);
        painter->setClipping(false);
    } else {
        QPainterPath tile;
        tile.addRoundedRect(QRectF(picture).adjusted(0.5, 0.5, -0.5, -0.5), kMargin, kMargin);
        painter->fillPath(tile, palette.brush(QPalette::Button));
        painter->setPen(palette.color(QPalette::Mid));
        painter->drawPath(tile);
        painter->setPen(palette.color(QPalette::ButtonText));
        painter->drawText(picture.adjusted(kMargin, kMargin, -kMargin, -kMargin),
                          Qt::AlignCenter | Qt::TextWordWrap, name);
    }

    const QRect caption(pocket.x() + kMargin, picture.bottom() + 1 + kMargin, picture.width(),
                        option.fontMetrics.height());
    painter->setPen(palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(caption, Qt::AlignHCenter | Qt::AlignVCenter,
                      option.fontMetrics.elidedText(name, Qt::ElideRight, caption.width()));
    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect = pocket;
        focus.backgroundColor = palette.color(selected ? QPalette::Highlight : QPalette::Base);
        const QWidget* widget = option.widget;
        (widget ? widget->style() : QApplication::style())->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
    }
    painter->restore();
}
