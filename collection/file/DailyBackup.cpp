#include "collection/file/DailyBackup.h"

#include "base/FileAccess.h"
#include "base/FileContents.h"
#include "base/StepTimes.h"
#include "collection/file/CollectionFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The niceness of the thread that makes the copy once the window is up.
constexpr int kBehindTheWindow = 10;

// The day of a backup copy's name; an invalid date for any other name.
QDate DayOf(const QString& name)
{
    if (!name.startsWith(QLatin1String("qmk-")) || !name.endsWith(QLatin1String(".dat")) || name.size() != 18)
        return {};
    return QDate::fromString(name.mid(4, 10), QStringLiteral("yyyy-MM-dd"));
}

// Removes all but the newest copies; other files are the collector's own.
// Today's copy always stays, even behind copies dated later by a clock that
// was ahead: it is the one that holds the collection as it is now.
void RemoveOldCopies(const QDir& backups, const QDate& today)
{
    std::vector<std::pair<QDate, QString>> copies;
    for (const QString& name : backups.entryList({QStringLiteral("qmk-*.dat")}, QDir::Files)) {
        const QDate day = DayOf(name);
        if (day.isValid())
            copies.emplace_back(day, name);
    }
    std::sort(copies.begin(), copies.end(), [&today](const auto& a, const auto& b) {
        if ((a.first == today) != (b.first == today))
            return a.first == today;
        return a.first > b.first;
    });
    for (std::size_t old = kKeptBackups; old < copies.size(); ++old)
        QFile::remove(backups.filePath(copies[old].second));
}

// The temporary files of copies: a dot, a copy's name and six characters.
bool IsTemporaryCopy(const QString& name)
{
    return name.size() == 26 && name.startsWith(QLatin1Char('.')) && DayOf(name.mid(1, 18)).isValid()
        && name.at(19) == QLatin1Char('.');
}

// Temporary files that a kill left in the middle of a copy; nobody else
// writes them while the folder's lock is held.
void RemoveLeftTemporaries(const QDir& backups)
{
    for (const QString& name : backups.entryList({QStringLiteral(".qmk-*.dat.*")}, QDir::Files | QDir::Hidden)) {
        if (IsTemporaryCopy(name))
            QFile::remove(backups.filePath(name));
    }
}

QString SystemReason(const QString& path, int error)
{
    return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(std::strerror(error)));
}

bool WriteAll(int file, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(file, bytes.data(), std::min<std::size_t>(bytes.size(), std::size_t(1) << 26));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = EIO;
            return false;
        }
        bytes.remove_prefix(std::size_t(written));
    }
    return true;
}

bool SyncFolder(const QByteArray& folder)
{
    const int handle = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0)
        return false;
    const bool synced = ::fsync(handle) == 0 || errno == EINVAL;
    ::close(handle);
    return synced;
}

} // namespace

QString BackupName(const QDate& day)
{
    return QStringLiteral("qmk-%1.dat").arg(day.toString(QStringLiteral("yyyy-MM-dd")));
}

bool DailyBackupDue(const QString& folder, const QDate& today)
{
    return !QFileInfo::exists(QDir(folder).filePath(QString::fromLatin1(kBackupFolderName) + QLatin1Char('/')
                                                    + BackupName(today)));
}

