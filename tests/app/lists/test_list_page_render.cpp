#include "support/RecordingMessages.h"
#include "support/TableRows.h"
#include "support/TempFolder.h"

#include "collection/CardTableModel.h"
#include "pages/lists/CardLists.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kChromium = QStringLiteral("/usr/bin/chromium");

// The page printed by the browser: how many sheets its PDF has; -1 when it
// could not be printed.
int PrintedSheets(const QString& page)
{
    QTemporaryDir profile;
    const QString pdf = profile.filePath(QStringLiteral("page.pdf"));
    QProcess browser;
    browser.start(kChromium, {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
                              QStringLiteral("--disable-gpu"), QStringLiteral("--disable-background-networking"),
                              QStringLiteral("--disable-component-update"), QStringLiteral("--disable-sync"),
                              QStringLiteral("--no-first-run"), QStringLiteral("--user-data-dir=") + profile.path(),
                              QStringLiteral("--no-pdf-header-footer"), QStringLiteral("--print-to-pdf=") + pdf,
                              QUrl::fromLocalFile(QDir::current().absoluteFilePath(page)).toString()});
    if (!browser.waitForFinished(120000)) {
        browser.kill();
        browser.waitForFinished();
        return -1;
    }
    QFile file(pdf);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return int(QString::fromLatin1(file.readAll()).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

Card ForTrade(const char* name, const char* series)
{
    Card card;
    card[NameField] = name;
    card[SeriesField] = series;
    card[QuantityField] = "1";
    card[TradeField] = "1";
    card[WantField] = "1";
    return card;
}

} // namespace

// The sample Trade and Want Lists as the browser prints them.
class TestListPageRender : public QObject {
    Q_OBJECT

private slots:
    // Each set starts a sheet of its own, the first one without a blank
    // sheet before it; a set that comes back further down the page starts
    // a sheet again.
    void eachSetPrintsOnItsOwnSheet()
    {
        if (!QFile::exists(kChromium))
            QSKIP("Chromium is not installed");
        TempFolder folder;
        CardTableModel table;
        SetTableRows(table, {ForTrade("A1", "Alpha"), ForTrade("A2", "Alpha"), ForTrade("B1", "Beta"),
                             ForTrade("C1", "Gamma"), ForTrade("C2", "Gamma")});
        Preferences prefs;
        RecordingMessages messages;
        PublishCardList(kTradeList, table, prefs, messages);
        QCOMPARE(PrintedSheets(QStringLiteral("trade.htm")), 3);

        SetTableRows(table, {ForTrade("A1", "Alpha"), ForTrade("A2", "Alpha"), ForTrade("A3", "Alpha")});
        PublishCardList(kWantList, table, prefs, messages);
        QCOMPARE(PrintedSheets(QStringLiteral("want.htm")), 1);

        SetTableRows(table, {ForTrade("A1", "Alpha"), ForTrade("B1", "Beta"), ForTrade("A2", "Alpha")});
        PublishCardList(kWantList, table, prefs, messages);
        QCOMPARE(PrintedSheets(QStringLiteral("want.htm")), 3);
        QCOMPARE(messages.shown.size(), 3);
    }
};

QTEST_MAIN(TestListPageRender)
#include "test_list_page_render.moc"
