#include "cli/PricesCommand.h"

#include "cli/CliCollection.h"
#include "cli/CliOptions.h"
#include "collection/CardTableModel.h"
#include "collection/file/CollectionFile.h"
#include "collection/file/CollectionLock.h"
#include "collection/file/CollectionSaver.h"
#include "collection/lookup/LookupService.h"
#include "collection/prices/MarketRefresh.h"
#include "collection/prices/PriceHistory.h"
#include "resources/StringTable.h"

#include <QDate>
#include <QEventLoop>
#include <QTextStream>

namespace {

int RunPrices(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    CliOptions options;
    QString reason;
    const QString all = QStringLiteral("--all");
    if (!options.Parse(arguments, {QStringLiteral("--folder")}, {all}, reason) || options.Positional()
        != QStringList{QStringLiteral("refresh")}) {
        err << "quillmark-cli: " << (reason.isEmpty() ? QString::fromUtf8(Text::CliPricesUsage) : reason) << '\n';
        return kExitUsage;
    }
    CardTableModel table;
    CollectionLock lock(options.Value(QStringLiteral("--folder"), QStringLiteral(".")));
    if (!EnterFolder(options, reason) || !lock.Take(reason)) {
        err << "quillmark-cli: " << reason << '\n';
        return kExitFailure;
    }
    // Named once in the folder: the saver keeps the path it is given.
    CollectionSaver collection(QString::fromLatin1(kCollectionFileName));
    if (!ReadFolderCollection(collection, table, false, reason)) {
        err << "quillmark-cli: " << reason << '\n';
        return kExitFailure;
    }
    std::vector<PricedCard> cards;
    cards.reserve(std::size_t(table.rowCount()));
    for (int row = 0; row < table.rowCount(); ++row)
        cards.push_back({row, table.RowCard(row)});

    const QDate today = QDate::currentDate();
    QEventLoop loop;
    // One command per process: its own service, gone with its last request
    // before the application object is.
    LookupService service(CardSources::FromEnvironment());
    MarketRefresh refresh(service);
    QObject::connect(&refresh, &MarketRefresh::Progress, &loop, [&refresh, &err] {
        err << QString::fromUtf8(Text::RefreshMarketProgress)
                   .arg(refresh.Answered())
                   .arg(refresh.Requests())
                   .arg((refresh.MsLeft() + 999) / 1000)
            << '\n';
        err.flush();
    });
    QObject::connect(&refresh, &MarketRefresh::Finished, &loop, &QEventLoop::quit);
    refresh.Start(cards, table.Encoding(), today, options.Has(all));
    if (refresh.Running())
        loop.exec();

    for (const UnpricedCard& card : refresh.Unpriced())
        err << TerminalText(card.name) << ": " << card.why << '\n';
    bool written = true;
    if (!refresh.Priced().empty()) {
        for (const PricedCard& priced : refresh.Priced())
            table.SetRow(priced.row, priced.card);
        // The values come back from the databases at the next refresh: a
        // failed write leaves no recovery file.
        if (!WriteFolderCollection(collection, table, err, reason)) {
            err << "quillmark-cli: " << reason << '\n';
            return kExitFailure;
        }
        PriceHistory history(QString::fromLatin1(PriceHistory::kFileName));
        if (!history.Record(today, refresh.HistoryEntries(), reason)) {
            err << "quillmark-cli: " << QString::fromUtf8(Text::PricesHistoryNotWritten).arg(reason) << '\n';
            written = false;
        }
    }
    out << QString::fromUtf8(Text::RefreshMarketDone)
               .arg(refresh.Priced().size())
               .arg(refresh.Unpriced().size())
               .arg(refresh.SkippedToday())
        << '\n';
    return written && refresh.Unpriced().empty() ? kExitSuccess : kExitFailure;
}

} // namespace

CliCommand PricesCommand()
{
    return {"prices", "prices refresh [--folder DIR] [--all]",
            "Ask the card databases for the market values of the Cards.", RunPrices, Text::CliPricesDetails};
}
