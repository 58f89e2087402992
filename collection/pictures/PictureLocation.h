#pragma once

#include "base/TextEncoding.h"

#include <QString>
#include <QUrl>

#include <string_view>

// Where a Card's Picture URL points: a file on this machine, a picture on the
// web, or nothing the program can fetch.
struct PictureLocation {
    enum class Kind { None, File, Web };

    Kind kind = Kind::None;
    // For a file: its absolute path.
    QString path;
    // For the web: the http or https address.
    QUrl url;
};

// Reads a Picture URL as the Catalogue page uses it: a path relative to the
// data folder, an absolute path, a file: URL or an http:/https: URL. The
// bytes are read as letters in the collection's encoding, as the page shows
// them; paths are taken as typed. A blank URL, another scheme or a file: URL
// naming another machine gives Kind::None.
PictureLocation LocatePicture(std::string_view pictureUrl, TextEncoding encoding, const QString& dataFolder);
