#include "support/WindowTest.h"

#include "app/print/PrintDocument.h"
#include "collection/CardTableModel.h"
#include "resources/StringTable.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTest>
#include <QTextDocument>
#include <QTextTable>

#include <algorithm>

namespace {

// Four Cards, top row first; the file keeps the bottom row first.
QByteArray Collection()
{
    QList<QList<QByteArray>> cards = {
        {"Ash Golem", "Alpha", "Mint", "1999", "$4.25", "2"},
        {"Birch <b>Wisp</b>", "Beta", "Played", "2001", "", "1"},
        {"Ash Drake", "Gamma", "Good", "2004", "$1.00", "3"},
        {"Cedar", "Alpha", "Poor", "1998"},
    };
    std::reverse(cards.begin(), cards.end());
    return CollectionBytes(cards);
}

QTextTable* TableOf(const QTextDocument& document)
{
    for (QTextFrame* frame : document.rootFrame()->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(frame))
            return table;
    }
    return nullptr;
}

// The document's table as lines of cells joined by '|', headings first.
QStringList Lines(const QTextDocument& document)
{
    QStringList lines;
    const QTextTable* table = TableOf(document);
    if (table == nullptr)
        return lines;
    for (int row = 0; row < table->rows(); ++row) {
        QStringList cells;
        for (int column = 0; column < table->columns(); ++column)
            cells << table->cellAt(row, column).firstCursorPosition().block().text();
        lines << cells.join(QLatin1Char('|'));
    }
    return lines;
}

void Filter(const WindowFixture& f, const QString& text)
{
    QTest::keyClick(f.Field("nameEdit"), Qt::Key_F, Qt::ControlModifier);
    f.Type("filterEdit", text);
    QCoreApplication::processEvents();
}

} // namespace

class TestPrint : public QObject {
    Q_OBJECT

private slots:
    // The printed List holds the List's columns for exactly the rows the
    // filter shows, in table order, values as plain text, under the owner's
    // name; with the filter cleared, every row.
    void documentHoldsTheShownRows()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", Collection());
        f.folder.Write("qmk.ini", "CREATOR=QMK 1.0\r\nNAME=Ann <Lee>\r\n");
        MainWindow& window = f.Open();
        const std::unique_ptr<QTextDocument> all = BuildPrintDocument(window.CardTable(), std::nullopt, window.Prefs());
        QCOMPARE(Lines(*all).size(), 5);
        QCOMPARE(Lines(*all)[0], QStringLiteral("Name|Series|Condition|Year|Price|Qty"));
        QVERIFY(all->toPlainText().startsWith(QStringLiteral("Card List of Ann <Lee>")));
        QVERIFY(all->toPlainText().contains(QStringLiteral("4 Cards.")));

        Filter(f, QStringLiteral("ash"));
        QCOMPARE(window.ShownRows(), (std::optional<std::vector<int>>{{0, 2}}));
        const std::unique_ptr<QTextDocument> shown =
            BuildPrintDocument(window.CardTable(), window.ShownRows(), window.Prefs());
        QCOMPARE(Lines(*shown),
                 QStringList({"Name|Series|Condition|Year|Price|Qty", "Ash Golem|Alpha|Mint|1999|$4.25|2",
                              "Ash Drake|Gamma|Good|2004|$1.00|3"}));
        QVERIFY(shown->toPlainText().contains(QStringLiteral("2 of 4 Cards")));

        Filter(f, QStringLiteral("wisp"));
        const std::unique_ptr<QTextDocument> markup =
            BuildPrintDocument(window.CardTable(), window.ShownRows(), window.Prefs());
        QCOMPARE(Lines(*markup).value(1), QStringLiteral("Birch <b>Wisp</b>|Beta|Played|2001||1"));
    }

    // Ctrl+P opens the preview; what it paints on a PDF printer is a PDF
    // file of the shown Cards. A PDF that cannot be written is reported.
    void printsThroughThePreview()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", Collection());
        MainWindow& window = f.Open();
        Filter(f, QStringLiteral("ash"));
        QAction* print = Action(window, "printAction");
        QCOMPARE(print->shortcut(), QKeySequence(QKeySequence::Print));
        const QString pdf = f.folder.Path(QStringLiteral("cards.pdf"));
        const QString unwritable = f.folder.Path(QStringLiteral("none/cards.pdf"));
        int previews = 0;
        f.questions.dialogScript = [&](QDialog& dialog) {
            auto* preview = qobject_cast<QPrintPreviewDialog*>(&dialog);
            if (preview == nullptr)
                return false;
            ++previews;
            for (const QString& path : {pdf, unwritable}) {
                QPrinter printer(QPrinter::HighResolution);
                printer.setOutputFormat(QPrinter::PdfFormat);
                printer.setOutputFileName(path);
                emit preview->paintRequested(&printer);
            }
            return true;
        };
        print->trigger();
        QCOMPARE(previews, 1);
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("%PDF-"));
        QVERIFY(bytes.size() > 1000);
        QVERIFY(!QFile::exists(unwritable));
        QCOMPARE(f.messages.shown.size(), 1);
        QCOMPARE(f.messages.shown[0].kind, MessageKind::Warning);
        QVERIFY(f.messages.shown[0].text.contains(unwritable));
    }

    // With no Card shown there is nothing to print, and no preview.
    void saysWhenNothingIsShown()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", Collection());
        MainWindow& window = f.Open();
        Filter(f, QStringLiteral("nothing matches this"));
        bool asked = false;
        f.questions.dialogScript = [&](QDialog&) { return asked = true; };
        Action(window, "printAction")->trigger();
        QVERIFY(!asked);
        QCOMPARE(f.messages.shown.size(), 1);
        QCOMPARE(f.messages.shown[0].text, QString::fromUtf8(Text::PrintNoCards));
    }
};

QTEST_MAIN(TestPrint)
#include "test_print.moc"
