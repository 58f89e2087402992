#include "collection/file/CollectionLock.h"

#include "resources/StringTable.h"

#include <QDir>
#include <QTemporaryFile>
#include <QThread>

namespace {

// Why no file can be made in the folder, in the system's words.
QString WhyNoFile(const QString& folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".qmk-probe-XXXXXX")));
    return probe.open() ? QStringLiteral("the lock file could not be written") : probe.errorString();
}

} // namespace

CollectionLock::CollectionLock(const QString& folder)
    : folder_(QDir(folder).absolutePath())
    , file_(QDir(folder_).filePath(QString::fromLatin1(kLockFileName)))
{
    // Held for a whole run: only a gone process makes the lock stale, never its age.
    file_.setStaleLockTime(0);
}

bool CollectionLock::Take(QString& refusal)
{
    if (file_.tryLock(0))
        return true;
    if (file_.error() != QLockFile::LockFailedError) {
        refusal = QString::fromUtf8(Text::FolderUnwritable).arg(QDir::toNativeSeparators(folder_), WhyNoFile(folder_));
        return false;
    }
    qint64 pid = 0;
    QString host;
    QString program;
    if (!file_.getLockInfo(&pid, &host, &program)) {
        // A lock file naming no process is being written this moment, or was
        // cut short by a crash: the one is given time, the other taken over.
        QThread::msleep(100);
        if (file_.tryLock(0))
            return true;
        if (!file_.getLockInfo(&pid, &host, &program) && file_.removeStaleLockFile() && file_.tryLock(0))
            return true;
    }
    // The lock names the program that holds it: a command-line import is
    // not a window the collector could go and close.
    const char* text = program == QLatin1String(kCliProgramName) ? Text::InUseByCli : Text::AlreadyOpen;
    refusal = QString::fromUtf8(text).arg(pid).arg(host);
    return false;
}
