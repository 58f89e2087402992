#include "app/pictures/JpegFrame.h"

#include <QByteArray>
#include <QIODevice>

#include <algorithm>
#include <functional>

namespace {

// How much of a sequential device is looked at for the frame.
constexpr qint64 kSequentialPeek = 1 << 20;

// Bytes of the file from an offset, fewer at its end.
using ReadAt = std::function<QByteArray(qint64 offset, qint64 length)>;

int Byte(const QByteArray& bytes, qsizetype at)
{
    return std::uint8_t(bytes[at]);
}

int Word(const QByteArray& bytes, qsizetype at)
{
    return Byte(bytes, at) << 8 | Byte(bytes, at + 1);
}

bool IsFrameMarker(int marker)
{
    // SOF0 to SOF15, less DHT (C4), JPG (C8) and DAC (CC).
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Markers that stand alone, without a length: TEM and RST0 to RST7.
bool StandsAlone(int marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

qint64 RoundUp(qint64 value, qint64 step)
{
    return (value + step - 1) / step * step;
}

// The frame marker's body: precision, height, width, then each component's
// number, sampling factors and table.
bool ReadFrame(const QByteArray& body, int marker, JpegFrame& frame, int& components)
{
    frame = JpegFrame();
    if (body.size() < 6)
        return false;
    frame.height = Word(body, 1);
    frame.width = Word(body, 3);
    components = Byte(body, 5);
    if (components == 0 || body.size() < 6 + 3 * components)
        return false;
    int maxH = 1;
    int maxV = 1;
    for (int c = 0; c < components; ++c) {
        maxH = std::max(maxH, Byte(body, 6 + 3 * c + 1) >> 4);
        maxV = std::max(maxV, Byte(body, 6 + 3 * c + 1) & 15);
    }
    for (int c = 0; c < components; ++c) {
        const int h = std::max(1, Byte(body, 6 + 3 * c + 1) >> 4);
        const int v = std::max(1, Byte(body, 6 + 3 * c + 1) & 15);
        const qint64 blocksWide = (qint64(frame.width) * h + 8 * maxH - 1) / (8 * maxH);
        const qint64 blocksHigh = (qint64(frame.height) * v + 8 * maxV - 1) / (8 * maxV);
        frame.coefficientBytes += RoundUp(blocksWide, h) * RoundUp(blocksHigh, v) * 64 * 2;
    }
    // SOF2, SOF6, SOF10 and SOF14 are progressive.
    frame.progressive = (marker & 3) == 2;
    frame.wholeImageBuffers = frame.progressive;
    frame.found = true;
    return true;
}

// The next marker at or after offset at: any bytes up to an FF, then fill
// bytes of FF, then the marker's code. Leaves at after the code; -1 at the
// end of the bytes.
int NextMarker(const ReadAt& readAt, qint64& at)
{
    constexpr qint64 kChunk = 4096;
    bool afterFF = false;
    while (true) {
        const QByteArray chunk = readAt(at, kChunk);
        for (qsizetype i = 0; i < chunk.size(); ++i) {
            const int byte = Byte(chunk, i);
            if (afterFF && byte != 0xFF) {
                at += i + 1;
                return byte;
            }
            afterFF = byte == 0xFF;
        }
        if (chunk.size() < kChunk)
            return -1;
        at += chunk.size();
    }
}

JpegFrame Parse(const ReadAt& readAt)
{
    JpegFrame frame;
    if (readAt(0, 2) != QByteArrayLiteral("\xFF\xD8"))
        return frame;
    int components = 0;
    qint64 at = 2;
    while (true) {
        const int marker = NextMarker(readAt, at);
        if (marker < 0 || marker == 0xD9)
            return frame;
        // A stuffed zero byte, or a marker without a length.
        if (marker == 0x00 || StandsAlone(marker))
            continue;
        const QByteArray lengthBytes = readAt(at, 2);
        if (lengthBytes.size() < 2 || Word(lengthBytes, 0) < 2)
            return frame;
        const int length = Word(lengthBytes, 0);
        if (IsFrameMarker(marker) || marker == 0xDA) {
            const QByteArray body = readAt(at + 2, length - 2);
            if (body.size() < length - 2)
                return frame;
            if (marker == 0xDA) {
                // The first scan: the picture's data follows it, and a scan
                // of fewer components than the frame's leaves the rest to
                // later scans.
                if (frame.found && !body.isEmpty() && Byte(body, 0) < components)
                    frame.wholeImageBuffers = true;
                return frame;
            }
            if (!ReadFrame(body, marker, frame, components))
                return JpegFrame();
        }
        at += length;
    }
}

} // namespace

JpegFrame ReadJpegFrame(QIODevice& device)
{
    if (device.isSequential()) {
        const QByteArray peeked = device.peek(kSequentialPeek);
        return Parse([&peeked](qint64 offset, qint64 length) { return peeked.mid(offset, length); });
    }
    const qint64 start = device.pos();
    const JpegFrame frame = Parse([&device, start](qint64 offset, qint64 length) {
        return device.seek(start + offset) ? device.read(length) : QByteArray();
    });
    device.seek(start);
    return frame;
}
