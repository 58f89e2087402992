#include "app/window/TerminationWatcher.h"

#include <QApplication>
#include <QDialog>
#include <QSessionManager>
#include <QSocketNotifier>

#include <atomic>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The signal handler can reach no object, so each watcher lends it the
// writing end of its own pipe here, as the descriptor plus one (0 is a free
// slot); every watcher hears every signal.
std::atomic<int> g_writeEnds[8];
std::atomic<int> g_watchers{0};

void OnSignal(int)
{
    const char byte = 1;
    for (const auto& end : g_writeEnds) {
        const int slot = end.load();
        if (slot > 0)
            [[maybe_unused]] const auto written = ::write(slot - 1, &byte, 1);
    }
}

} // namespace

TerminationWatcher::TerminationWatcher()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, pipe_) == 0) {
        for (auto& end : g_writeEnds) {
            int free = 0;
            if (end.compare_exchange_strong(free, pipe_[0] + 1)) {
                registered_ = true;
                break;
            }
        }
        notifier_ = new QSocketNotifier(pipe_[1], QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, [this] {
            char byte;
            [[maybe_unused]] const auto got = ::read(pipe_[1], &byte, 1);
            emit Requested();
        });
        if (registered_ && g_watchers.fetch_add(1) == 0) {
            struct sigaction action = {};
            action.sa_handler = OnSignal;
            sigemptyset(&action.sa_mask);
            action.sa_flags = SA_RESTART;
            for (const int signal : kSignals)
                ::sigaction(signal, &action, nullptr);
        }
    }
    if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(application, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { emit Requested(); });
    }
}

TerminationWatcher::~TerminationWatcher()
{
    if (registered_) {
        for (auto& end : g_writeEnds) {
            int mine = pipe_[0] + 1;
            if (end.compare_exchange_strong(mine, 0))
                break;
        }
        if (g_watchers.fetch_sub(1) == 1) {
            for (const int signal : kSignals)
                ::signal(signal, SIG_DFL);
        }
    }
    delete notifier_;
    for (const int end : pipe_) {
        if (end >= 0)
            ::close(end);
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
