#pragma once

#include <QObject>

class CardTableModel;
class QWidget;
class UserQuestions;
class WindowActions;
struct CsvImportResult;

// File > Export to CSV and Import from CSV: the window's CSV commands.
class CsvFeature : public QObject {
    Q_OBJECT

public:
    CsvFeature(WindowActions& actions, const CardTableModel& table, UserQuestions& questions, QWidget& window);

    void Export();
    void Import();

signals:
    // What the export has to tell in the notice line.
    void Exported(const QString& notice);
    // The import read, for the history to apply as one step; the summary box
    // follows once it stands in the table.
    void Imported(CsvImportResult& import);

private:
    const CardTableModel& table_;
    UserQuestions& questions_;
    QWidget& window_;
};