bool WriteDailyBackup(const QString& folder, const QDate& today, std::string_view bytes, QString& reason)
{
    if (bytes.empty())
        return true;
    const QDir data(folder);
    const QDir backups(data.filePath(QString::fromLatin1(kBackupFolderName)));
    const bool made = !backups.exists();
    if (!data.mkpath(QString::fromLatin1(kBackupFolderName)) || !QFileInfo(backups.path()).isDir()) {
        reason = QStringLiteral("%1: the folder could not be made").arg(QDir::toNativeSeparators(backups.path()));
        return false;
    }
    // The new folder's name is on the disk before anything is put in it.
    if (made)
        SyncFolder(QFile::encodeName(data.absolutePath()));
    RemoveLeftTemporaries(backups);
    const QString name = BackupName(today);
    QByteArray temporary = QFile::encodeName(backups.filePath(QLatin1Char('.') + name + QStringLiteral(".XXXXXX")));
    const int file = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (file < 0) {
        reason = SystemReason(backups.filePath(name), errno);
        return false;
    }
    const bool written = WriteAll(file, bytes) && ::fsync(file) == 0;
    const int error = errno;
    const bool closed = ::close(file) == 0;
    if (!written || !closed) {
        ::unlink(temporary.constData());
        // The bytes are those of a mapped qmk.dat, cut short in place since.
        if (!written && error == EFAULT)
            reason = QStringLiteral("%1: qmk.dat was cut short by another program while it was copied")
                         .arg(QDir::toNativeSeparators(backups.filePath(name)));
        else
            reason = SystemReason(backups.filePath(name), written ? EIO : error);
        return false;
    }
    const int renamed = RenameWithoutReplacing(temporary, QFile::encodeName(backups.filePath(name)));
    if (renamed != 0) {
        ::unlink(temporary.constData());
        if (renamed != EEXIST) {
            reason = SystemReason(backups.filePath(name), renamed);
            return false;
        }
    }
    if (!SyncFolder(QFile::encodeName(backups.absolutePath()))) {
        reason = SystemReason(backups.path(), errno);
        return false;
    }
    RemoveOldCopies(backups, today);
    return true;
}

bool MakeDailyBackup(const QString& folder, const QDate& today, QString& reason)
{
    if (!DailyBackupDue(folder, today))
        return true;
    FileContents bytes;
    if (bytes.Read(QDir(folder).filePath(QString::fromLatin1(kCollectionFileName))) != FileRead::Read)
        return true;
    return WriteDailyBackup(folder, today, bytes.View(), reason);
}

DailyBackup::DailyBackup(QString folder, QDate today, std::shared_ptr<const FileContents> bytes,
                         std::function<void(const QString&)> failed)
    : folder_(std::move(folder))
    , today_(today)
    , bytes_(std::move(bytes))
    , failed_(std::move(failed))
{
}

DailyBackup::~DailyBackup()
{
    Wait();
    if (thread_.joinable())
        thread_.join();
    // A failure the thread told after the object's last turn of events.
    if (!failure_.isEmpty() && !failureTold_ && failed_)
        failed_(failure_);
}

void DailyBackup::Start()
{
    std::lock_guard lock(mutex_);
    if (begun_)
        return;
    begun_ = true;
    thread_ = std::thread([this] {
        // Behind the window's own thread, which the collector is waiting on,
        // not beside it: on two cores the copy would otherwise take the one
        // the window's paint needs.
        ::setpriority(PRIO_PROCESS, pid_t(::gettid()), kBehindTheWindow);
        Make();
    });
}

void DailyBackup::Wait()
{
    std::unique_lock lock(mutex_);
    if (!begun_) {
        begun_ = true;
        lock.unlock();
        Make();
        return;
    }
    done_.wait(lock, [this] { return finished_; });
}

void DailyBackup::Make()
{
    QString reason;
    const bool made = bytes_ == nullptr || WriteDailyBackup(folder_, today_, bytes_->View(), reason);
    // The bytes go as soon as they are on the disk.
    bytes_.reset();
    StepTimes::Mark("today's backup copy written");
    {
        std::lock_guard lock(mutex_);
        finished_ = true;
        if (!made)
            failure_ = reason;
    }
    done_.notify_all();
    if (made)
        return;
    if (thread() == QThread::currentThread()) {
        failureTold_ = true;
        if (failed_)
            failed_(reason);
        return;
    }
    QMetaObject::invokeMethod(
        this,
        [this, reason] {
            if (std::exchange(failureTold_, true) || !failed_)
                return;
            failed_(reason);
        },
        Qt::QueuedConnection);
}
