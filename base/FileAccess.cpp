#include "base/FileAccess.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace {

void SetReason(QString* reason, const QString& text)
{
    if (reason != nullptr)
        *reason = text;
}

} // namespace

bool ReadAll(QIODevice& device, QByteArray& bytes)
{
    bytes.clear();
    char chunk[1 << 16];
    while (true) {
        const qint64 got = device.read(chunk, sizeof chunk);
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        bytes.append(chunk, got);
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
