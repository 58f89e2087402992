#include "app/cards/CardDetailsDialog.h"

#include "app/window/EncodingValidator.h"
#include "resources/StringTable.h"

#include <QCompleter>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

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
    layout->addWidget(buttons);
}

CardDetailsDialog::Texts CardDetailsDialog::Details() const
{
    Texts texts;
    for (int detail = 0; detail < kCardDetailCount; ++detail)
        texts[std::size_t(detail)] = edits_[std::size_t(detail)]->text();
    return texts;
}
