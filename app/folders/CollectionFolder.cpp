#include "app/folders/CollectionFolder.h"

#include "base/FileContents.h"
#include "base/MessageInterface.h"
#include "collection/file/CollectionLock.h"
#include "collection/file/DailyBackup.h"
#include "pages/SampleTemplates.h"
#include "prefs/RecentCollections.h"
#include "resources/StringTable.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

#include <utility>

namespace {

QString Shown(const QString& folder)
{
    return QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(folder).absoluteFilePath()));
}

} // namespace

CollectionFolder::CollectionFolder()
    : path_(QFileInfo(QDir::currentPath()).canonicalFilePath())
{
}

CollectionFolder::CollectionFolder(CollectionFolder&&) noexcept = default;

CollectionFolder& CollectionFolder::operator=(CollectionFolder&& other) noexcept
{
    if (backup_)
        backup_->Wait();
    path_ = std::move(other.path_);
    lock_ = std::move(other.lock_);
    backsUp_ = std::exchange(other.backsUp_, false);
    backup_ = std::move(other.backup_);
    return *this;
}

CollectionFolder::~CollectionFolder()
{
    if (backup_)
        backup_->Wait();
}

CollectionFolder::Refusal CollectionFolder::Prepare(const QString& folder, bool samplesRequired, QString& reason)
{
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir()) {
        reason = QString::fromUtf8(Text::FolderNotCreated).arg(Shown(folder));
        return Refusal::Unusable;
    }
    const QString path = QFileInfo(folder).canonicalFilePath();
    auto lock = std::make_unique<CollectionLock>(path);
    if (!lock->Take(reason))
        return Refusal::Locked;
    QString why;
    if (!CopyMissingSampleTemplates(path, why) && samplesRequired) {
        reason = QString::fromUtf8(Text::SamplesNotCopied).arg(Shown(path), why);
        return Refusal::Unusable;
    }
    path_ = path;
    lock_ = std::move(lock);
    backsUp_ = true;
    return Refusal::None;
}

void CollectionFolder::KeepBackupOf(std::shared_ptr<const FileContents> bytes, bool startNow, MessageInterface& messages)
{
    if (backup_)
        backup_->Wait();
    backup_.reset();
    const QDate today = QDate::currentDate();
    if (!backsUp_ || bytes == nullptr || bytes->size() == 0 || !DailyBackupDue(path_, today))
        return;
    backup_ = std::make_shared<DailyBackup>(path_, today, std::move(bytes), [&messages](const QString& why) {
        messages.ShowError(QString::fromUtf8(Text::BackupFailed).arg(why), QString::fromUtf8(Text::ErrorCaption));
    });
    if (startNow)
        backup_->Start();
}

void CollectionFolder::StartBackup() const
{
    if (backup_)
        backup_->Start();
}

std::function<void()> CollectionFolder::BackupGate() const
{
    return [backup = backup_] {
        if (backup)
            backup->Wait();
    };
}

bool CollectionFolder::Enter(QString& reason, bool remember)
{
    if (!QDir::setCurrent(path_)) {
        reason = QString::fromUtf8(Text::FolderNotEntered).arg(Shown(path_));
        return false;
    }
    if (remember)
        Remember();
    return true;
}

void CollectionFolder::Remember() const
{
    RecentCollections::Opened(path_);
}

void CollectionFolder::Leave()
{
    if (backup_)
        backup_->Wait();
    lock_.reset();
}

bool CollectionFolder::SwitchTo(const QString& folder, bool createMissing, const FolderSwitchSteps& steps,
                                MessageInterface& messages)
{
    const auto refuse = [&messages](const QString& reason) {
        messages.ShowError(reason + QStringLiteral("\r\n") + QString::fromUtf8(Text::CollectionStaysOpen),
                           QString::fromUtf8(Text::ErrorCaption));
        return false;
    };
    if (!createMissing && !QFileInfo(folder).isDir()) {
        RecentCollections::Forget(folder);
        return refuse(QString::fromUtf8(Text::RecentFolderGone).arg(Shown(folder)));
    }
    if (QFileInfo(folder).canonicalFilePath() == path_)
        return false;
    CollectionFolder next;
    QString reason;
    if (next.Prepare(folder, true, reason) != Refusal::None)
        return refuse(reason);
    // The other folder's lock is held from here on, so nobody can take it
    // while this collection is being written.
    if (!steps.saveCurrent()) {
        steps.stayOnCurrent();
        return false;
    }
    if (!next.Enter(reason)) {
        steps.stayOnCurrent();
        return refuse(reason);
    }
    // Lets go of this folder's lock.
    *this = std::move(next);
    steps.loadNew();
    return true;
}
