#include "support/WindowTest.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QScreen>
#include <QTest>

#include <cmath>

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

// The rules' pixels on the test's screen: as many at 96 dpi, more where the
// screen gives the program more dots per inch. The test runs at 96 dpi, and
// again with QT_FONT_DPI=144 (see tests/CMakeLists.txt).
int Px(const WindowFixture& f, int pixels)
{
    return int(std::lround(pixels * std::max(1.0, f.window->logicalDpiY() / 96.0)));
}

int NoticeHeight(const WindowFixture& f)
{
    return std::max(Px(f, 15), f.Find<QWidget>("noticeLine")->sizeHint().height());
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
// The rules were drawn in pixels for a font whose dialog units put the boxes'
// left edges where a width "cx - 180" (the Description and URL boxes) or
// "cx - 358" (Series, Year, Quantity) ended them 91 pixels from the right
// edge, and the table's top where a height "cy - 160" ended it on the notice
// line's top; the table's width "cx - 101" ended it 90 pixels from the right.
// Those ends are kept whatever the font makes the left edges and the top.
void CheckRules(const WindowFixture& f, int cx, int cy, int barHeight = 0)
{
    const auto px = [&f](int pixels) { return Px(f, pixels); };
    const int notice = NoticeHeight(f);
    QCOMPARE(Geometry(f, "noticeLine"), QRect(px(3), cy - notice, px(400), notice));
    for (const char* name : kColumn) {
        QCOMPARE(Geometry(f, name).left(), cx - px(85));
        QCOMPARE(Geometry(f, name).width(), px(75));
    }
    QCOMPARE(Geometry(f, "quitButton"), QRect(cx - px(85), px(11), px(75), px(11 + 23) - px(11)));
    QCOMPARE(Geometry(f, "countBox"), QRect(cx - px(85), px(248), px(75), px(248 + 15) - px(248)));
    for (const char* name : {"descriptionEdit", "urlEdit", "yearEdit", "quantityEdit", "seriesBox"})
        QCOMPARE(Geometry(f, name).width(), std::max(cx - px(91) - Geometry(f, name).left(), 0));
    const QRect table = Geometry(f, "cardTable");
    QCOMPARE(table.width(), std::max(cx - px(90) - table.left(), 0));
    QCOMPARE(table.height(), std::max(cy - notice - barHeight - table.top(), 0));
    if (barHeight > 0)
        QCOMPARE(Geometry(f, "filterBar"), QRect(table.left(), table.bottom() + 1, table.width(), barHeight));
}

// Every control shown in the client area lies inside it, none is empty, and
// none overlaps another: the table ends above the filter bar and the notice
// line, the boxes end left of the button column.
void CheckInside(const WindowFixture& f, const char* size)
{
    const QRect client = Area(f)->rect();
    QList<QWidget*> shown;
    for (QWidget* child : Area(f)->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isHidden())
            continue;
        const QString name = child->objectName().isEmpty() ? child->metaObject()->className() : child->objectName();
        const QByteArray what = QStringLiteral("%1 %2 at %3: %4,%5 %6x%7 in %8x%9")
                                    .arg(name)
                                    .arg(QLatin1String(size))
                                    .arg(child->logicalDpiY())
                                    .arg(child->x())
                                    .arg(child->y())
                                    .arg(child->width())
                                    .arg(child->height())
                                    .arg(client.width())
                                    .arg(client.height())
                                    .toUtf8();
        QVERIFY2(!child->geometry().isEmpty(), what.constData());
        QVERIFY2(client.contains(child->geometry()), what.constData());
        shown << child;
    }
    for (QWidget* one : shown) {
        for (QWidget* other : shown) {
            if (one != other && !one->objectName().isEmpty() && !other->objectName().isEmpty()) {
                const QByteArray what = (one->objectName() + QStringLiteral(" and ") + other->objectName()).toUtf8();
                QVERIFY2(!one->geometry().intersects(other->geometry()), what.constData());
            }
        }
    }
    const QRect table = Geometry(f, "cardTable");
    QVERIFY(table.bottom() < Geometry(f, "noticeLine").top());
    // The table shows a row or more besides its header and scroll bar.
    QVERIFY2(table.height() >= Px(f, 60), qPrintable(QString::number(table.height())));
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
        const QSize minimum = QSize(Px(f, 490), Px(f, 365)) - frame;
        const int barHeight = Geometry(f, "menuBar").height();
        // The template's font needs no more than the rules' minimum.
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
        QCOMPARE(Geometry(f, "cardTable").bottom() + 1, Geometry(f, "noticeLine").top());
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
        QCOMPARE(Geometry(f, "noticeLine").top(), -NoticeHeight(f));
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

    // At the smallest size, the size of a first start and maximised, with
    // the filter bar and without, every control lies inside the client area,
    // at 96 dpi and (run again with QT_FONT_DPI=144) at 144.
    void everyControlInsideAtEverySize()
    {
        if (const int dpi = qEnvironmentVariableIntValue("QT_FONT_DPI"))
            QCOMPARE(QGuiApplication::primaryScreen()->logicalDotsPerInchY(), qreal(dpi));
        for (const bool filtered : {false, true}) {
            WindowFixture f;
            f.folder.Write("qmk.dat",
                           CollectionBytes({{"Emberwing Drake", "Skyforge", "Near Mint", "1999", "$12.50"}}));
            MainWindow& window = f.Open();
            if (filtered)
                window.OnFind();
            CheckInside(f, "first start");
            CheckRules(f, Area(f)->width(), Area(f)->height(), filtered ? f.Find<QWidget>("filterBar")->height() : 0);
            window.resize(window.minimumSize());
            QCOMPARE(window.size(), window.minimumSize());
            CheckInside(f, "smallest");
            window.showMaximized();
            QTRY_VERIFY(window.isMaximized());
            QTRY_COMPARE(window.frameGeometry().size(), QGuiApplication::primaryScreen()->availableSize());
            CheckInside(f, "maximised");
            window.showNormal();
            window.resize(1920, 1080);
            CheckInside(f, "1920x1080");
        }
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
