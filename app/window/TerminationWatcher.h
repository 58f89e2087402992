#pragma once

#include <QObject>

class QDialog;
class QSocketNotifier;

// Turns SIGTERM, SIGINT, SIGHUP and the desktop session's end into one
// signal, so the window can close the normal way and write its files.
class TerminationWatcher : public QObject {
    Q_OBJECT

public:
    TerminationWatcher();
    ~TerminationWatcher() override;

signals:
    void Requested();

private:
    // The signal handler writes into pipe_[0]; the notifier reads pipe_[1].
    int pipe_[2] = {-1, -1};
    bool registered_ = false;
    QSocketNotifier* notifier_ = nullptr;
};

// Ends the window's run as Cancel would, first cancelling any dialog or
// question open over it: their own runs would otherwise hold the window's.
void EndRunForTermination(QDialog& window);
