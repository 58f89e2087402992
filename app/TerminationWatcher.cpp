#include "app/TerminationWatcher.h"

#include <QApplication>
#include <QDialog>
#include <QSessionManager>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_pipe[2] = {-1, -1};

void OnSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_pipe[0], &byte, 1);
}

} // namespace

TerminationWatcher::TerminationWatcher()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_pipe) == 0) {
        notifier_ = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, [this] {
            char byte;
            [[maybe_unused]] const auto got = ::read(g_pipe[1], &byte, 1);
            emit Requested();
        });
        struct sigaction action = {};
        action.sa_handler = OnSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (const int signal : {SIGTERM, SIGINT, SIGHUP})
            ::sigaction(signal, &action, nullptr);
    }
    if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(application, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { emit Requested(); });
    }
}

TerminationWatcher::~TerminationWatcher()
{
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        ::signal(signal, SIG_DFL);
    delete notifier_;
    for (int& end : g_pipe) {
        if (end >= 0)
            ::close(end);
        end = -1;
    }
}

void EndRunForTermination(QDialog& window)
{
    for (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr && modal != &window;
         modal = QApplication::activeModalWidget()) {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        if (modal->isVisible())
            break;
    }
    window.reject();
}
