#pragma once

#include "base/FileStamp.h"

#include <QString>

#include <functional>

class QIODevice;

// How one save of the collection ended.
struct SaveOutcome {
    enum Kind { Written, LeftAsItWas, Failed };
    Kind kind = Written;
    // Why the collection file was not written, when it failed.
    QString reason;
    // When the file on disk was no longer the one last read or written: the
    // name it was kept under before being replaced.
    QString keptConflict;
    // When the collection file was not written: the recovery file that holds
    // the Cards instead, or empty when none could be written either.
    QString recovery;
};

// The collection file of one run. A save is written safely; a file changed
// behind the program's back is first kept beside it; the Cards go to a
// recovery file, the same one all run, when the file cannot be written or
// must be left as it was. One save at a time, on any thread.
class CollectionSaver {
public:
    using Writer = std::function<bool(QIODevice&)>;

    explicit CollectionSaver(const QString& path);

    const QString& Path() const { return path_; }

    // The file as the load found it.
    void Remember(const FileStamp& read) { known_ = read; }
    // The file could not be read: it is left as it is, and saves go to the
    // recovery file.
    void LeaveFile() { leaveFile_ = true; }
    // What each save waits for, on the thread it runs on, before it writes:
    // today's backup copy of the file, which must be on the disk first.
    void WaitBeforeWriting(std::function<void()> gate) { gate_ = std::move(gate); }

    SaveOutcome Save(const Writer& write);
    // Whether the file is still the one last read or written here, and is
    // the one saves go to.
    bool Unchanged() const;

private:
    bool KeepChangedFile(SaveOutcome& outcome);
    QString WriteRecovery(const Writer& write);

    QString path_;
    FileStamp known_;
    bool leaveFile_ = false;
    QString recovery_;
    std::function<void()> gate_;
};

// The folder a recovery file of the file at path goes to: the file's own
// when a new file can be made there, else the home folder.
QString RecoveryFolder(const QString& path);
