#include "support/WindowTest.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>

namespace {

const char* const kColumn[] = {"quitButton", "addButton", "updateButton", "deleteButton", "clearButton",
                               "listButton", "catalogueButton", "tooltipsBox", "preferencesButton",
                               "helpButton", "countBox"};

QRect Geometry(const WindowFixture& f, const char* name)
{
    return f.Find<QWidget>(name)->geometry();
}

QWidget* Area(const WindowFixture& f)
{
    return f.Find<QWidget>("clientArea");
}

// The menu bar across the top of the window and the controls' area below
// it, the rest of the window.
void CheckBarAndArea(const WindowFixture& f)
{
    const QSize window = f.window->size();
    const int barHeight = Geometry(f, "menuBar").height();
    QVERIFY(barHeight > 10);
    QCOMPARE(Geometry(f, "menuBar"), QRect(0, 0, window.width(), barHeight));
    QCOMPARE(Geometry(f, "clientArea"), QRect(0, barHeight, window.width(), window.height() - barHeight));
}

// The rules that depend on the client size (the area below the menu bar),
// checked for one size, with a filter bar of the given height shown or none.
void CheckRules(const WindowFixture& f, int cx, int cy, int barHeight = 0)
{
    QCOMPARE(Geometry(f, "noticeLine"), QRect(3, cy - 15, 400, 15));
    for (const char* name : kColumn) {
        QCOMPARE(Geometry(f, name).left(), cx - 85);
        QCOMPARE(Geometry(f, name).width(), 75);
    }
    QCOMPARE(Geometry(f, "quitButton"), QRect(cx - 85, 11, 75, 23));
    QCOMPARE(Geometry(f, "countBox"), QRect(cx - 85, 248, 75, 15));
    QCOMPARE(Geometry(f, "descriptionEdit").width(), std::max(cx - 180, 0));
    QCOMPARE(Geometry(f, "urlEdit").width(), std::max(cx - 180, 0));
    QCOMPARE(Geometry(f, "yearEdit").width(), std::max(cx - 358, 0));
    QCOMPARE(Geometry(f, "quantityEdit").width(), std::max(cx - 358, 0));
    QCOMPARE(Geometry(f, "seriesBox").width(), std::max(cx - 358, 0));
    QCOMPARE(Geometry(f, "cardTable").size(), QSize(std::max(cx - 101, 0), std::max(cy - 160 - barHeight, 0)));
    if (barHeight > 0) {
        const QRect table = Geometry(f, "cardTable");
        QCOMPARE(Geometry(f, "filterBar"), QRect(table.left(), table.bottom() + 1, table.width(), barHeight));
    }
}

// Every control of the window but the filter bar, with its place.
QList<QPair<QWidget*, QRect>> Places(const WindowFixture& f)
{
    QList<QPair<QWidget*, QRect>> places;
    for (QWidget* child : Area(f)->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->objectName() != QStringLiteral("filterBar"))
            places.append({child, child->geometry()});
    }
    return places;
}

} // namespace

class TestWindowLayout : public QObject {
    Q_OBJECT

private slots:
    // The menu bar adds its height to the window's minimum; the area below
    // it has the minimum size of the window before it had a bar.
    void minimumKeepsTheColumnInside()
    {
        WindowFixture f;
        MainWindow& window = f.Open();
        const QSize frame = window.frameGeometry().size() - window.size();
        const QSize minimum = QSize(490, 365) - frame;
        const int barHeight = Geometry(f, "menuBar").height();
        QCOMPARE(window.minimumSize(), minimum + QSize(0, barHeight));
        window.resize(100, 100);
        QCOMPARE(window.size(), minimum + QSize(0, barHeight));
        CheckBarAndArea(f);
        QCOMPARE(Area(f)->size(), minimum);
        CheckRules(f, minimum.width(), minimum.height());
        const QRect client = Area(f)->rect();
        for (const char* name : kColumn)
            QVERIFY2(client.contains(Geometry(f, name)), name);
        // The column reads top to bottom in this order, without overlaps.
        for (std::size_t i = 1; i < std::size(kColumn); ++i)
            QVERIFY(Geometry(f, kColumn[i - 1]).bottom() < Geometry(f, kColumn[i]).top());
    }

