#include "app/cards/CardDetailsDialog.h"

#include "app/window/EncodingValidator.h"
#include "resources/StringTable.h"

#include <QChartView>
#include <QCompleter>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QValueAxis>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr std::array<const char*, kCardDetailCount> kLabels = {
    Text::DetailGameLabel,     Text::DetailSetLabel,      Text::DetailNumberLabel, Text::DetailFinishLabel,
    Text::DetailLanguageLabel, Text::DetailLocationLabel, Text::DetailTagsLabel,   Text::DetailTradeLabel,
    Text::DetailWantLabel,     Text::DetailPrintLabel,    Text::DetailMarketLabel, Text::DetailMarketDateLabel,
    Text::DetailSourceLabel,
};

// The words the card databases and the card apps use, offered while typing.
QStringList Offered(int detail)
{
    switch (detail + kCardFieldCount) {
    case GameField:
        return {QStringLiteral("magic"), QStringLiteral("pokemon"), QStringLiteral("yugioh")};
    case FinishField:
        return {QStringLiteral("nonfoil"), QStringLiteral("foil"), QStringLiteral("etched"), QStringLiteral("holo"),
                QStringLiteral("reverse")};
    default:
        return {};
    }
}

} // namespace

CardDetailsDialog::CardDetailsDialog(const QString& cardName, const Texts& details, TextEncoding encoding,
                                     const std::function<void(char32_t)>& refused, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("cardDetailsDialog"));
    setWindowTitle(QString::fromUtf8(Text::CardDetailsCaption));
    auto* form = new QFormLayout;
    for (int detail = 0; detail < kCardDetailCount; ++detail) {
        auto* edit = new QLineEdit(details[std::size_t(detail)], this);
        const std::string_view key = kDetailKeys[std::size_t(detail)];
        edit->setObjectName(QStringLiteral("detail") + QString::fromLatin1(key.data(), qsizetype(key.size())));
        if (const QStringList offered = Offered(detail); !offered.isEmpty()) {
            auto* completer = new QCompleter(offered, edit);
            completer->setCaseSensitivity(Qt::CaseInsensitive);
            edit->setCompleter(completer);
        }
        // How many copies: a count or nothing, as Quantity is typed.
        if (detail + kCardFieldCount == TradeField || detail + kCardFieldCount == WantField)
            edit->setValidator(new QIntValidator(0, 999999999, edit));
        else
            edit->setValidator(new EncodingValidator(encoding, refused, edit));
        form->addRow(QString::fromUtf8(kLabels[std::size_t(detail)]), edit);
        edits_[std::size_t(detail)] = edit;
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    auto* name = new QLabel(cardName.isEmpty() ? QString::fromUtf8(Text::CardDetailsNoName) : cardName, this);
    name->setObjectName(QStringLiteral("cardDetailsName"));
    name->setTextFormat(Qt::PlainText);
    layout->addWidget(name);
    layout->addLayout(form);
    chart_ = new QChartView(this);
    chart_->setObjectName(QStringLiteral("priceHistoryChart"));
    chart_->setMinimumHeight(160);
    chart_->hide();
    layout->addWidget(chart_);
    layout->addWidget(buttons);
}

CardDetailsDialog::Texts CardDetailsDialog::Details() const
{
    Texts texts;
    for (int detail = 0; detail < kCardDetailCount; ++detail)
        texts[std::size_t(detail)] = edits_[std::size_t(detail)]->text();
    return texts;
}

// Prices in another currency than the latest do not share its scale: the
// chart shows the latest currency's.
void CardDetailsDialog::ShowPriceHistory(const std::vector<PricePoint>& points)
{
    if (points.empty()) {
        chart_->hide();
        return;
    }
    const QString currency = points.back().value.currency;
    auto* series = new QLineSeries;
    for (const PricePoint& point : points) {
        if (point.value.currency == currency)
            series->append(double(point.date.startOfDay().toMSecsSinceEpoch()), point.value.amount.toDouble());
    }
    auto* chart = new QChart;
    chart->legend()->hide();
    chart->setTitle(QString::fromUtf8(Text::PriceHistoryChartTitle) + QStringLiteral(" (%1)").arg(currency));
    chart->addSeries(series);
    auto* dates = new QDateTimeAxis;
    dates->setFormat(QStringLiteral("yyyy-MM-dd"));
    dates->setTickCount(std::clamp(int(series->count()), 2, 4));
    chart->addAxis(dates, Qt::AlignBottom);
    series->attachAxis(dates);
    // One day alone still needs a span to be drawn in.
    if (series->count() == 1)
        dates->setRange(points.back().date.addDays(-1).startOfDay(), points.back().date.addDays(1).startOfDay());
    auto* prices = new QValueAxis;
    prices->setLabelFormat(QStringLiteral("%.2f"));
    chart->addAxis(prices, Qt::AlignLeft);
    series->attachAxis(prices);
    chart_->setChart(chart);
    chart_->show();
}
