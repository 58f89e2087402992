#pragma once

#include "base/TextEncoding.h"

#include <QByteArray>
#include <QDialog>

class PictureLoader;
class QImage;
class QLabel;
class QScrollArea;

// One Card's picture at full size, in a window of its own that scrolls when
// the picture is larger than the screen. The picture is read off the
// interface thread; one that cannot be had says so in the window.
class PictureDialog : public QDialog {
    Q_OBJECT

public:
    PictureDialog(PictureLoader& pictures, const QByteArray& pictureUrl, TextEncoding encoding, const QString& name,
                  QWidget* parent = nullptr);

    // True once the picture has been read or found missing.
    bool Settled() const { return settled_; }
    bool ShowsPicture() const;

private:
    void Show(const QByteArray& pictureUrl, const QImage& picture);

    QByteArray pictureUrl_;
    QScrollArea* area_ = nullptr;
    QLabel* picture_ = nullptr;
    bool settled_ = false;
};