    void followsALargeWindowAndKeepsTheRest()
    {
        WindowFixture f;
        MainWindow& window = f.Open();
        const QRect table = Geometry(f, "cardTable");
        const QRect description = Geometry(f, "descriptionEdit");
        const QRect name = Geometry(f, "nameEdit");
        const QRect price = Geometry(f, "priceEdit");
        const QRect condition = Geometry(f, "conditionBox");
        window.resize(1280, 900);
        CheckBarAndArea(f);
        const QSize area = Area(f)->size();
        QCOMPARE(area, QSize(1280, 900 - Geometry(f, "menuBar").height()));
        CheckRules(f, area.width(), area.height());
        QCOMPARE(Geometry(f, "cardTable").topLeft(), table.topLeft());
        QCOMPARE(Geometry(f, "descriptionEdit").topLeft(), description.topLeft());
        QCOMPARE(Geometry(f, "descriptionEdit").height(), description.height());
        QCOMPARE(Geometry(f, "nameEdit"), name);
        QCOMPARE(Geometry(f, "priceEdit"), price);
        QCOMPARE(Geometry(f, "conditionBox"), condition);
    }

    void appliesTheRulesAtNoSizeAndBelow()
    {
        WindowFixture f;
        MainWindow& window = f.Open();
        const QRect table = Geometry(f, "cardTable");
        window.OnSize(0, 0);
        CheckRules(f, 0, 0);
        QCOMPARE(Geometry(f, "noticeLine").top(), -15);
        QCOMPARE(Geometry(f, "cardTable").topLeft(), table.topLeft());
        window.OnSize(-40, -7);
        CheckRules(f, 0, 0);
        // Restoring lays everything out anew.
        window.OnSize(700, 500);
        CheckRules(f, 700, 500);
    }

    // Shown, the filter bar takes its height from the bottom of the card
    // table and every other control stays; hidden, all is as it was.
    void filterBarTakesItsHeightFromTheTable()
    {
        WindowFixture f;
        MainWindow& window = f.Open();
        window.resize(800, 600);
        CheckBarAndArea(f);
        const QSize area = Area(f)->size();
        const QList<QPair<QWidget*, QRect>> before = Places(f);
        auto* bar = f.Find<QWidget>("filterBar");
        QVERIFY(bar->isHidden());
        window.OnFind();
        QVERIFY(bar->isVisible());
        const int height = bar->sizeHint().height();
        QVERIFY(height > 10);
        CheckRules(f, area.width(), area.height(), height);
        QList<QPair<QWidget*, QRect>> expected = before;
        for (auto& [control, place] : expected) {
            if (control == f.Find<QWidget>("cardTable"))
                place.setHeight(place.height() - height);
        }
        QCOMPARE(Places(f), expected);

        window.resize(1000, 700);
        CheckBarAndArea(f);
        const QSize larger = Area(f)->size();
        CheckRules(f, larger.width(), larger.height(), height);
        window.OnSize(0, 0);
        CheckRules(f, 0, 0, height);
        window.resize(800, 600);
        QTest::keyClick(f.Find<QWidget>("filterEdit"), Qt::Key_Escape);
        QVERIFY(bar->isHidden());
        QCOMPARE(Places(f), before);
    }

    // The drop-down lists are as tall as the client area below their box
    // allows, in whole entries, however large the window.
    void dropDownsShowAsManyEntriesAsFit()
    {
        WindowFixture f;
        QList<QList<QByteArray>> records;
        for (int i = 0; i < 80; ++i)
            records.append({"Card", "Series " + QByteArray::number(i), "Condition " + QByteArray::number(i)});
        f.folder.Write("qmk.dat", CollectionBytes(records));
        MainWindow& window = f.Open();
        for (const QSize size : {window.minimumSize(), QSize(1280, 1000), QSize(700, 40)}) {
            window.resize(size);
            for (const char* name : {"seriesBox", "conditionBox"}) {
                auto* box = f.Find<QComboBox>(name);
                const int entry = box->view()->sizeHintForRow(0);
                const int room = Area(f)->height() - Geometry(f, name).bottom() - 1;
                QVERIFY(entry > 0);
                QCOMPARE(box->maxVisibleItems(), std::max(1, room / entry));
            }
        }
        window.resize(window.minimumSize());
        QVERIFY(f.Find<QComboBox>("seriesBox")->maxVisibleItems() > 10);
        QVERIFY(f.Find<QComboBox>("conditionBox")->maxVisibleItems() > 10);
    }

    void sameSizeTwiceGivesTheSameLayout()
    {
        WindowFixture f;
        MainWindow& window = f.Open();
        window.resize(800, 600);
        QList<QRect> first;
        for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            first << child->geometry();
        window.OnSize(800, 600);
        window.OnSize(800, 600);
        QList<QRect> again;
        for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            again << child->geometry();
        QCOMPARE(again, first);
    }
};

QTEST_MAIN(TestWindowLayout)
#include "test_window_layout.moc"
