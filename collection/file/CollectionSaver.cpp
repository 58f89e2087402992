#include "collection/file/CollectionSaver.h"

#include "base/FileAccess.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

QString TimeSuffix()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
}

QString SystemReason(const QString& path, int error)
{
    return QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(error)));
}

// Makes a file at the first free name of stem, stem-2, stem-3 and so on:
// make returns 0 or errno, EEXIST when the name is taken. Two failures in
// one second, or two programs failing into one home folder, thus never
// replace each other's file. Empty, with errno, when make fails otherwise.
QString MakeUnique(const QString& stem, const std::function<int(const QByteArray&)>& make, int& error)
{
    for (int n = 1; n <= 1000; ++n) {
        const QString name = n == 1 ? stem : QStringLiteral("%1-%2").arg(stem).arg(n);
        error = make(QFile::encodeName(name));
        if (error == 0)
            return name;
        if (error != EEXIST)
            return {};
    }
    return {};
}

int CreateEmpty(const QByteArray& path)
{
    const int file = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (file < 0)
        return errno;
    ::close(file);
    return 0;
}

} // namespace

CollectionSaver::CollectionSaver(const QString& path)
    : path_(QFileInfo(path).absoluteFilePath())
{
}

SaveOutcome CollectionSaver::Save(const Writer& write)
{
    if (gate_)
        gate_();
    SaveOutcome outcome;
    if (leaveFile_) {
        outcome.kind = SaveOutcome::LeftAsItWas;
        outcome.recovery = WriteRecovery(write);
        return outcome;
    }
    if (!IsStillStamped(path_, known_) && QFileInfo(path_).isFile() && !KeepChangedFile(outcome)) {
        outcome.kind = SaveOutcome::Failed;
        outcome.recovery = WriteRecovery(write);
        return outcome;
    }
    QByteArray checksum;
    if (WriteFileSafely(path_, Checksummed(write, checksum), &outcome.reason)) {
        known_ = StampOf(path_, checksum);
        return outcome;
    }
    // The file found is still in place, so its copy would only mislead.
    if (!outcome.keptConflict.isEmpty()) {
        QFile::remove(outcome.keptConflict);
        outcome.keptConflict.clear();
    }
    outcome.kind = SaveOutcome::Failed;
    outcome.recovery = WriteRecovery(write);
    return outcome;
}

bool CollectionSaver::Unchanged() const
{
    return !leaveFile_ && IsStillStamped(path_, known_);
}

// A second name for the file found, made before it is replaced: a hard link
// needs no room on a full disk and cannot be half written. Where links are
// not allowed the bytes are copied.
bool CollectionSaver::KeepChangedFile(SaveOutcome& outcome)
{
    const QByteArray from = QFile::encodeName(path_);
    const QString stem = QStringLiteral("%1.conflict-%2").arg(path_, TimeSuffix());
    int error = 0;
    QString kept = MakeUnique(stem, [&from](const QByteArray& to) { return ::link(from, to) == 0 ? 0 : errno; }, error);
    if (kept.isEmpty()) {
        QByteArray bytes;
        kept = MakeUnique(stem, CreateEmpty, error);
        if (kept.isEmpty()) {
            outcome.reason = SystemReason(stem, error);
            return false;
        }
        const auto copy = [&bytes](QIODevice& device) { return device.write(bytes) == bytes.size(); };
        if (!ReadFile(path_, bytes, &outcome.reason) || !WriteFileSafely(kept, copy, &outcome.reason)) {
            QFile::remove(kept);
            return false;
        }
    }
    outcome.keptConflict = kept;
    return true;
}

QString CollectionSaver::WriteRecovery(const Writer& write)
{
    if (!recovery_.isEmpty() && WriteFileSafely(recovery_, write))
        return recovery_;
    const QString name = QStringLiteral("%1.recovered-%2").arg(QFileInfo(path_).fileName(), TimeSuffix());
    for (const QString& folder : {QFileInfo(path_).absolutePath(), QDir::homePath()}) {
        int error = 0;
        const QString reserved = MakeUnique(QDir(folder).filePath(name), CreateEmpty, error);
        if (reserved.isEmpty())
            continue;
        if (WriteFileSafely(reserved, write)) {
            recovery_ = reserved;
            return recovery_;
        }
        QFile::remove(reserved);
    }
    return {};
}

QString RecoveryFolder(const QString& path)
{
    const QString folder = QFileInfo(path).absolutePath();
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".qmk-probe-XXXXXX")));
    return probe.open() ? folder : QDir::homePath();
}
