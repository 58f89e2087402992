#include "base/FileAccess.h"

#include "resources/StringTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

QByteArray Encoded(const QString& path)
{
    return QFile::encodeName(path);
}

void SetReason(QString* reason, const QString& text)
{
    if (reason != nullptr)
        *reason = text;
}

QString SystemText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString SystemReason(const QString& path, int error)
{
    return QStringLiteral("%1: %2").arg(path, SystemText(error));
}

// What a file that is not a regular one is, in the words of a reason.
QString KindOf(mode_t mode)
{
    if (S_ISFIFO(mode))
        return QString::fromUtf8(Text::FileKindPipe);
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QString::fromUtf8(Text::FileKindDevice);
    if (S_ISSOCK(mode))
        return QString::fromUtf8(Text::FileKindSocket);
    return QString::fromUtf8(Text::FileKindSpecial);
}

template <typename Value>
void Set(Value* at, Value value)
{
    if (at != nullptr)
        *at = value;
}

qint64 ModifiedNs(const struct stat& info)
{
    return qint64(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
}

// The pages the system keeps of the file about to be replaced are let go
// first, as the replacement would let them go anyway: the new bytes then
// take memory just freed. On a virtual machine that is many times faster
// than memory the host has taken back. A pipe at the path is not waited on.
void LetGoOfCachedPages(const QString& path)
{
    const int file = ::open(Encoded(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (file < 0)
        return;
    struct stat info {};
    if (::fstat(file, &info) == 0 && S_ISREG(info.st_mode))
        ::posix_fadvise(file, 0, 0, POSIX_FADV_DONTNEED);
    ::close(file);
}

// Writes to a file descriptor, a piece of the file at a time, and keeps the
// system's error of the write that failed: a disk that fills up half way
// through a write is reported as full, not as an unknown error.
class DescriptorDevice : public QIODevice {
public:
    explicit DescriptorDevice(int file)
        : file_(file)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        held_.reserve(kPiece);
    }

    // Writes out what is held. False, with Error(), when the system refuses.
    bool Flush()
    {
        const bool written = Put(held_.constData(), held_.size());
        // Its memory is kept for the next piece.
        held_.resize(0);
        return written;
    }
    // The system's error of the write that failed, or 0.
    int Error() const { return error_; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        if (error_ != 0)
            return -1;
        if (held_.size() + size > kPiece && !Flush())
            return -1;
        if (size >= kPiece)
            return Put(data, size) ? size : -1;
        held_.append(data, size);
        return size;
    }

private:
    static constexpr qint64 kPiece = 1 << 16;

    bool Put(const char* data, qint64 size)
    {
        while (size > 0) {
            const ssize_t written = ::write(file_, data, std::size_t(std::min<qint64>(size, qint64(1) << 30)));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0) {
                error_ = written < 0 ? errno : EIO;
                setErrorString(SystemText(error_));
                return false;
            }
            data += written;
            size -= written;
        }
        return true;
    }

    int file_;
    QByteArray held_;
    int error_ = 0;
};

// Why a write failed: the system's error when there was one, else the
// writer's own failure.
QString WriteReason(const QString& path, int error)
{
    return error != 0 ? SystemReason(path, error) : QStringLiteral("%1: write error").arg(path);
}

// A write to a pipe that its reader has left ends in EPIPE, not in the
// signal that would end the program: held back on this thread while it
// writes, and taken off again if the write raised it.
class PipeSignalHeld {
public:
    PipeSignalHeld()
    {
        sigemptyset(&pipe_);
        sigaddset(&pipe_, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        wasPending_ = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipe_, &before_);
    }
    ~PipeSignalHeld()
    {
        if (!wasPending_) {
            const timespec none{};
            while (sigtimedwait(&pipe_, nullptr, &none) == SIGPIPE) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &before_, nullptr);
    }
    PipeSignalHeld(const PipeSignalHeld&) = delete;
    PipeSignalHeld& operator=(const PipeSignalHeld&) = delete;

private:
    sigset_t pipe_;
    sigset_t before_;
    bool wasPending_ = false;
};

// The terminals' device numbers: the virtual consoles and serial lines, the
// controlling terminal and console, and the pseudo-terminals.
bool IsTerminalDevice(dev_t device)
{
    const unsigned int number = major(device);
    return number == 4 || number == 5 || (number >= 136 && number <= 143);
}

// The files that are written through rather than replaced: a named pipe, a
// terminal, and the null, zero and full devices. Any other device is not
// opened at all.
bool MayWriteThrough(const struct stat& info)
{
    if (S_ISFIFO(info.st_mode))
        return true;
    if (!S_ISCHR(info.st_mode))
        return false;
    if (major(info.st_rdev) == 1)
        return minor(info.st_rdev) == 3 || minor(info.st_rdev) == 5 || minor(info.st_rdev) == 7;
    return IsTerminalDevice(info.st_rdev);
}

// Writes into the pipe or device at the path as it is.
bool WriteThrough(const QString& path, const struct stat& found, const std::function<bool(QIODevice&)>& writer,
                  QString* reason)
{
    if (!MayWriteThrough(found)) {
        SetReason(reason, QString::fromUtf8(Text::SpecialFileNotReplaced).arg(path, KindOf(found.st_mode)));
        return false;
    }
    // A pipe that no program reads would wait for one in open().
    const int file = ::open(Encoded(path).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (file < 0) {
        const int error = errno;
        SetReason(reason, error == ENXIO && S_ISFIFO(found.st_mode)
                              ? QString::fromUtf8(Text::PipeWithoutReader).arg(path)
                              : SystemReason(path, error));
        return false;
    }
    struct stat opened {};
    const bool same = ::fstat(file, &opened) == 0 && MayWriteThrough(opened)
                      && (opened.st_mode & S_IFMT) == (found.st_mode & S_IFMT)
                      && (!S_ISCHR(opened.st_mode) || !IsTerminalDevice(opened.st_rdev) || ::isatty(file) == 1);
    if (!same) {
        ::close(file);
        SetReason(reason, QString::fromUtf8(Text::SpecialFileNotReplaced).arg(path, KindOf(found.st_mode)));
        return false;
    }
    ::fcntl(file, F_SETFL, ::fcntl(file, F_GETFL) & ~O_NONBLOCK);
    bool written = false;
    int error = 0;
    {
        const PipeSignalHeld held;
        DescriptorDevice device(file);
        written = writer(device) && device.Flush();
        error = device.Error();
    }
    if (::close(file) != 0 && written && errno != EINTR) {
        written = false;
        error = errno;
    }
    if (!written)
        SetReason(reason, WriteReason(path, error));
    return written;
}

QString RandomSuffix()
{
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString suffix;
    for (int i = 0; i < 8; ++i)
        suffix += QLatin1Char(kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)]);
    return suffix;
}

} // namespace

