#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>

class QIODevice;

// One version of a file as the program last saw it: its size, its
// modification time and a checksum of its bytes.
struct FileStamp {
    bool exists = false;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    QByteArray checksum;

    bool operator==(const FileStamp&) const = default;
};

// The checksum a stamp keeps of some bytes.
QByteArray Checksum(QByteArrayView bytes);

// The stamp of the file as it is on disk now, whose bytes have the given
// checksum: they were just read or written.
FileStamp StampOf(const QString& path, const QByteArray& checksum);

// Which file a look found: the file system's number for it, and when it
// last changed (its ctime), which every write, rename and change of its
// times moves on and no program can set back.
struct FileIdentity {
    qint64 device = -1;
    qint64 inode = -1;
    qint64 changedNs = -1;

    bool Known() const { return inode >= 0; }
    // The same file, whatever befell it since.
    bool SameFileAs(const FileIdentity& other) const
    {
        return Known() && device == other.device && inode == other.inode;
    }
    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file at the path now, links followed; not Known when
// nothing is there.
FileIdentity IdentityOf(const QString& path);

// Whether the file on disk is still the stamped one. Its size and time are
// looked at first; when they agree its bytes are summed, since a copy made
// by another program can keep both. When it is, and nothing changed it while
// it was summed, identity is set to the file found; else it is not Known.
bool IsStillStamped(const QString& path, const FileStamp& stamp, FileIdentity* identity = nullptr);

// The writer, writing through a device that sums what it writes into
// checksum, to be read once the writer has returned.
std::function<bool(QIODevice&)> Checksummed(const std::function<bool(QIODevice&)>& writer, QByteArray& checksum);
