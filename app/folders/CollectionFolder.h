#pragma once

#include <QString>

#include <functional>
#include <memory>

class CollectionLock;
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
    // its lock taken, the sample page templates copied in where it has
    // none of its own, and today's backup of its collection file made (a
    // backup that fails is shown, and refuses nothing). Templates that
    // cannot be copied refuse the folder only when samplesRequired (a
    // folder the user named); otherwise the page commands try again and say
    // why. Refused, the reason, to show, and nothing in the folder has been
    // read or written.
    Refusal Prepare(const QString& folder, bool samplesRequired, MessageInterface& messages, QString& reason);

    // Makes the prepared folder the working folder and the most recent of
    // the recent collections. False, with the reason, when it cannot be.
    bool Enter(QString& reason);

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
};
