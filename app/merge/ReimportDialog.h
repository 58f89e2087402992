#pragma once

#include "collection/merge/ReimportDiff.h"

#include <QDialog>

#include <vector>

class ChangesTree;
class QTreeWidgetItem;

// What importing an app's export again would change, before anything is:
// the Cards it adds, those it changes (each field's old and new value) and
// those it removes, each ticked to be made.
class ReimportDialog : public QDialog {
    Q_OBJECT

public:
    ReimportDialog(const ReimportDiff& diff, TextEncoding encoding, const QString& source, QWidget* parent = nullptr);

    // Marks the changes left unticked as not accepted.
    void CopyChoicesTo(ReimportDiff& diff) const;

private:
    ChangesTree* tree_;
    std::vector<QTreeWidgetItem*> added_;
    std::vector<QTreeWidgetItem*> changed_;
    std::vector<QTreeWidgetItem*> removed_;
};
