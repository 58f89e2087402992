#include "app/merge/ReimportDialog.h"

#include "app/merge/ChangesTree.h"
#include "resources/StringTable.h"

#include <QLabel>

namespace {

QString Group(const char* text, std::size_t count)
{
    return QString::fromUtf8(text).arg(count);
}

} // namespace

ReimportDialog::ReimportDialog(const ReimportDiff& diff, TextEncoding encoding, const QString& source,
                               QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("reimportDialog"));
    setWindowTitle(QString::fromUtf8(Text::ReimportCaption).arg(source));
    auto* intro = new QLabel(QString::fromUtf8(Text::ReimportIntro).arg(source), this);
    intro->setObjectName(QStringLiteral("reimportIntro"));
    intro->setTextFormat(Qt::PlainText);
    intro->setWordWrap(true);
    tree_ = new ChangesTree({QString::fromUtf8(Text::ReimportCardColumn), QString::fromUtf8(Text::ReimportOldColumn),
                             QString::fromUtf8(Text::ReimportNewColumn)},
                            encoding, this);
    tree_->setObjectName(QStringLiteral("reimportChanges"));
    if (!diff.added.empty()) {
        QTreeWidgetItem* group = tree_->AddGroup(Group(Text::ReimportAddedGroup, diff.added.size()));
        for (const ReimportDiff::Added& added : diff.added)
            added_.push_back(tree_->AddCard(group, added.card, added.accepted));
    }
    if (!diff.changed.empty()) {
        QTreeWidgetItem* group = tree_->AddGroup(Group(Text::ReimportChangedGroup, diff.changed.size()));
        for (const ReimportDiff::Changed& changed : diff.changed)
            changed_.push_back(tree_->AddCard(group, changed.after, changed.accepted, &changed.before));
    }
    if (!diff.removed.empty()) {
        QTreeWidgetItem* group = tree_->AddGroup(Group(Text::ReimportRemovedGroup, diff.removed.size()));
        for (const ReimportDiff::Removed& removed : diff.removed)
            removed_.push_back(tree_->AddCard(group, removed.card, removed.accepted));
    }
    LayOutChangesDialog(*this, intro, tree_, Text::ReimportApplyButton, QStringLiteral("reimportApply"));
}

void ReimportDialog::CopyChoicesTo(ReimportDiff& diff) const
{
    for (std::size_t i = 0; i < added_.size(); ++i)
        diff.added[i].accepted = ChangesTree::Checked(added_[i]);
    for (std::size_t i = 0; i < changed_.size(); ++i)
        diff.changed[i].accepted = ChangesTree::Checked(changed_[i]);
    for (std::size_t i = 0; i < removed_.size(); ++i)
        diff.removed[i].accepted = ChangesTree::Checked(removed_[i]);
}
