#include "app/prices/MarketRefreshDialog.h"

#include "resources/StringTable.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

MarketRefreshDialog::MarketRefreshDialog(int cards, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("refreshMarketDialog"));
    setWindowTitle(QString::fromUtf8(Text::RefreshMarketCaption));
    setMinimumWidth(420);
    status_ = new QLabel(QString::fromUtf8(Text::RefreshMarketCards).arg(cards), this);
    status_->setObjectName(QStringLiteral("refreshMarketStatus"));
    status_->setTextFormat(Qt::PlainText);
    status_->setWordWrap(true);
    again_ = new QCheckBox(QString::fromUtf8(Text::RefreshMarketAgain), this);
    again_->setObjectName(QStringLiteral("refreshMarketAgain"));
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("refreshMarketProgress"));
    progress_->hide();
    unpriced_ = new QTableWidget(0, 2, this);
    unpriced_->setObjectName(QStringLiteral("refreshMarketUnpriced"));
    unpriced_->setHorizontalHeaderLabels(
        {QString::fromUtf8(Text::RefreshMarketNameColumn), QString::fromUtf8(Text::RefreshMarketWhyColumn)});
    unpriced_->horizontalHeader()->setStretchLastSection(true);
    unpriced_->verticalHeader()->hide();
    unpriced_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    unpriced_->hide();
    auto* buttons = new QDialogButtonBox(this);
    start_ = buttons->addButton(QString::fromUtf8(Text::RefreshMarketStart), QDialogButtonBox::AcceptRole);
    start_->setObjectName(QStringLiteral("refreshMarketStart"));
    start_->setEnabled(cards > 0);
    cancel_ = buttons->addButton(QDialogButtonBox::Cancel);
    cancel_->setObjectName(QStringLiteral("refreshMarketCancel"));
    connect(start_, &QPushButton::clicked, this, &MarketRefreshDialog::StartChosen);
    connect(cancel_, &QPushButton::clicked, this, &MarketRefreshDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(status_);
    layout->addWidget(again_);
    layout->addWidget(progress_);
    layout->addWidget(unpriced_);
    layout->addWidget(buttons);
}

bool MarketRefreshDialog::Again() const
{
    return again_->isChecked();
}

void MarketRefreshDialog::ShowStarted()
{
    running_ = true;
    start_->setEnabled(false);
    again_->setEnabled(false);
    progress_->setRange(0, 0);
    progress_->show();
}

void MarketRefreshDialog::ShowProgress(int answered, int requests, qint64 msLeft)
{
    progress_->setRange(0, std::max(requests, 1));
    progress_->setValue(answered);
    status_->setText(
        QString::fromUtf8(Text::RefreshMarketProgress).arg(answered).arg(requests).arg((msLeft + 999) / 1000));
}

void MarketRefreshDialog::ShowFinished(const QString& summary, const std::vector<UnpricedCard>& unpriced)
{
    running_ = false;
    progress_->setRange(0, 1);
    progress_->setValue(1);
    status_->setText(summary);
    cancel_->setText(QString::fromUtf8(Text::RefreshMarketClose));
    unpriced_->setRowCount(int(unpriced.size()));
    for (int row = 0; row < int(unpriced.size()); ++row) {
        unpriced_->setItem(row, 0, new QTableWidgetItem(unpriced[std::size_t(row)].name));
        unpriced_->setItem(row, 1, new QTableWidgetItem(unpriced[std::size_t(row)].why));
    }
    unpriced_->setVisible(!unpriced.empty());
    unpriced_->resizeColumnToContents(0);
}

// Closing while a refresh runs stops it; what it learnt is kept.
void MarketRefreshDialog::reject()
{
    if (running_)
        emit StopChosen();
    QDialog::reject();
}
