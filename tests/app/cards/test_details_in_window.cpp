#include "app/window/CollectionView.h"
#include "resources/StringTable.h"
#include "support/WindowTest.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QTest>

namespace {

const QByteArray kCard = "NAME=Ace\r\nSERIES=Fossil\r\nCONDITION=\r\nYEAR=2001\r\nPRICE=\r\nQUANTITY=1\r\nURL=\r\n"
                         "DESCRIPTION=\r\n";

// Answers Card Details by typing a Location.
std::function<bool(QDialog&)> TypeLocation(const QString& location)
{
    return [location](QDialog& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("detailLOCATION"))->setText(location);
        dialog.accept();
        return true;
    };
}

QHeaderView* Header(const WindowFixture& f)
{
    return f.Find<QTableView>("cardTable")->horizontalHeader();
}

} // namespace

class TestDetailsInWindow : public QObject {
    Q_OBJECT

private slots:
    // The details of the Card read from the marked row go straight into the
    // row, as one step to undo; with other fields typed, they wait for Add
    // or Update, and the notice says so.
    void detailsOfTheMarkedRow()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kCard);
        MainWindow& window = f.Open();
        f.ClickRow(0);
        f.questions.dialogScript = TypeLocation(QStringLiteral("Binder 2"));
        Action(window, "cardDetailsAction")->trigger();
        QCOMPARE(window.CardTable().Cell(0, LocationField), std::string_view("Binder 2"));
        Action(window, "undoAction")->trigger();
        QCOMPARE(window.CardTable().Cell(0, LocationField), std::string_view());

        f.ClickRow(0);
        f.Type("nameEdit", QStringLiteral("Ace of Spades"));
        f.questions.dialogScript = TypeLocation(QStringLiteral("Box 1"));
        Action(window, "cardDetailsAction")->trigger();
        QCOMPARE(window.CardTable().Cell(0, LocationField), std::string_view());
        QCOMPARE(window.HeldCard()[LocationField], std::string("Box 1"));
        QCOMPARE(f.Find<QLabel>("noticeLine")->text(), QString::fromUtf8(Text::CardDetailsHeld));
        f.Click("addButton");
        QCOMPARE(window.CardTable().Cell(0, NameField), std::string_view("Ace of Spades"));
        QCOMPARE(window.CardTable().Cell(0, LocationField), std::string_view("Box 1"));
        QVERIFY(f.messages.shown.isEmpty());
    }

    // The header's menu shows a detail column; the folder remembers it for
    // the next start, and the eight stay as they were.
    void shownColumnsRemembered()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kCard);
        f.Open();
        QVERIFY(Header(f)->isSectionHidden(LocationField));
        emit Header(f)->customContextMenuRequested(QPoint(5, 5));
        auto* menu = Header(f)->findChild<QMenu*>(QStringLiteral("columnMenu"));
        QVERIFY(menu != nullptr);
        auto* location = menu->findChild<QAction*>(QStringLiteral("showColumn%1").arg(LocationField));
        QVERIFY(location != nullptr && !location->isChecked());
        location->trigger();
        menu->close();
        QVERIFY(!Header(f)->isSectionHidden(LocationField));
        QVERIFY(Header(f)->sectionSize(LocationField) > 0);
        f.Quit();
        QCOMPARE(CollectionView::Recall(f.folder.Path(QStringLiteral("."))).shownColumns,
                 (QList<int>{NameField, SeriesField, ConditionField, YearField, PriceField, QuantityField, UrlField,
                             DescriptionField, LocationField}));
        f.window.reset();
        f.Open();
        QVERIFY(!Header(f)->isSectionHidden(LocationField));
        QVERIFY(Header(f)->isSectionHidden(SetCodeField));
        QVERIFY(!Header(f)->isSectionHidden(NameField));
    }
};

QTEST_MAIN(TestDetailsInWindow)
#include "test_details_in_window.moc"
