#include "app/QuillmarkApp.h"

#include "app/DesktopMessages.h"
#include "app/MainWindow.h"
#include "app/SharedFiles.h"
#include "app/TerminationWatcher.h"
#include "collection/CollectionLock.h"
#include "collection/DailyBackup.h"
#include "pages/SampleTemplates.h"
#include "resources/StringTable.h"

#include <QDate>
#include <QDialog>
#include <QDir>

#include <cstdio>

namespace {

// A data folder named on the command line is created when missing and
// entered; it is made ready like the menu entry's ~/Quillmark once its lock
// is held. False, with the reason, when it cannot be.
bool EnterDataFolder(const QString& folder, QString& reason)
{
    if (!QDir().mkpath(folder)) {
        reason = QStringLiteral("%1: the folder cannot be created").arg(folder);
        return false;
    }
    if (!QDir::setCurrent(folder)) {
        reason = QStringLiteral("%1: the folder cannot be opened").arg(folder);
        return false;
    }
    return true;
}

// Said on standard error too, for whoever started the program from a shell.
// A termination request closes the box as it would close the window.
void Refuse(const QString& text, MessageInterface& messages)
{
    std::fprintf(stderr, "quillmark: %s\n", text.toLocal8Bit().constData());
    TerminationWatcher watcher;
    QObject::connect(&watcher, &TerminationWatcher::Requested, [] {
        if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            box->reject();
    });
    messages.ShowError(text, QString::fromUtf8(Text::ErrorCaption));
}

} // namespace

QuillmarkApp::QuillmarkApp(int& argc, char** argv)
    : application_(argc, argv)
{
    QCoreApplication::setApplicationVersion(QString::fromLatin1(Version()));
}

const char* QuillmarkApp::Usage()
{
    return "Usage: quillmark [FOLDER]\n"
           "\n"
           "Keeps a trading-card collection in FOLDER (created when missing, with the\n"
           "sample page templates copied in), or in the current folder when none is\n"
           "given. See also quillmark-cli --help.\n"
           "\n"
           "  --help     Show this help and exit.\n"
           "  --version  Show the version and exit.\n";
}

const char* QuillmarkApp::Version()
{
    return QUILLMARK_VERSION;
}

int QuillmarkApp::Start()
{
    QStringList arguments = QCoreApplication::arguments().mid(1);
    arguments.removeOne(QStringLiteral("--"));
    if (arguments.size() > 1 || (arguments.size() == 1 && arguments.first().startsWith(QLatin1Char('-')))) {
        std::fputs(Usage(), stderr);
        return 2;
    }
    QString reason;
    if (arguments.size() == 1 && !EnterDataFolder(arguments.first(), reason)) {
        std::fprintf(stderr, "quillmark: %s\n", qPrintable(reason));
        return 1;
    }
    DesktopMessages messages;
    const QString folder = QDir::currentPath();
    CollectionLock lock(folder);
    if (!lock.Take(reason)) {
        Refuse(reason, messages);
        return 1;
    }
    if (arguments.size() == 1 && !CopySampleTemplates(SharedFilePath(QStringLiteral("templates")), folder, reason)) {
        std::fprintf(stderr, "quillmark: %s\n", qPrintable(reason));
        return 1;
    }
    if (!MakeDailyBackup(folder, QDate::currentDate(), reason))
        messages.ShowError(QString::fromUtf8(Text::BackupFailed).arg(reason), QString::fromUtf8(Text::ErrorCaption));
    MainWindow window(messages);
    TerminationWatcher watcher;
    QObject::connect(&watcher, &TerminationWatcher::Requested, &window, [&window] { EndRunForTermination(window); });
    window.exec();
    return 0;
}
