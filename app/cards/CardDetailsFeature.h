#pragma once

#include "base/TextEncoding.h"
#include "collection/Card.h"

#include <QObject>

#include <array>
#include <functional>
#include <string>

class QWidget;
class UserQuestions;
class WindowActions;

// Edit > Card Details: the printing details of the Card the window holds,
// edited in a dialog of their own.
class CardDetailsFeature : public QObject {
    Q_OBJECT

public:
    // heldCard gives the Card the window holds, encoding how the collection
    // stores text, folder where it is kept (with its price history).
    CardDetailsFeature(WindowActions& actions, UserQuestions& questions, QWidget& window,
                       std::function<Card()> heldCard, std::function<TextEncoding()> encoding,
                       std::function<QString()> folder);

    void Open();

signals:
    // The details as the collector left them, in the collection's encoding.
    void DetailsChosen(const CardDetails& details);

private:
    UserQuestions& questions_;
    QWidget& window_;
    std::function<Card()> heldCard_;
    std::function<TextEncoding()> encoding_;
    std::function<QString()> folder_;
};
