#pragma once

#include <QString>

#include <functional>
#include <memory>

class CollectionLock;
class DailyBackup;
class FileContents;
class MessageInterface;

// What the window does while its collection changes folders.
struct FolderSwitchSteps {
    // Writes the window's files as a close does; false when they could not
    // be written, and the window stays on them.
    std::function<bool()> saveCurrent;
    // Resumes work on the current collection after a switch that did not happen.
    std::function<void()> stayOnCurrent;
    // Reads the collection of the working folder, which is now the new one.
    std::function<void()> loadNew;
};

// The data folder a window's collection is kept in: the working folder,
// where the window reads and writes its files, its lock held while this
// lives. Every folder is made ready by the same rule, the one the program
// was started in and the ones opened from the window's menu alike.
class CollectionFolder {
public:
    enum class Refusal { None, Unusable, Locked };

    // The working folder, whose lock someone else answers for.
    CollectionFolder();
    CollectionFolder(CollectionFolder&&) noexcept;
    CollectionFolder& operator=(CollectionFolder&&) noexcept;
    ~CollectionFolder();

    const QString& Path() const { return path_; }

    // Makes the folder ready to hold a collection: created when missing,
    // its lock taken, and the sample page templates copied in where it has
    // none of its own; today's backup of its collection file is made from
    // the bytes its load reads (see KeepBackupOf). Templates that cannot be
    // copied refuse the folder only when samplesRequired (a folder the user
    // named); otherwise the page commands try again and say why. Refused,
    // the reason, to show, and nothing in the folder has been read or
    // written.
    Refusal Prepare(const QString& folder, bool samplesRequired, QString& reason);

    // Today's backup of a prepared folder's collection file, from the bytes
    // its load read, when the folder holds none from today: made on a thread
    // of its own once started (now, or by StartBackup once the window is on
    // the screen), and at the latest by the first save that writes over the
    // file, which waits for it (BackupGate). A backup that fails is shown,
    // and refuses nothing.
    void KeepBackupOf(std::shared_ptr<const FileContents> bytes, bool startNow, MessageInterface& messages);
    void StartBackup() const;
    // Returns once today's backup, if one is being made, is whole and
    // synced, making it on the calling thread if it has not begun; for
    // whatever writes over the collection file.
    std::function<void()> BackupGate() const;

    // The window is done with the folder: today's backup is waited for (made
    // here if nothing began it), and the lock is let go.
    void Leave();

    // Makes the prepared folder the working folder and, when remember, the
    // most recent of the recent collections (else Remember does that, when
    // the caller has the time). False, with the reason, when it cannot be.
    bool Enter(QString& reason, bool remember = true);
    void Remember() const;

    // Moves the window's collection to another folder: the folder is made
    // ready first, the current collection is saved as at a close, and only
    // then is the lock of the current folder let go and the other one
    // entered and loaded. A folder refused, or a save that fails, leaves the
    // current collection open, after a box. With createMissing false, a
    // missing folder is refused too and taken off the recent collections.
    // The folder already open is left as it is. True when the window moved.
    bool SwitchTo(const QString& folder, bool createMissing, const FolderSwitchSteps& steps,
                  MessageInterface& messages);

private:
    QString path_;
    std::unique_ptr<CollectionLock> lock_;
    bool backsUp_ = false;
    // Shared with the gate; made before the lock goes.
    std::shared_ptr<DailyBackup> backup_;
};
