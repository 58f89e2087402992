#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

// Reads the whole device. False when the device reports a read error.
bool ReadAll(QIODevice& device, QByteArray& bytes);

// How reading a file ended.
enum class FileRead {
    Read,
    // Nothing is at the path (a link to nothing included).
    Missing,
    // Something is there that is not a regular file: a named pipe, a device,
    // a socket. It is refused unread.
    NotRegular,
    // The system refused to open or read it (a folder among them).
    Failed,
};

// Opens a file for reading the way every file is read: without waiting (a
// named pipe with no writer would hold the program in open()), and only
// when it is a regular file. The descriptor, to be closed by the caller, or
// -1, with how it failed and, when asked for, why.
int OpenRegularFile(const QString& path, FileRead* failure = nullptr, QString* reason = nullptr);

// Reads a whole regular file. Anything else, however it is named, is refused
// with a reason that says what it is; a device is never read.
FileRead ReadRegularFile(const QString& path, QByteArray& bytes, QString* reason = nullptr);

// Reads a whole file. False, with the reason, when it is not Read.
bool ReadFile(const QString& path, QByteArray& bytes, QString* reason = nullptr);

// Makes an empty file where nothing is at the path; a name that is taken,
// by whatever, is left alone.
void CreateFileIfMissing(const QString& path);

// Reads a whole file the way the window reads its own files: one that does
// not exist is first created empty, and reads as empty.
bool ReadFileCreatingIfMissing(const QString& path, QByteArray& bytes);

// Where a write to path lands: the path itself, or, for a symbolic link, the
// file the chain of links ends at, which need not exist yet.
QString FinalTarget(const QString& path);

// Whether both paths name one existing file, by whatever names and links.
bool SameFile(const QString& a, const QString& b);

// Swaps two names in one step (renameat2 with RENAME_EXCHANGE). 0, or the
// system's error: EINVAL or ENOSYS where the file system cannot exchange,
// ENOENT when either is missing.
int ExchangeFiles(const QByteArray& first, const QByteArray& second);

// Gives a file a new name that nothing may hold yet. 0, or the system's
// error: EEXIST when the name is taken.
int RenameWithoutReplacing(const QByteArray& from, const QByteArray& to);

// The new version of a file, written and synced in a temporary file in the
// target's folder, then put in the target's place. The temporary file is
// removed when this ends unless it was put in place; once it has been
// exchanged with the target, what it holds is the caller's to keep or remove.
class PendingFile {
public:
    using Writer = std::function<bool(QIODevice&)>;
    // Swaps two names as ExchangeFiles does; 0 or the system's error.
    using Exchange = std::function<int(const QByteArray& first, const QByteArray& second)>;

    enum class Placed {
        // The file that was at the target is now at Temporary().
        Exchanged,
        // Nothing was at the target; the file is there now.
        New,
        // The file system cannot exchange two names: nothing was done.
        NoExchange,
        Failed,
    };

    // target: where the file goes, links already followed (FinalTarget).
    explicit PendingFile(QString target);
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    // Makes the temporary file, with the target's permissions when there is
    // one, and has the writer fill it; flushes and syncs it. False, with the
    // system's reason (a full disk says so), when any of it fails. Where the
    // file system allows, the file has no name until it is put in place, so
    // that a program killed meanwhile leaves nothing behind.
    bool Write(const Writer& writer, QString* reason = nullptr);

    // The size and modification time of the file written, as a stamp keeps them.
    qint64 WrittenSize() const { return size_; }
    qint64 WrittenModifiedNs() const { return modifiedNs_; }

    const QString& Target() const { return target_; }
    // The temporary file's name, once it has one; after an exchange, the
    // file the target held.
    const QString& Temporary() const { return temporary_; }

    // Puts the file written in the target's place by exchanging the two:
    // nothing is lost whatever another program put at the target meanwhile.
    Placed ExchangeWithTarget(const Exchange& exchange, QString* reason = nullptr);
    // Puts the file written in the target's place, replacing what is there.
    bool ReplaceTarget(QString* reason = nullptr);
    // Removes what is at Temporary(): after an exchange, the file the
    // target held, which the caller has found to be its own.
    void RemoveTemporary();

private:
    bool TakeTemporaryName(const std::function<int(const QByteArray&)>& make, int& error);
    // Gives a file without a name its temporary name.
    bool Name(QString* reason);

    QString target_;
    QString temporary_;
    // The file written, while it has no name.
    int file_ = -1;
    bool exchanged_ = false;
    qint64 size_ = 0;
    qint64 modifiedNs_ = 0;
};

// Writes a file safely: the content goes to a temporary file in the same
// folder, is flushed and synced, and then replaces the old file. The writer
// fills the device and returns false on any error; nothing is replaced then,
// and reason, when given, says why. A link is followed to the file it names.
// What is at the path and is not a regular file is never replaced: a named
// pipe, a terminal and the null, zero and full devices are written through
// (a pipe only while a program reads it), a folder and anything else refused.
bool WriteFileSafely(const QString& path, const std::function<bool(QIODevice&)>& writer, QString* reason = nullptr);
