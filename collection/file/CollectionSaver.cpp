#include "collection/file/CollectionSaver.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
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

// The name a file found changed is kept under, but for a number when taken.
QString ConflictStem(const QString& found)
{
    return QStringLiteral("%1.conflict-%2").arg(found, TimeSuffix());
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

CollectionSaver::CollectionSaver(const QString& path, PendingFile::Exchange exchange)
    : path_(QFileInfo(path).absoluteFilePath())
    , exchange_(std::move(exchange))
{
}

SaveOutcome CollectionSaver::Save(const Writer& write, Recovery recovery)
{
    if (gate_)
        gate_();
    SaveOutcome outcome;
    const auto notWritten = [&](SaveOutcome::Kind kind) {
        outcome.kind = kind;
        if (recovery == Recovery::Write)
            outcome.recovery = WriteRecovery(write);
        return outcome;
    };
    if (leaveFile_)
        return notWritten(SaveOutcome::LeftAsItWas);
    PendingFile pending(FinalTarget(path_));
    // The file found is summed now, while the system still holds its bytes
    // in memory (the write lets them go). Whether a file the exchange brings
    // out is that very file, unchanged, is then told by its number and its
    // change time, looked at just before the exchange, without reading it
    // again from the disk; any other file is summed after all.
    FileIdentity checked;
    const bool foundOurs = known_.exists && IsStillStamped(pending.Target(), known_, &checked);
    QByteArray checksum;
    if (!pending.Write(Checksummed(write, checksum), &outcome.reason))
        return notWritten(SaveOutcome::Failed);
    const bool untouched = foundOurs && checked.Known() && IdentityOf(pending.Target()) == checked;
    switch (pending.ExchangeWithTarget(exchange_, &outcome.reason)) {
    case PendingFile::Placed::Exchanged: {
        // Something was there, so a file known to be missing is not it.
        const bool ours = known_.exists
                          && ((untouched && IdentityOf(pending.Temporary()).SameFileAs(checked))
                              || IsStillStamped(pending.Temporary(), known_));
        if (ours)
            pending.RemoveTemporary();
        else
            KeepExchangedFile(pending, outcome);
        break;
    }
    case PendingFile::Placed::New:
        // Deleted behind the program's back: there is nothing to keep.
        break;
    case PendingFile::Placed::NoExchange: {
        struct stat found {};
        const bool there = ::lstat(QFile::encodeName(pending.Target()).constData(), &found) == 0;
        const bool ours = untouched || IsStillStamped(pending.Target(), known_);
        if (there && !ours && !KeepChangedFile(pending.Target(), outcome))
            return notWritten(SaveOutcome::Failed);
        if (!pending.ReplaceTarget(&outcome.reason)) {
            // The file found is still in place, so its copy would only mislead.
            if (!outcome.keptConflict.isEmpty()) {
                QFile::remove(outcome.keptConflict);
                outcome.keptConflict.clear();
            }
            return notWritten(SaveOutcome::Failed);
        }
        break;
    }
    case PendingFile::Placed::Failed:
        return notWritten(SaveOutcome::Failed);
    }
    known_.exists = true;
    known_.size = pending.WrittenSize();
    known_.modifiedNs = pending.WrittenModifiedNs();
    known_.checksum = checksum;
    return outcome;
}

bool CollectionSaver::Unchanged() const
{
    return !leaveFile_ && IsStillStamped(path_, known_);
}

// A second name for the file found, made before it is replaced, where the
// file system cannot exchange two files: a hard link needs no room on a full
// disk and cannot be half written. Where links are not allowed the bytes are
// copied.
bool CollectionSaver::KeepChangedFile(const QString& found, SaveOutcome& outcome)
{
    const QByteArray from = QFile::encodeName(found);
    const QString stem = ConflictStem(found);
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
        if (!ReadFile(found, bytes, &outcome.reason) || !WriteFileSafely(kept, copy, &outcome.reason)) {
            QFile::remove(kept);
            return false;
        }
    }
    outcome.keptConflict = kept;
    return true;
}

// The file the exchange brought out is given its conflict name. Where no
// name can be given it, it stays where the exchange left it, and is named
// there: it is never removed.
void CollectionSaver::KeepExchangedFile(PendingFile& pending, SaveOutcome& outcome)
{
    const QByteArray from = QFile::encodeName(pending.Temporary());
    int error = 0;
    const QString kept = MakeUnique(
        ConflictStem(pending.Target()), [&from](const QByteArray& to) { return RenameWithoutReplacing(from, to); },
        error);
    outcome.keptConflict = kept.isEmpty() ? pending.Temporary() : kept;
}

QString CollectionSaver::WriteRecovery(const Writer& write)
{
    if (!recovery_.isEmpty() && WriteFileSafely(recovery_, write))
        return recovery_;
    const QString name = QStringLiteral("%1.recovered-%2").arg(QFileInfo(path_).fileName(), TimeSuffix());
    for (const QString& folder : RecoveryFolders(path_)) {
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

QStringList RecoveryFolders(const QString& path)
{
    QStringList folders{QFileInfo(path).absolutePath()};
    // Without HOME the home folder is the root folder, which is no place for
    // a file of the user's.
    QStringList fallbacks;
    if (!qEnvironmentVariableIsEmpty("HOME"))
        fallbacks << QDir::homePath();
    fallbacks << QDir::tempPath();
    for (const QString& folder : fallbacks) {
        const QString clean = QDir::cleanPath(folder);
        if (clean != QDir::rootPath() && !folders.contains(clean))
            folders << clean;
    }
    return folders;
}

QString RecoveryFolder(const QString& path)
{
    const QStringList folders = RecoveryFolders(path);
    for (const QString& folder : folders) {
        QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".qmk-probe-XXXXXX")));
        if (probe.open())
            return folder;
    }
    return folders.last();
}
