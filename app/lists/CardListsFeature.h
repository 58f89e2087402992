#pragma once

#include <QObject>

class CardTableModel;
class MessageInterface;
class QWidget;
class WindowActions;
struct CardListPage;
struct Preferences;

// File > Publish Trade List and Publish Want List: pages of the Cards with
// copies for trade and of those still wanted, published as the Catalogue
// and the List are.
class CardListsFeature : public QObject {
    Q_OBJECT

public:
    CardListsFeature(WindowActions& actions, const CardTableModel& table, Preferences& prefs,
                     MessageInterface& messages, QWidget& window);

    void Publish(const CardListPage& list);

private:
    const CardTableModel& table_;
    Preferences& prefs_;
    MessageInterface& messages_;
};
