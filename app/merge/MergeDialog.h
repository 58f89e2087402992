#pragma once

#include "collection/merge/CollectionMerge.h"

#include <QDialog>

#include <vector>

class ChangesTree;
class QTreeWidgetItem;

// The conflicts of a merge, side by side: each Card that both copies hold
// with other texts, and below it the fields that differ, this collection's
// value beside the other file's. A ticked Card takes the other file's
// texts; the rest keep this collection's.
class MergeDialog : public QDialog {
    Q_OBJECT

public:
    MergeDialog(const CollectionMerge& merge, TextEncoding encoding, const QString& file, QWidget* parent = nullptr);

    void CopyChoicesTo(CollectionMerge& merge) const;

private:
    ChangesTree* tree_;
    std::vector<QTreeWidgetItem*> conflicts_;
};