bool ReadAll(QIODevice& device, QByteArray& bytes)
{
    // A file's size is known: its bytes go straight into the array, which
    // grows again only if the file grew meanwhile.
    constexpr qint64 kChunk = 1 << 16;
    const qint64 expected = device.isSequential() ? 0 : std::max<qint64>(device.size() - device.pos(), 0);
    bytes.resize(expected + kChunk);
    qint64 size = 0;
    while (true) {
        if (size == bytes.size())
            bytes.resize(size + std::max(size, kChunk));
        const qint64 got = device.read(bytes.data() + size, bytes.size() - size);
        if (got <= 0) {
            bytes.resize(size);
            return got == 0;
        }
        size += got;
    }
}

int OpenRegularFile(const QString& path, FileRead* failure, QString* reason)
{
    const QByteArray name = Encoded(path);
    // What is there is looked at before it is opened: opening a device may
    // do something of its own.
    struct stat info {};
    if (::stat(name.constData(), &info) != 0) {
        const int error = errno;
        Set(failure, error == ENOENT ? FileRead::Missing : FileRead::Failed);
        SetReason(reason, SystemReason(path, error));
        return -1;
    }
    if (S_ISDIR(info.st_mode)) {
        Set(failure, FileRead::Failed);
        SetReason(reason, SystemReason(path, EISDIR));
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        Set(failure, FileRead::NotRegular);
        SetReason(reason, QString::fromUtf8(Text::NotARegularFile).arg(path, KindOf(info.st_mode)));
        return -1;
    }
    const int file = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (file < 0) {
        const int error = errno;
        Set(failure, error == ENOENT ? FileRead::Missing : FileRead::Failed);
        SetReason(reason, SystemReason(path, error));
        return -1;
    }
    // Another program may have put something else there meanwhile.
    if (::fstat(file, &info) != 0 || !S_ISREG(info.st_mode)) {
        const bool folder = S_ISDIR(info.st_mode);
        ::close(file);
        Set(failure, folder ? FileRead::Failed : FileRead::NotRegular);
        SetReason(reason, folder ? SystemReason(path, EISDIR)
                                 : QString::fromUtf8(Text::NotARegularFile).arg(path, KindOf(info.st_mode)));
        return -1;
    }
    ::fcntl(file, F_SETFL, ::fcntl(file, F_GETFL) & ~O_NONBLOCK);
    return file;
}

