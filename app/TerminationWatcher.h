#pragma once

#include <QObject>

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
    QSocketNotifier* notifier_ = nullptr;
};
