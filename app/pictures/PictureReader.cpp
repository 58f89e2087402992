#include "app/pictures/PictureReader.h"

#include "app/pictures/JpegFrame.h"

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

// A progressive JPEG (or a sequential one whose colours come in separate
// scans) is decoded through coefficient buffers for the whole picture,
// whatever size it is decoded to, which the reader's allocation limit does
// not cover: libjpeg would fill 2.7 GB for a file of a few hundred bytes
// that declares 30,000 by 30,000 pixels. Such a picture is refused from its
// header when those buffers would pass the limit: about 44 million pixels
// in the usual 4:2:0 colour sampling, 22 million at 4:4:4, 67 million grey.
// A JPEG whose frame cannot be found is not handed to the decoder either.
bool JpegTooLarge(const JpegFrame& frame)
{
    return !frame.found || (frame.wholeImageBuffers && frame.coefficientBytes > kLimitBytes);
}

QImage Read(QImageReader& reader, const JpegFrame& frame, const QSize& box)
{
    reader.setAllocationLimit(kPictureAllocationLimitMb);
    reader.setAutoTransform(true);
    if (reader.format() == "jpeg" && JpegTooLarge(frame))
        return {};
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
    // Read before the reader takes the device, which is left where it was.
    const JpegFrame frame = ReadJpegFrame(device);
    QImageReader reader(&device);
    return Read(reader, frame, box);
}