FileRead ReadRegularFile(const QString& path, QByteArray& bytes, QString* reason)
{
    bytes.clear();
    FileRead failure = FileRead::Failed;
    const int file = OpenRegularFile(path, &failure, reason);
    if (file < 0)
        return failure;
    struct stat info {};
    ::fstat(file, &info);
    // A file's size is known: its bytes go straight into the array, which
    // grows again only if the file grew meanwhile.
    constexpr qint64 kChunk = 1 << 16;
    bytes.resize(qint64(info.st_size) + kChunk);
    qint64 size = 0;
    while (true) {
        if (size == bytes.size())
            bytes.resize(size + std::max(size, kChunk));
        const ssize_t got = ::read(file, bytes.data() + size, std::size_t(bytes.size() - size));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            const int error = errno;
            ::close(file);
            bytes.resize(got == 0 ? size : 0);
            if (got == 0)
                return FileRead::Read;
            SetReason(reason, SystemReason(path, error));
            return FileRead::Failed;
        }
        size += got;
    }
}

bool ReadFile(const QString& path, QByteArray& bytes, QString* reason)
{
    return ReadRegularFile(path, bytes, reason) == FileRead::Read;
}

void CreateFileIfMissing(const QString& path)
{
    const int file = ::open(Encoded(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NONBLOCK | O_CLOEXEC, 0666);
    if (file >= 0)
        ::close(file);
}

bool ReadFileCreatingIfMissing(const QString& path, QByteArray& bytes)
{
    CreateFileIfMissing(path);
    return ReadFile(path, bytes);
}

QString FinalTarget(const QString& path)
{
    QFileInfo link(path);
    if (!link.isSymLink())
        return path;
    for (int depth = 0; depth < 128 && link.isSymLink(); ++depth)
        link.setFile(link.symLinkTarget());
    return link.isSymLink() ? path : link.filePath();
}

bool SameFile(const QString& a, const QString& b)
{
    struct stat first {};
    struct stat second {};
    return ::stat(Encoded(a).constData(), &first) == 0 && ::stat(Encoded(b).constData(), &second) == 0
           && first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

int ExchangeFiles(const QByteArray& first, const QByteArray& second)
{
    return ::renameat2(AT_FDCWD, first.constData(), AT_FDCWD, second.constData(), RENAME_EXCHANGE) == 0 ? 0 : errno;
}

int RenameWithoutReplacing(const QByteArray& from, const QByteArray& to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // A second name cannot replace anything either.
    if (::link(from.constData(), to.constData()) == 0) {
        ::unlink(from.constData());
        return 0;
    }
    if (errno == EEXIST)
        return EEXIST;
    // A file system without either: looked at, then renamed.
    struct stat taken {};
    if (::lstat(to.constData(), &taken) == 0)
        return EEXIST;
    return ::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
}

PendingFile::PendingFile(QString target)
    : target_(std::move(target))
{
}

PendingFile::~PendingFile()
{
    if (file_ >= 0)
        ::close(file_);
    if (!exchanged_)
        RemoveTemporary();
}

void PendingFile::RemoveTemporary()
{
    if (!temporary_.isEmpty())
        ::unlink(Encoded(temporary_).constData());
    temporary_.clear();
}

// A name beside the target that nothing holds: made by make, which returns
// 0 or errno, EEXIST when the name is taken.
bool PendingFile::TakeTemporaryName(const std::function<int(const QByteArray&)>& make, int& error)
{
    const QFileInfo where(target_);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name =
            QDir(where.path()).filePath(QStringLiteral(".%1.new-%2").arg(where.fileName(), RandomSuffix()));
        error = make(Encoded(name));
        if (error == 0) {
            temporary_ = name;
            return true;
        }
        if (error != EEXIST)
            return false;
    }
    return false;
}

bool PendingFile::Write(const Writer& writer, QString* reason)
{
    const QByteArray target = Encoded(target_);
    struct stat existing {};
    const bool found = ::stat(target.constData(), &existing) == 0;
    if (found && S_ISDIR(existing.st_mode)) {
        SetReason(reason, SystemReason(target_, EISDIR));
        return false;
    }
    const bool exists = found && S_ISREG(existing.st_mode);
    // A file the user has made read-only is not replaced behind their back.
    if (exists && ::access(target.constData(), W_OK) != 0) {
        SetReason(reason, SystemReason(target_, errno));
        return false;
    }
    LetGoOfCachedPages(target_);
    // The file has no name until it is whole, so that a program killed while
    // writing it leaves nothing behind; where the file system cannot make
    // such a file, it has a hidden name from the start.
    int file = ::open(Encoded(QFileInfo(target_).path()).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    int error = 0;
    if (file < 0 && !TakeTemporaryName(
                        [&file](const QByteArray& name) {
                            file = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
                            return file < 0 ? errno : 0;
                        },
                        error)) {
        SetReason(reason, SystemReason(target_, error));
        return false;
    }
    // The new file takes the old one's permissions, and, where the program
    // may give them, its owner and group.
    if (exists) {
        ::fchmod(file, existing.st_mode & 07777);
        // Only root may give a file away; a file it cannot is still saved.
        [[maybe_unused]] const int owned = ::geteuid() == 0 ? ::fchown(file, existing.st_uid, existing.st_gid) : 0;
    }
    bool written = false;
    {
        DescriptorDevice device(file);
        written = writer(device) && device.Flush();
        error = device.Error();
    }
    // The bytes are on the disk before the file takes the old one's place.
    if (written && ::fsync(file) != 0 && errno != EINVAL) {
        written = false;
        error = errno;
    }
    struct stat info {};
    if (written && ::fstat(file, &info) == 0) {
        size_ = info.st_size;
        modifiedNs_ = ModifiedNs(info);
    }
    if (written && temporary_.isEmpty()) {
        // Named only when it is put in place.
        file_ = file;
        return true;
    }
    if (::close(file) != 0 && written && errno != EINTR) {
        written = false;
        error = errno;
    }
    if (!written) {
        SetReason(reason, WriteReason(target_, error));
        RemoveTemporary();
    }
    return written;
}

bool PendingFile::Name(QString* reason)
{
    if (file_ < 0)
        return !temporary_.isEmpty();
    // Through /proc, as an unprivileged program may; without /proc, by the
    // descriptor itself, as a privileged one may.
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(file_);
    const int file = file_;
    int error = 0;
    const bool named = TakeTemporaryName(
        [&self, file](const QByteArray& name) {
            if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0)
                return 0;
            if (errno != ENOENT)
                return errno;
            return ::linkat(file, "", AT_FDCWD, name.constData(), AT_EMPTY_PATH) == 0 ? 0 : errno;
        },
        error);
    ::close(file_);
    file_ = -1;
    if (!named)
        SetReason(reason, SystemReason(target_, error));
    return named;
}

PendingFile::Placed PendingFile::ExchangeWithTarget(const Exchange& exchange, QString* reason)
{
    if (!Name(reason))
        return Placed::Failed;
    const QByteArray from = Encoded(temporary_);
    const QByteArray to = Encoded(target_);
    // Each turn either swaps, or finds the target missing and puts the file
    // there; another program can make the one fail only by making the other
    // possible.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int error = exchange(from, to);
        if (error == 0) {
            exchanged_ = true;
            return Placed::Exchanged;
        }
        if (error == EINVAL || error == ENOSYS || error == EOPNOTSUPP)
            return Placed::NoExchange;
        if (error != ENOENT) {
            SetReason(reason, SystemReason(target_, error));
            return Placed::Failed;
        }
        const int placed = RenameWithoutReplacing(from, to);
        if (placed == 0) {
            temporary_.clear();
            return Placed::New;
        }
        if (placed != EEXIST) {
            SetReason(reason, SystemReason(target_, placed));
            return Placed::Failed;
        }
    }
    SetReason(reason, SystemReason(target_, EBUSY));
    return Placed::Failed;
}

bool PendingFile::ReplaceTarget(QString* reason)
{
    if (!Name(reason))
        return false;
    if (::rename(Encoded(temporary_).constData(), Encoded(target_).constData()) != 0) {
        SetReason(reason, SystemReason(target_, errno));
        return false;
    }
    temporary_.clear();
    return true;
}

bool WriteFileSafely(const QString& path, const std::function<bool(QIODevice&)>& writer, QString* reason)
{
    // The system follows the links itself, those of /proc among them: a
    // program's /dev/stdout leads to its pipe, which has no name to follow.
    struct stat found {};
    if (::stat(Encoded(path).constData(), &found) == 0 && !S_ISREG(found.st_mode)) {
        if (S_ISDIR(found.st_mode)) {
            SetReason(reason, SystemReason(path, EISDIR));
            return false;
        }
        return WriteThrough(path, found, writer, reason);
    }
    PendingFile pending(FinalTarget(path));
    return pending.Write(writer, reason) && pending.ReplaceTarget(reason);
}
