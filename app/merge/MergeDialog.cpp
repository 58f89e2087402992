#include "app/merge/MergeDialog.h"

#include "app/merge/ChangesTree.h"
#include "resources/StringTable.h"

#include <QLabel>

MergeDialog::MergeDialog(const CollectionMerge& merge, TextEncoding encoding, const QString& file, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("mergeDialog"));
    setWindowTitle(QString::fromUtf8(Text::MergeCaption));
    auto* intro =
        new QLabel(QString::fromUtf8(Text::MergeIntro).arg(merge.added.size()).arg(merge.same).arg(file), this);
    intro->setObjectName(QStringLiteral("mergeIntro"));
    intro->setTextFormat(Qt::PlainText);
    intro->setWordWrap(true);
    tree_ = new ChangesTree({QString::fromUtf8(Text::MergeTakeTheirs), QString::fromUtf8(Text::MergeMineColumn),
                             QString::fromUtf8(Text::MergeTheirsColumn)},
                            encoding, this);
    tree_->setObjectName(QStringLiteral("mergeConflicts"));
    for (const CollectionMerge::Conflict& conflict : merge.conflicts) {
        QTreeWidgetItem* item = tree_->AddCard(nullptr, conflict.theirs, conflict.takeTheirs, &conflict.mine);
        conflicts_.push_back(item);
    }
    LayOutChangesDialog(*this, intro, tree_, Text::MergeButton, QStringLiteral("mergeApply"));
}

void MergeDialog::CopyChoicesTo(CollectionMerge& merge) const
{
    for (std::size_t i = 0; i < conflicts_.size(); ++i)
        merge.conflicts[i].takeTheirs = ChangesTree::Checked(conflicts_[i]);
}
