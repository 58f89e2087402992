#include "app/QuillmarkApp.h"

#include "app/DesktopMessages.h"
#include "app/MainWindow.h"
#include "app/TerminationWatcher.h"

QuillmarkApp::QuillmarkApp(int& argc, char** argv)
    : application_(argc, argv)
{
}

bool QuillmarkApp::Start()
{
    DesktopMessages messages;
    MainWindow window(messages);
    TerminationWatcher watcher;
    QObject::connect(&watcher, &TerminationWatcher::Requested, &window, [&window] { EndRunForTermination(window); });
    window.exec();
    return false;
}
