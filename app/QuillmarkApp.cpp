#include "app/QuillmarkApp.h"

#include "app/folders/CollectionFolder.h"
#include "app/window/DesktopMessages.h"
#include "app/MainWindow.h"
#include "app/window/TerminationWatcher.h"
#include "base/StepTimes.h"
#include "resources/StringTable.h"

#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <utility>

namespace {

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

// Runs the work once the window has painted itself for the first time: it
// waits behind the paint, which the collector is waiting for.
class AfterFirstPaint : public QObject {
public:
    AfterFirstPaint(QWidget& window, std::function<void()> work)
        : work_(std::move(work))
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide)
            StepTimes::Mark("window hidden");
        if (event->type() == QEvent::Paint && work_) {
            // Posted: the paint and the flush to the screen end first.
            QTimer::singleShot(0, this, [this] {
                StepTimes::Mark("first paint");
                std::exchange(work_, {})();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> work_;
};

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
           "Keeps a trading-card collection in FOLDER (created when missing), or in the\n"
           "current folder when none is given. The sample page templates are copied into\n"
           "the folder where it has none of its own. See also quillmark-cli --help.\n"
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
    // A folder named on the command line is made ready like the menu
    // entry's ~/Quillmark; with none, the program keeps to the one it is in,
    // given the sample templates where it can be.
    const bool named = arguments.size() == 1;
    DesktopMessages messages;
    CollectionFolder folder;
    QString reason;
    const CollectionFolder::Refusal refusal =
        folder.Prepare(named ? arguments.first() : QDir::currentPath(), named, reason);
    StepTimes::Mark("folder prepared");
    if (refusal == CollectionFolder::Refusal::Locked) {
        Refuse(reason, messages);
        return 1;
    }
    if (refusal != CollectionFolder::Refusal::None || !folder.Enter(reason, false)) {
        std::fprintf(stderr, "quillmark: %s\n", qPrintable(reason));
        return 1;
    }
    StepTimes::Mark("folder entered");
    MainWindow window(messages, std::move(folder));
    StepTimes::Mark("window made");
    // What the first paint does not need waits for it.
    AfterFirstPaint painted(window, [&window] {
        window.Folder().StartBackup();
        window.Folder().Remember();
        StepTimes::Mark("recent collections written");
        window.OfferConflictMerge();
    });
    TerminationWatcher watcher;
    QObject::connect(&watcher, &TerminationWatcher::Requested, &window, [&window] { EndRunForTermination(window); });
    window.exec();
    StepTimes::Mark("window closed, files written");
    window.Folder().Leave();
    StepTimes::Mark("today's backup finished, lock let go");
    // Every file is written and synced. What is left is memory, a million
    // rows of it at most, and the display's connection: the system takes
    // them back at once when the process ends, where freeing them piece by
    // piece would keep the collector waiting for nothing.
    std::fflush(nullptr);
    std::_Exit(0);
}
