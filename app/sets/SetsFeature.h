#pragma once

#include "collection/Card.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <vector>

class CardTableModel;
class LookupService;
class MessageInterface;
class QWidget;
class SetsWindow;
class WindowActions;

// View > Set Completion: the Set Completion window, opened once and then
// brought to the front.
class SetsFeature : public QObject {
    Q_OBJECT

public:
    // cachePath is where the set sizes fetched are kept.
    SetsFeature(WindowActions& actions, const CardTableModel& table, MessageInterface& messages,
                LookupService& service, QWidget& window, QString cachePath);

    void Open();

signals:
    // Cards to add to the collection as one step.
    void WantedCardsChosen(const std::vector<Card>& cards);

private:
    const CardTableModel& table_;
    MessageInterface& messages_;
    LookupService& service_;
    QWidget& window_;
    QString cachePath_;
    QPointer<SetsWindow> sets_;
};
