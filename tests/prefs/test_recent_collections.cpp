#include "prefs/RecentCollections.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

#include <sys/file.h>

// The recent collections live in the user's configuration folder; here, a
// temporary one.
class TestRecentCollections : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        config_.emplace();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config_->path());
    }

    // Nine folders opened keep the last eight, most recent first; opening
    // one again moves it to the front instead of listing it twice.
    void orderAndLength()
    {
        QStringList opened;
        for (int i = 0; i < 9; ++i) {
            opened.prepend(Folder(QStringLiteral("c%1").arg(i)));
            RecentCollections::Opened(opened.first());
        }
        QCOMPARE(RecentCollections::Folders(), opened.mid(0, 8));
        RecentCollections::Opened(opened.at(5));
        const QStringList again = RecentCollections::Folders();
        QCOMPARE(again.size(), 8);
        QCOMPARE(again.first(), opened.at(5));
        QCOMPARE(again.count(opened.at(5)), 1);
        QVERIFY(!again.contains(opened.at(8)));
    }

    // The same folder named two ways is one entry, under its canonical path.
    void canonicalPaths()
    {
        const QString folder = Folder(QStringLiteral("binder"));
        QVERIFY(QFile::link(folder, data_.filePath(QStringLiteral("link"))));
        RecentCollections::Opened(data_.filePath(QStringLiteral("link")));
        RecentCollections::Opened(data_.filePath(QStringLiteral("binder/../binder/.")));
        QCOMPARE(RecentCollections::Folders(), QStringList{folder});
    }

    // A folder that is gone can still be forgotten by the name it was kept under.
    void forgetAGoneFolder()
    {
        const QString kept = Folder(QStringLiteral("kept"));
        const QString gone = Folder(QStringLiteral("gone"));
        RecentCollections::Opened(kept);
        RecentCollections::Opened(gone);
        QVERIFY(QDir(gone).removeRecursively());
        RecentCollections::Forget(gone);
        QCOMPARE(RecentCollections::Folders(), QStringList{kept});
        QVERIFY(QFile::exists(config_->filePath(QStringLiteral("quillmark/quillmark.conf"))));
    }

    // An empty lock beside the settings, left by a program killed while it
    // took it, is cleared, so the next write does not wait for Qt to take
    // it for stale; one a live program holds or has just made stays.
    void emptyLockOfAKilledProgram()
    {
        const QString lock = config_->filePath(QStringLiteral("quillmark/quillmark.conf.lock"));
        QVERIFY(QDir().mkpath(QFileInfo(lock).path()));
        QFile empty(lock);
        QVERIFY(empty.open(QIODevice::WriteOnly));
        RecentCollections::Folders();
        QVERIFY(QFile::exists(lock));
        QVERIFY(empty.setFileTime(QDateTime::currentDateTime().addSecs(-10), QFileDevice::FileModificationTime));
        QCOMPARE(::flock(empty.handle(), LOCK_EX | LOCK_NB), 0);
        RecentCollections::Folders();
        QVERIFY(QFile::exists(lock));
        empty.close();
        RecentCollections::Folders();
        QVERIFY(!QFile::exists(lock));
        const QString folder = Folder(QStringLiteral("binder"));
        RecentCollections::Opened(folder);
        QCOMPARE(RecentCollections::Folders(), QStringList{folder});
    }

private:
    QString Folder(const QString& name)
    {
        QDir().mkpath(data_.filePath(name));
        return QFileInfo(data_.filePath(name)).canonicalFilePath();
    }

    std::optional<QTemporaryDir> config_;
    QTemporaryDir data_;
};

QTEST_GUILESS_MAIN(TestRecentCollections)
#include "test_recent_collections.moc"
