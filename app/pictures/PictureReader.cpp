#include "app/pictures/PictureReader.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace {

constexpr qint64 kLimitBytes = qint64(kPictureAllocationLimitMb) << 20;

// What the decoded picture takes, at four bytes a pixel.
qint64 DecodedBytes(const QSize& size)
{
    return qint64(size.width()) * size.height() * 4;
}

bool Exceeds(const QSize& size, const QSize& box)
{
    return box.isValid() && (size.width() > box.width() || size.height() > box.height());
}

QImage Read(QImageReader& reader, const QSize& box)
{
    reader.setAllocationLimit(kPictureAllocationLimitMb);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid()) {
        if (size.isEmpty())
            return {};
        QSize target = Exceeds(size, box) ? size.scaled(box, Qt::KeepAspectRatio) : size;
        // Only the JPEG reader decodes straight into a smaller picture, at a
        // half, a quarter or an eighth of its size; the others decode the
        // whole picture first and scale it afterwards.
        if (reader.format() == "jpeg") {
            for (int part = 2; DecodedBytes(target) > kLimitBytes; part *= 2) {
                if (part > 8)
                    return {};
                target = QSize((size.width() + part - 1) / part, (size.height() + part - 1) / part);
            }
            if (target != size)
                reader.setScaledSize(target);
        } else if (DecodedBytes(size) > kLimitBytes) {
            return {};
        }
    }
    QImage image = reader.read();
    if (!image.isNull() && Exceeds(image.size(), box)) {
        // Scaled as it is, a picture of few colours would be dithered into dots.
        if (image.depth() <= 8)
            image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
        image = image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    return image;
}

} // namespace

QImage ReadPicture(const QString& path, const QSize& box)
{
    // A pipe or a device named as a picture would never end.
    if (!QFileInfo(path).isFile())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return ReadPicture(file, box);
}

QImage ReadPicture(QIODevice& device, const QSize& box)
{
    QImageReader reader(&device);
    return Read(reader, box);
}
