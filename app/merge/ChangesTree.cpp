#include "app/merge/ChangesTree.h"

#include "collection/merge/ChangeText.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

ChangesTree::ChangesTree(const QStringList& headings, TextEncoding encoding, QWidget* parent)
    : QTreeWidget(parent)
    , encoding_(encoding)
{
    setColumnCount(int(headings.size()));
    setHeaderLabels(headings);
    setUniformRowHeights(true);
    header()->setSectionResizeMode(QHeaderView::Interactive);
    header()->setDefaultSectionSize(220);
}

QTreeWidgetItem* ChangesTree::AddGroup(const QString& text)
{
    auto* group = new QTreeWidgetItem(this, {text});
    group->setFlags(Qt::ItemIsEnabled);
    group->setExpanded(true);
    return group;
}

QTreeWidgetItem* ChangesTree::AddCard(QTreeWidgetItem* group, const Card& card, bool checked, const Card* before)
{
    const QStringList label = {CardLabel(before != nullptr ? *before : card, encoding_)};
    auto* item = group != nullptr ? new QTreeWidgetItem(group, label) : new QTreeWidgetItem(this, label);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
    item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    if (before == nullptr)
        return item;
    for (int field = 0; field < kAllCardFieldCount; ++field) {
        const std::string& old = (*before)[std::size_t(field)];
        const std::string& now = card[std::size_t(field)];
        if (old != now)
            new QTreeWidgetItem(item, {FieldHeading(field), DecodeText(old, encoding_), DecodeText(now, encoding_)});
    }
    item->setExpanded(true);
    return item;
}

void LayOutChangesDialog(QDialog& dialog, QLabel* intro, ChangesTree* tree, const char* applyText,
                         const QString& applyName)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QString::fromUtf8(applyText));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(applyName);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(intro);
    layout->addWidget(tree);
    layout->addWidget(buttons);
    dialog.resize(720, 480);
}
