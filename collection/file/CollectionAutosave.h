#pragma once

#include "collection/file/CollectionSaver.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <memory>

class CardTableModel;
class CardTableSnapshot;
class MessageInterface;
class QThread;

// Saves the collection file soon after every change of the card table. It
// learns of changes from the table's own signals, whatever command made
// them, and writes a snapshot of the rows on a thread of its own, so the
// window never waits for the disk. A failed save is reported once, and again
// only after one has succeeded; a file found changed is reported each time.
// The snapshot last written is kept, a pointer a row, so that the close can
// tell the file already holds the table without writing it again; so is
// whether the file as loaded holds exactly the bytes a save of the table
// would write.
class CollectionAutosave : public QObject {
    Q_OBJECT

public:
    // A change is written this long after the first change since the last
    // snapshot; one made while a save is being written waits for it.
    static constexpr std::chrono::milliseconds kDelay{500};

    CollectionAutosave(const CardTableModel& table, CollectionSaver& file, MessageInterface& messages,
                       std::chrono::milliseconds delay = kDelay);
    ~CollectionAutosave() override;

    // Changes from now on are saved. fileAsWritten tells that the file holds
    // the very bytes a save of the table as it is now would write.
    void Start(bool fileAsWritten = false);
    // Waits for a save being written, reports it, and saves nothing more.
    // Then leaves the table in the collection file: it is written, with the
    // boxes a save shows, unless the file is still as it was last read or
    // written here and holds the table already: the very rows the last save
    // wrote, or, with nothing changed since Start, the bytes a save would
    // write. True when the Cards are safe on disk.
    bool Finish();
    // Whether a change is yet to be saved, or is being saved.
    bool Saving() const { return delay_.isActive() || due_ || writing_ != nullptr; }

signals:
    // A save has been written, or has failed, and has been reported.
    void Saved();

private:
    void OnTableChanged();
    void SaveNow();
    void OnSaveWritten();

    const CardTableModel& table_;
    CollectionSaver& file_;
    MessageInterface& messages_;
    QTimer delay_;
    std::unique_ptr<QThread> writing_;
    std::shared_ptr<const CardTableSnapshot> saving_;
    std::shared_ptr<const CardTableSnapshot> written_;
    SaveOutcome outcome_;
    bool started_ = false;
    // The table has changed since Start, whose file held what a save of it writes.
    bool changed_ = false;
    bool startedAsWritten_ = false;
    // The delay ran out while a save was being written.
    bool due_ = false;
    bool failureReported_ = false;
};
