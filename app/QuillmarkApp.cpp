#include "app/QuillmarkApp.h"

#include "app/MainWindow.h"
#include "app/MessageInterface.h"
#include "app/TerminationWatcher.h"

QuillmarkApp::QuillmarkApp(int& argc, char** argv)
    : application_(argc, argv)
{
}

bool QuillmarkApp::Start()
{
    // The program uses no network, so there is no socket layer to start, and
    // embedded-control hosting and the 3-D dialog look have no counterpart
    // here: the window is built and run directly.
    DesktopMessages messages;
    MainWindow window(messages);
    TerminationWatcher watcher;
    QObject::connect(&watcher, &TerminationWatcher::Requested, &window, [&window] { EndRunForTermination(window); });
    window.exec();
    return false;
}
