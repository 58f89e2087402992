#include "app/prices/MarketMoversWindow.h"

#include "collection/CardTableModel.h"
#include "resources/StringTable.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// "+$1.20 (+25%)": the change in the price's currency, and as a share of
// the price it was.
QString ChangeText(const PriceChange& change)
{
    const QString sign = change.change > 0 ? QStringLiteral("+") : QStringLiteral("-");
    const QString amount = MarketText({change.now.value.currency, QString::number(std::abs(change.change), 'f', 2)});
    const double then = change.then.value.amount.toDouble();
    if (then <= 0)
        return sign + amount;
    return QStringLiteral("%1%2 (%1%3%)").arg(sign, amount).arg(std::abs(change.change) / then * 100, 0, 'f', 0);
}

void Fill(QTableWidget& list, const std::vector<MarketMover>& movers, const CardTableModel& table)
{
    list.setRowCount(int(movers.size()));
    for (int at = 0; at < int(movers.size()); ++at) {
        const MarketMover& mover = movers[std::size_t(at)];
        const Card card = table.RowCard(mover.row);
        const QString series = DecodeText(card[SeriesField], table.Encoding());
        const QString texts[] = {DecodeText(card[NameField], table.Encoding()),
                                 series.isEmpty() ? DecodeText(card[SetCodeField], table.Encoding()) : series,
                                 MarketText(mover.change.then.value), MarketText(mover.change.now.value),
                                 ChangeText(mover.change)};
        for (int column = 0; column < 5; ++column) {
            auto* item = new QTableWidgetItem(texts[column]);
            item->setData(Qt::UserRole, mover.row);
            list.setItem(at, column, item);
        }
    }
    list.resizeColumnsToContents();
}

} // namespace

MarketMoversWindow::MarketMoversWindow(QDate since, QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("marketMoversWindow"));
    setWindowTitle(QString::fromUtf8(Text::MarketMoversCaption));
    since_ = new QDateEdit(since, this);
    since_->setObjectName(QStringLiteral("marketMoversSince"));
    since_->setCalendarPopup(true);
    since_->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    connect(since_, &QDateEdit::dateChanged, this, &MarketMoversWindow::SinceChanged);
    risers_ = MakeList("marketMoversRisers");
    fallers_ = MakeList("marketMoversFallers");
    auto* form = new QFormLayout;
    form->addRow(QString::fromUtf8(Text::MarketMoversSince), since_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(new QLabel(QString::fromUtf8(Text::MarketMoversRisers), this));
    layout->addWidget(risers_);
    layout->addWidget(new QLabel(QString::fromUtf8(Text::MarketMoversFallers), this));
    layout->addWidget(fallers_);
    resize(560, 520);
}

QTableWidget* MarketMoversWindow::MakeList(const char* objectName)
{
    auto* list = new QTableWidget(0, 5, this);
    list->setObjectName(QString::fromLatin1(objectName));
    list->setHorizontalHeaderLabels({QString::fromUtf8(Text::MarketMoversNameColumn),
                                     QString::fromUtf8(Text::MarketMoversSetColumn),
                                     QString::fromUtf8(Text::MarketMoversThenColumn),
                                     QString::fromUtf8(Text::MarketMoversNowColumn),
                                     QString::fromUtf8(Text::MarketMoversChangeColumn)});
    list->verticalHeader()->hide();
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    connect(list, &QTableWidget::itemDoubleClicked, this,
            [this](QTableWidgetItem* item) { emit CardChosen(item->data(Qt::UserRole).toInt()); });
    return list;
}

QDate MarketMoversWindow::Since() const
{
    return since_->date();
}

void MarketMoversWindow::SetMovers(const MarketMovers& movers, const CardTableModel& table)
{
    Fill(*risers_, movers.risers, table);
    Fill(*fallers_, movers.fallers, table);
}
