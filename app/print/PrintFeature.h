#pragma once

#include <QObject>

class CardTableModel;
class FilteredCardTable;
class QPrinter;
class QWidget;
class UserQuestions;
class WindowActions;
struct Preferences;

// File > Print: the List of the Cards the filter shows, on paper or as a
// PDF file, from a preview.
class PrintFeature : public QObject {
    Q_OBJECT

public:
    PrintFeature(WindowActions& actions, const FilteredCardTable& shownCards, const Preferences& prefs,
                 UserQuestions& questions, QWidget& window);

    void Print();
    // Prints the Cards shown on the printer: what the preview shows and
    // what its Print button sends. Says so when the printer failed.
    bool PrintOn(QPrinter& printer);

private:
    const FilteredCardTable& shownCards_;
    const Preferences& prefs_;
    UserQuestions& questions_;
    QWidget& window_;
};
