#pragma once

#include <QDate>
#include <QObject>
#include <QString>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>

class FileContents;

inline constexpr const char* kBackupFolderName = "backups";
inline constexpr int kKeptBackups = 14;

// The name of the backup copy of a day: qmk-YYYY-MM-DD.dat.
QString BackupName(const QDate& day);

// Whether the data folder's backups folder holds no copy from today.
bool DailyBackupDue(const QString& folder, const QDate& today);

// Writes today's copy of qmk.dat, whose bytes are given, into the backups
// folder of the data folder, made when missing: a temporary file there is
// written and synced, then takes today's name (a copy of today that came
// meanwhile is kept instead), and the folder is synced; a kill at any moment
// leaves the copies as they were or with today's whole, and a temporary file
// that a kill left is removed the next time. Then all but the newest
// kKeptBackups copies are removed, today's always kept, even among copies
// dated later (a clock set back). Empty bytes have nothing to keep. False,
// with the reason, when the copy cannot be made.
bool WriteDailyBackup(const QString& folder, const QDate& today, std::string_view bytes, QString& reason);

// The same with the bytes of qmk.dat read here, when there is no copy from
// today yet. A missing or empty qmk.dat has nothing to keep, and one that
// cannot be read is left to the load to report.
bool MakeDailyBackup(const QString& folder, const QDate& today, QString& reason);

// Today's copy made from the bytes the load read, so that the file is not
// read again, on a thread of its own once the window is on the screen: the
// collector does not wait for it. Every save that writes over qmk.dat waits
// for it first (Wait), and makes it itself when it has not been started; so
// does the end of the object, so that the copy is made once a day whatever
// happens. The bytes are let go as soon as they are written.
class DailyBackup : public QObject {
    Q_OBJECT

public:
    // Failures are told to failed, on the thread the object lives on.
    DailyBackup(QString folder, QDate today, std::shared_ptr<const FileContents> bytes,
                std::function<void(const QString&)> failed);
    ~DailyBackup() override;

    // Makes the copy on a thread of its own; does nothing once it has begun.
    void Start();
    // Returns once the copy is whole and synced, or has failed; makes it on
    // this thread when it has not begun. Any thread may wait.
    void Wait();

private:
    void Make();

    QString folder_;
    QDate today_;
    std::shared_ptr<const FileContents> bytes_;
    std::function<void(const QString&)> failed_;
    std::mutex mutex_;
    std::condition_variable done_;
    bool begun_ = false;
    bool finished_ = false;
    QString failure_;
    bool failureTold_ = false;
    std::thread thread_;
};
