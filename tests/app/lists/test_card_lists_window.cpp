#include "support/WindowTest.h"

#include "resources/StringTable.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QTest>

#include <algorithm>

namespace {

// A record of qmk.dat with its Trade and Want counts, where they are set.
QByteArray Record(const QByteArray& name, const QByteArray& quantity, const QByteArray& trade,
                  const QByteArray& want)
{
    QByteArray record = CollectionBytes({{name, "Alpha", "Mint", "1999", "$1.00", quantity}});
    record.remove(0, record.indexOf('\n') + 1);
    if (!trade.isEmpty())
        record += "TRADE=" + trade + "\r\n";
    if (!want.isEmpty())
        record += "WANT=" + want + "\r\n";
    return record;
}

// The file keeps the bottom row first: the table reads Ash, Birch, Cedar.
QByteArray Collection()
{
    return "CREATOR=QMK 1.0\r\n" + Record("Cedar", "0", "", "2") + "\r\n" + Record("Birch", "1", "", "")
           + "\r\n" + Record("Ash", "4", "3", "");
}

} // namespace

// What the window's Trade and Want List commands do; the pages themselves
// are the lists' own tests.
class TestCardListsWindow : public QObject {
    Q_OBJECT

private slots:
    // Each command writes its page from the window's table, offers it,
    // opens it on Yes, and leaves the typed fields and qmk.ini's page
    // places as they were.
    void publishesEachList()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", Collection());
        for (const char* name : {"TradeOutside.htm", "WantOutside.htm"})
            f.folder.Write(name, "#TOTALCARDS#:#DATA#");
        f.folder.Write("TradeInside.htm", "#NAME# #TRADE#;");
        f.folder.Write("WantInside.htm", "#NAME# #WANT# #QUANTITY#;");
        MainWindow& window = f.Open();
        QCOMPARE(window.CardTable().rowCount(), 3);
        f.Type("nameEdit", QStringLiteral("half typed"));
        f.messages.answers = {true, false};
        Action(window, "publishTradeListAction")->trigger();
        Action(window, "publishWantListAction")->trigger();
        QVERIFY(f.folder.Read("trade.htm").startsWith("1:Ash 3;<tr>"));
        QVERIFY(f.folder.Read("want.htm").startsWith("1:Cedar 2 0;<tr>"));
        QCOMPARE(f.messages.shown.size(), 2);
        QVERIFY(f.messages.shown[0].text.contains(QStringLiteral("trade.htm")));
        QVERIFY(f.messages.shown[1].text.contains(QStringLiteral("want.htm")));
        QCOMPARE(f.messages.opened,
                 QList<QUrl>{QUrl::fromLocalFile(QDir::current().absoluteFilePath(QStringLiteral("trade.htm")))});
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("half typed"));
        f.Quit();
        const QByteArray prefs = f.folder.Read("qmk.ini");
        QVERIFY(!prefs.contains("trade") && !prefs.contains("want"));
    }

    // With no Card marked, each command says how to mark one and writes
    // no page.
    void saysWhenNoCardIsMarked()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", CollectionBytes({{"Birch", "Alpha"}}));
        MainWindow& window = f.Open();
        Action(window, "publishTradeListAction")->trigger();
        Action(window, "publishWantListAction")->trigger();
        QCOMPARE(f.messages.shown.size(), 2);
        QCOMPARE(f.messages.shown[0].text, QString::fromUtf8(Text::NoCardForTrade));
        QCOMPARE(f.messages.shown[0].kind, MessageKind::Information);
        QCOMPARE(f.messages.shown[1].text, QString::fromUtf8(Text::NoCardWanted));
        QVERIFY(!f.folder.Exists("trade.htm"));
        QVERIFY(!f.folder.Exists("want.htm"));
    }
};

QTEST_MAIN(TestCardListsWindow)
#include "test_card_lists_window.moc"
