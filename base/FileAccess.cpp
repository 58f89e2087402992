#include "base/FileAccess.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void SetReason(QString* reason, const QString& text)
{
    if (reason != nullptr)
        *reason = text;
}

// The pages the system keeps of the file about to be replaced are let go
// first, as the replacement would let them go anyway: the new bytes then
// take memory just freed. On a virtual machine that is many times faster
// than memory the host has taken back. A pipe at the path is not waited on.
void LetGoOfCachedPages(const QString& path)
{
    const int file = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (file < 0)
        return;
    struct stat info {};
    if (::fstat(file, &info) == 0 && S_ISREG(info.st_mode))
        ::posix_fadvise(file, 0, 0, POSIX_FADV_DONTNEED);
    ::close(file);
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

bool ReadFile(const QString& path, QByteArray& bytes, QString* reason)
{
    bytes.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        SetReason(reason, QStringLiteral("%1: %2").arg(path, file.errorString()));
        return false;
    }
    if (!ReadAll(file, bytes)) {
        SetReason(reason, QStringLiteral("%1: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}

bool ReadFileCreatingIfMissing(const QString& path, QByteArray& bytes)
{
    if (!QFile::exists(path)) {
        QFile created(path);
        if (created.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            created.close();
    }
    return ReadFile(path, bytes);
}

bool WriteFileSafely(const QString& path, const std::function<bool(QIODevice&)>& writer, QString* reason)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        SetReason(reason, QStringLiteral("%1: %2").arg(path, file.errorString()));
        return false;
    }
    LetGoOfCachedPages(path);
    // QSaveFile::commit() renames the temporary file even when writing out
    // its buffer failed (a full disk), so the flush and the sync are checked
    // here, before the old file is replaced.
    const bool written = writer(file);
    const bool flushed = written && file.flush();
    const bool synced = flushed && (::fsync(file.handle()) == 0 || errno == EINVAL);
    if (!synced) {
        const QString why = !written || !flushed ? file.errorString() : QString::fromLocal8Bit(std::strerror(errno));
        SetReason(reason, QStringLiteral("%1: %2").arg(path, why.isEmpty() ? QStringLiteral("write error") : why));
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        SetReason(reason, QStringLiteral("%1: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}
