#pragma once

#include <QtGlobal>

class QIODevice;

// What a JPEG file's header says about the picture it holds, read from its
// markers before any decoder sees it: the frame (SOF) marker gives the size,
// the kind of coding and each colour component's sampling, and the first
// scan (SOS) marker whether all the components come in one scan.
struct JpegFrame {
    // False when the bytes are no JPEG, or its frame marker could not be
    // found before the first scan or the end of the header read.
    bool found = false;
    int width = 0;
    int height = 0;
    bool progressive = false;
    // Progressive coding, or sequential coding whose first scan leaves some
    // components to later scans: the decoder then keeps the coefficients of
    // the whole picture until the last scan, whatever size it is asked to
    // decode to.
    bool wholeImageBuffers = false;
    // What those coefficients take: 64 of two bytes for each 8 by 8 block of
    // each component, at its own sampling.
    qint64 coefficientBytes = 0;
};

// Reads the frame of the JPEG that starts at the device's position, and
// leaves the device where it was. Markers are skipped by their lengths
// (an Exif thumbnail inside an APP1 marker is not taken for the picture);
// a sequential device is read only as far as peek gives.
JpegFrame ReadJpegFrame(QIODevice& device);
