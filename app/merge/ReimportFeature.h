#pragma once

#include <QObject>

class CardTableModel;
class QWidget;
class UserQuestions;
struct CollectionChanges;
struct CsvImportResult;

// An import of a card app's export, which the window hands over from its
// CSV import: the first from an app adds its Cards as any import does;
// after that, what the export changes is shown before anything is written,
// and the collector's choice is made as one step.
class ReimportFeature : public QObject {
    Q_OBJECT

public:
    ReimportFeature(UserQuestions& questions, QWidget& window);

    // The import, read from the table as it is.
    void Review(CsvImportResult& imported, const CardTableModel& table);

signals:
    // The changes to make, as one step of that name.
    void ChangesAccepted(CollectionChanges& changes, const QString& stepText);
    // What the import did, for the notice line.
    void Noticed(const QString& notice);

private:
    UserQuestions& questions_;
    QWidget& window_;
};
