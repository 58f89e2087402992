#pragma once

#include "base/TextEncoding.h"
#include "collection/Card.h"

#include <QTreeWidget>

class QDialog;
class QLabel;

// The list of changes the re-import and merge dialogs show: one checkable
// item a Card, and below a changed Card one line a field, its two values
// side by side.
class ChangesTree : public QTreeWidget {
public:
    ChangesTree(const QStringList& headings, TextEncoding encoding, QWidget* parent);

    // A group heading at the top level, open.
    QTreeWidgetItem* AddGroup(const QString& text);
    // A Card under the group (at the top level when none), checked or not;
    // with before, its fields that differ from it below.
    QTreeWidgetItem* AddCard(QTreeWidgetItem* group, const Card& card, bool checked, const Card* before = nullptr);

    static bool Checked(const QTreeWidgetItem* item) { return item->checkState(0) == Qt::Checked; }

private:
    TextEncoding encoding_;
};

// Lays out a dialog of changes: the intro above the tree, then Cancel and an
// OK button worded and named for what it applies.
void LayOutChangesDialog(QDialog& dialog, QLabel* intro, ChangesTree* tree, const char* applyText,
                         const QString& applyName);
