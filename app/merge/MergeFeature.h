#pragma once

#include <QObject>

class CardTableModel;
class QWidget;
class UserQuestions;
class WindowActions;
struct CollectionChanges;

// File > Merge Collection: another copy of the collection merged into this
// one Card by Card, its conflicts settled in a dialog, as one step. A
// conflict file that a save kept beside the collection file is offered for
// merging, and renamed once merged.
class MergeFeature : public QObject {
    Q_OBJECT

public:
    MergeFeature(WindowActions& actions, const CardTableModel& table, UserQuestions& questions, QWidget& window);

    // Asks for a file and merges it.
    void AskAndMerge();
    void Merge(const QString& path);
    // Asks whether to merge the oldest conflict file of the working folder's
    // collection, when it has one, and merges it if so.
    void OfferConflictFile();

signals:
    void ChangesAccepted(CollectionChanges& changes, const QString& stepText);
    void Noticed(const QString& notice);

private:
    void MarkMergedFile(const QString& path);

    const CardTableModel& table_;
    UserQuestions& questions_;
    QWidget& window_;
};
