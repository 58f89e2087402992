#include "app/pictures/PictureDialog.h"

#include "app/pictures/PictureLoader.h"
#include "resources/StringTable.h"

#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

PictureDialog::PictureDialog(PictureLoader& pictures, const QByteArray& pictureUrl, TextEncoding encoding,
                             const QString& name, QWidget* parent)
    : QDialog(parent)
    , pictureUrl_(pictureUrl)
{
    setObjectName(QStringLiteral("pictureDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(name);
    picture_ = new QLabel(QString::fromUtf8(Text::PictureReading));
    picture_->setObjectName(QStringLiteral("pictureLabel"));
    picture_->setAlignment(Qt::AlignCenter);
    area_ = new QScrollArea;
    area_->setWidget(picture_);
    area_->setWidgetResizable(true);
    area_->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(area_);
    resize(320, 200);
    connect(&pictures, &PictureLoader::PictureRead, this, &PictureDialog::Show);
    pictures.ReadWholePicture(pictureUrl, encoding);
}

bool PictureDialog::ShowsPicture() const
{
    return !picture_->pixmap().isNull();
}

void PictureDialog::Show(const QByteArray& pictureUrl, const QImage& picture)
{
    if (pictureUrl != pictureUrl_ || settled_)
        return;
    settled_ = true;
    if (picture.isNull()) {
        picture_->setText(QString::fromUtf8(pictureUrl.trimmed().isEmpty() ? Text::PictureNone : Text::PictureUnavailable));
        return;
    }
    picture_->setPixmap(QPixmap::fromImage(picture));
    // As large as the picture, within most of the screen; larger ones scroll.
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QSize room = screen ? screen->availableGeometry().size() * 9 / 10 : QSize(1024, 768);
    const int frame = 2 * area_->frameWidth();
    resize((picture.size().boundedTo(room - QSize(frame, frame)) + QSize(frame, frame)).expandedTo(QSize(240, 160)));
}
