#pragma once

#include "base/FileAccess.h"
#include "base/FileStamp.h"

#include <QString>
#include <QStringList>

#include <functional>

class QIODevice;

// How one save of the collection ended.
struct SaveOutcome {
    enum Kind { Written, LeftAsItWas, Failed };
    Kind kind = Written;
    // Why the collection file was not written, when it failed.
    QString reason;
    // When the file on disk was no longer the one last read or written: the
    // name it was kept under.
    QString keptConflict;
    // When the collection file was not written: the recovery file that holds
    // the Cards instead, or empty when none could be written either.
    QString recovery;
};

// The collection file of one run. A save is written into a temporary file
// and then exchanged with the file on disk in one step, so that no other
// program's file can land between a look at the file and its replacement;
// the file that comes out is removed when it is the one last read or
// written here, and kept beside under a conflict name otherwise. Where the
// file system cannot exchange two files, the file is looked at just before
// it is replaced instead. The Cards go to a recovery file, the same one all
// run, when the file cannot be written or must be left as it was. One save
// at a time, on any thread.
class CollectionSaver {
public:
    using Writer = std::function<bool(QIODevice&)>;
    // Whether a save that fails leaves the Cards in a recovery file.
    enum class Recovery { Write, None };

    // exchange: how the file written and the file on disk swap names.
    explicit CollectionSaver(const QString& path, PendingFile::Exchange exchange = ExchangeFiles);

    const QString& Path() const { return path_; }

    // The file as the load found it.
    void Remember(const FileStamp& read) { known_ = read; }
    // The file could not be read: it is left as it is, and saves go to the
    // recovery file.
    void LeaveFile() { leaveFile_ = true; }
    // What each save waits for, on the thread it runs on, before it writes:
    // today's backup copy of the file, which must be on the disk first.
    void WaitBeforeWriting(std::function<void()> gate) { gate_ = std::move(gate); }

    SaveOutcome Save(const Writer& write, Recovery recovery = Recovery::Write);
    // Whether the file is still the one last read or written here, and is
    // the one saves go to.
    bool Unchanged() const;

private:
    bool KeepChangedFile(const QString& found, SaveOutcome& outcome);
    void KeepExchangedFile(PendingFile& pending, SaveOutcome& outcome);
    QString WriteRecovery(const Writer& write);

    QString path_;
    PendingFile::Exchange exchange_;
    FileStamp known_;
    bool leaveFile_ = false;
    QString recovery_;
    std::function<void()> gate_;
};

// The folders a recovery file of the file at path may go to, in the order
// they are tried: the file's own, the home folder, the system's temporary
// folder. Never the root folder that a missing home stands for.
QStringList RecoveryFolders(const QString& path);

// The folder a recovery file of the file at path goes to: the first of
// RecoveryFolders where a new file can be made.
QString RecoveryFolder(const QString& path);
