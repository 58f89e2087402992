#pragma once

#include <QImage>
#include <QSize>

class QIODevice;
class QString;

// No picture is decoded into more memory than this, whatever its header says:
// a picture of 30,000 by 30,000 pixels is refused, not allocated.
inline constexpr int kPictureAllocationLimitMb = 128;

// Reads a picture, made to fit box when it is larger (kept as it is when box
// is not valid). A JPEG too large to decode within the limit is decoded at a
// half, a quarter or an eighth of its size; a progressive JPEG, which the
// decoder holds whole however small it decodes it, is refused from its
// header when that would take more than the limit; any other picture too
// large, or a file that is no picture, gives a null image. Only regular
// files are read.
QImage ReadPicture(const QString& path, const QSize& box);
QImage ReadPicture(QIODevice& device, const QSize& box);
