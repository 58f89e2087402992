#include "support/WindowTest.h"

#include "app/binder/BinderWindow.h"
#include "app/pictures/PictureDialog.h"
#include "collection/CardTableModel.h"
#include "support/TableRows.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

using State = PictureLoader::State;

QByteArray Png(int width, int height, QColor color)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray Name(int card)
{
    return "Card " + QByteArray::number(card).rightJustified(2, '0');
}

// Cards "Card 00" to "Card NN", each with the Picture URL given.
// The file keeps the table's bottom row first.
QByteArray Collection(int cards, const std::function<QByteArray(int)>& url = {})
{
    QList<QList<QByteArray>> records;
    for (int card = cards - 1; card >= 0; --card)
        records.append({Name(card), "S", "", "", "", "", url ? url(card) : QByteArray()});
    return CollectionBytes(records);
}

QStringList TileNames(const BinderModel& tiles)
{
    QStringList names;
    for (int row = 0; row < tiles.rowCount(); ++row)
        names << tiles.index(row).data().toString();
    return names;
}

QStringList CardNames(std::initializer_list<int> cards)
{
    QStringList names;
    for (const int card : cards)
        names << QString::fromLatin1(Name(card));
    return names;
}

// The state a tile's picture settles in, asked for as the view asks.
State Settled(const BinderModel& tiles, int row)
{
    const auto state = [&] { return State(tiles.index(row).data(BinderModel::PictureStateRole).toInt()); };
    QDeadlineTimer deadline(10000);
    while (state() == State::Loading && !deadline.hasExpired())
        QTest::qWait(5);
    return state();
}

int FilesUnder(const QString& folder)
{
    int files = 0;
    for (QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories); it.hasNext(); it.next())
        ++files;
    return files;
}

QListView* View(BinderWindow& binder)
{
    return binder.findChild<QListView*>(QStringLiteral("binderView"));
}

QPoint TileCenter(BinderWindow& binder, int row)
{
    return View(binder)->visualRect(View(binder)->model()->index(row, 0)).center();
}

// As the mouse does it: a click, then the second press that makes it double.
void DoubleClick(BinderWindow& binder, int row)
{
    QTest::mouseClick(View(binder)->viewport(), Qt::LeftButton, {}, TileCenter(binder, row));
    QTest::mouseDClick(View(binder)->viewport(), Qt::LeftButton, {}, TileCenter(binder, row));
}

struct BinderFixture : WindowFixture {
    BinderWindow& OpenBinder()
    {
        Open();
        Action(*window, "binderAction")->trigger();
        BinderWindow* binder = window->findChild<BinderWindow*>();
        if (!binder || !QTest::qWaitForWindowExposed(binder))
            qFatal("the binder did not open");
        return *binder;
    }
};

} // namespace

class TestBinderWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(cache_.isValid());
        qputenv("XDG_CACHE_HOME", cache_.path().toLocal8Bit());
    }

    void menuOffersTheBinderAboveAbout()
    {
        BinderFixture f;
        MainWindow& window = f.Open();
        std::unique_ptr<QMenu> menu(window.CreateWindowMenu());
        const QList<QAction*> actions = menu->actions();
        QCOMPARE(actions.last()->text(), QStringLiteral("&About Quillmark..."));
        QVERIFY(actions[actions.size() - 2]->isSeparator());
        // Among the window's commands, above the separator.
        const qsizetype entry = actions.indexOf(Action(window, "binderAction"));
        QVERIFY(entry >= 0 && entry < actions.size() - 2);
        QCOMPARE(Action(window, "binderAction")->text(), QStringLiteral("&Binder..."));
        QCOMPARE(Action(window, "binderAction")->shortcut(), QKeySequence(QStringLiteral("Ctrl+B")));

        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(f.Field("nameEdit"), Qt::Key_B, Qt::ControlModifier);
        QPointer<BinderWindow> binder = window.findChild<BinderWindow*>();
        QVERIFY(binder && binder->isVisible());
        QCOMPARE(binder->windowTitle(), QStringLiteral("Quillmark - Binder"));
        // A second Ctrl+B raises the same binder.
        QTest::keyClick(f.Field("nameEdit"), Qt::Key_B, Qt::ControlModifier);
        QCOMPARE(window.findChildren<BinderWindow*>().size(), 1);
        QTest::keyClick(View(*binder), Qt::Key_Escape);
        QTRY_VERIFY(binder.isNull());
        Action(window, "binderAction")->trigger();
        QVERIFY(window.findChild<BinderWindow*>() != nullptr);
        QVERIFY(f.messages.shown.isEmpty());
    }

    void pagesOfNineTurnLikeABinder()
    {
        BinderFixture f;
        f.folder.Write("qmk.dat", Collection(12));
        BinderWindow& binder = f.OpenBinder();
        BinderModel& tiles = binder.Tiles();
        auto* page = binder.findChild<QLabel*>(QStringLiteral("binderPageLabel"));
        auto* previous = binder.findChild<QPushButton*>(QStringLiteral("binderPreviousButton"));
        auto* next = binder.findChild<QPushButton*>(QStringLiteral("binderNextButton"));
        QCOMPARE(TileNames(tiles), CardNames({0, 1, 2, 3, 4, 5, 6, 7, 8}));
        QCOMPARE(page->text(), QStringLiteral("Page 1 of 2"));
        QCOMPARE(binder.findChild<QLabel*>(QStringLiteral("binderCountLabel"))->text(), QStringLiteral("12 Cards"));
        QVERIFY(!previous->isEnabled() && next->isEnabled());
        // Three pockets a row, three rows, all in sight.
        QListView* view = View(binder);
        const QRect first = view->visualRect(tiles.index(0));
        QCOMPARE(view->visualRect(tiles.index(2)).top(), first.top());
        QVERIFY(view->visualRect(tiles.index(3)).top() > first.top());
        QCOMPARE(view->visualRect(tiles.index(3)).left(), first.left());
        QVERIFY(view->viewport()->rect().contains(view->visualRect(tiles.index(8))));

        // The pockets have the keys from the start.
        binder.activateWindow();
        QTRY_COMPARE(QApplication::focusWidget(), view);
        QTest::keyClick(view, Qt::Key_PageDown);
        QCOMPARE(TileNames(tiles), CardNames({9, 10, 11}));
        QTest::keyClick(view, Qt::Key_PageUp);
        QCOMPARE(tiles.Page(), 0);
        QTest::mouseClick(next, Qt::LeftButton);
        QCOMPARE(TileNames(tiles), CardNames({9, 10, 11}));
        QCOMPARE(page->text(), QStringLiteral("Page 2 of 2"));
        QVERIFY(previous->isEnabled() && !next->isEnabled());
        QTest::keyClick(view, Qt::Key_PageDown);
        QCOMPARE(tiles.Page(), 1);
        // Whichever control has the keys.
        QTest::keyClick(previous, Qt::Key_PageUp, Qt::KeypadModifier);
        QCOMPARE(tiles.Page(), 0);
        QTest::keyClick(view, Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(tiles.Page(), 1);
    }

    void oneGridScrollsEveryCard()
    {
        BinderFixture f;
        f.folder.Write("qmk.dat", Collection(40));
        BinderWindow& binder = f.OpenBinder();
        binder.resize(700, 500);
        auto* layout = binder.findChild<QComboBox*>(QStringLiteral("binderLayoutBox"));
        layout->setCurrentIndex(1);
        emit layout->activated(1);
        BinderModel& tiles = binder.Tiles();
        QCOMPARE(tiles.rowCount(), 40);
        QVERIFY(!binder.findChild<QPushButton*>(QStringLiteral("binderNextButton"))->isVisible());
        QListView* view = View(binder);
        QTRY_VERIFY(view->verticalScrollBar()->maximum() > 0);
        // At least three pockets a row, as on a page.
        QCOMPARE(view->visualRect(tiles.index(2)).top(), view->visualRect(tiles.index(0)).top());
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, TileCenter(binder, 0));
        for (int page = 0; page < 3; ++page)
            QTest::keyClick(view, Qt::Key_PageDown);
        QVERIFY(view->currentIndex().row() > 10);
        QTRY_VERIFY(view->verticalScrollBar()->value() > 0);
        QCOMPARE(tiles.Page(), 0);

        // Back to pages: the page holding the tile selected.
        view->setCurrentIndex(tiles.index(31));
        binder.SetPaged(true);
        QCOMPARE(tiles.Page(), 3);
        QCOMPARE(view->currentIndex().row(), 4);
    }

    void sizeChangesThePockets()
    {
        BinderFixture f;
        f.folder.Write("qmk.dat", Collection(12));
        BinderWindow& binder = f.OpenBinder();
        QListView* view = View(binder);
        const QSize before = view->visualRect(binder.Tiles().index(0)).size();
        binder.findChild<QSlider*>(QStringLiteral("binderSizeSlider"))->setValue(BinderWindow::kSmallestPicture);
        QTRY_VERIFY(view->visualRect(binder.Tiles().index(0)).height() < before.height());
        QVERIFY(view->visualRect(binder.Tiles().index(0)).width() < before.width());
        // Still three by three.
        QVERIFY(view->viewport()->rect().contains(view->visualRect(binder.Tiles().index(8))));
        QCOMPARE(view->visualRect(binder.Tiles().index(2)).top(), view->visualRect(binder.Tiles().index(0)).top());
        binder.SetPictureHeight(10'000);
        QCOMPARE(binder.findChild<QSlider*>(QStringLiteral("binderSizeSlider"))->value(), BinderWindow::kLargestPicture);
    }

    void tileSelectsTheCardInTheWindow()
    {
        BinderFixture f;
        f.folder.Write("qmk.dat", Collection(12));
        BinderWindow& binder = f.OpenBinder();
        f.Type("priceEdit", QStringLiteral("typed"));
        QTest::mouseClick(View(binder)->viewport(), Qt::LeftButton, {}, TileCenter(binder, 4));
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("Card 04"));
        QCOMPARE(f.Field("priceEdit")->text(), QString());
        QCOMPARE(f.window->SelectionMark(), 4);
        QCOMPARE(f.Find<QTableView>("cardTable")->selectionModel()->selectedRows().value(0).row(), 4);
        // The keys move the selection, and the Card in the window with it.
        QTest::keyClick(View(binder), Qt::Key_Right);
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("Card 05"));
        // Update then acts on the Card chosen in the binder.
        f.Type("priceEdit", QStringLiteral("$3"));
        f.Click("updateButton");
        QCOMPARE(f.window->CardTable().Cell(5, PriceField), "$3");

        // The binder moving its selection chooses nothing: the fields keep
        // what was typed into them.
        f.Type("priceEdit", QStringLiteral("typed"));
        binder.SetPaged(false);
        QListView* view = View(binder);
        QCOMPARE(view->currentIndex().row(), 5);
        QVERIFY(view->selectionModel()->isSelected(view->currentIndex()));
        f.Type("nameEdit", QStringLiteral("Added"));
        f.Click("addButton");
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("Added"));
        QCOMPARE(f.Field("priceEdit")->text(), QStringLiteral("typed"));
        QCOMPARE(view->currentIndex().row(), 6);
        binder.SetPaged(true);
        binder.TurnPage(1);
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("Added"));
        QVERIFY(f.messages.shown.isEmpty());
    }

    void followsTheTable()
    {
        BinderFixture f;
        f.folder.Write("qmk.dat", Collection(5));
        BinderWindow& binder = f.OpenBinder();
        binder.SetPaged(false);
        BinderModel& tiles = binder.Tiles();
        f.Type("nameEdit", QStringLiteral("Added"));
        f.Click("addButton");
        QCOMPARE(TileNames(tiles), QStringList({"Added", "Card 00", "Card 01", "Card 02", "Card 03", "Card 04"}));
        f.ClickRow(2);
        f.Type("nameEdit", QStringLiteral("Renamed"));
        f.Click("updateButton");
        QCOMPARE(tiles.index(2).data().toString(), QStringLiteral("Renamed"));
        f.ClickRow(0);
        f.Click("deleteButton");
        QCOMPARE(TileNames(tiles), QStringList({"Card 00", "Renamed", "Card 02", "Card 03", "Card 04"}));
        // A header click sorts the tiles with the rows.
        f.window->OnColumnClick(NameField);
        f.window->OnColumnClick(NameField);
        QCOMPARE(TileNames(tiles), QStringList({"Renamed", "Card 04", "Card 03", "Card 02", "Card 00"}));
        QCOMPARE(binder.findChild<QLabel*>(QStringLiteral("binderCountLabel"))->text(), QStringLiteral("5 Cards"));
    }

    void showsTheRowsTheFilterShows_data()
    {
        QTest::addColumn<bool>("paged");
        QTest::newRow("pages") << true;
        QTest::newRow("one grid") << false;
    }

    void showsTheRowsTheFilterShows()
    {
        QFETCH(bool, paged);
        BinderFixture f;
        f.folder.Write("qmk.dat", Collection(8));
        BinderWindow& binder = f.OpenBinder();
        binder.SetPaged(paged);
        BinderModel& tiles = binder.Tiles();
        binder.SetShownRows(std::vector<int>{6, 1, 3, 3, 99});
        QCOMPARE(TileNames(tiles), CardNames({1, 3, 6}));
        QCOMPARE(binder.findChild<QLabel*>(QStringLiteral("binderCountLabel"))->text(), QStringLiteral("3 Cards"));
        QTest::mouseClick(View(binder)->viewport(), Qt::LeftButton, {}, TileCenter(binder, 2));
        QCOMPARE(f.window->SelectionMark(), 6);

        // Deleting a shown row drops its tile; the others keep their Cards.
        f.ClickRow(3);
        f.Click("deleteButton");
        QCOMPARE(TileNames(tiles), CardNames({1, 6}));
        QCOMPARE(tiles.TableRow(1), 5);
        // Deleting a row not shown moves the rows after it.
        f.ClickRow(0);
        f.Click("deleteButton");
        QCOMPARE(TileNames(tiles), CardNames({1, 6}));
        QCOMPARE(tiles.TableRow(0), 0);
        // A row added is not shown until the filter says so.
        f.Type("nameEdit", QStringLiteral("New"));
        f.Click("addButton");
        QCOMPARE(TileNames(tiles), CardNames({1, 6}));
        QCOMPARE(tiles.TableRow(0), 1);
        QCOMPARE(tiles.TableRow(1), 5);
        binder.SetShownRows(std::nullopt);
        QCOMPARE(tiles.TileCount(), 7);
    }

    // The window's filter bar decides what the binder shows, opened before or after it.
    void followsTheFilterBar()
    {
        BinderFixture f;
        f.folder.Write("qmk.dat", Collection(8));
        f.Open();
        QTest::keyClick(f.Field("nameEdit"), Qt::Key_F, Qt::ControlModifier);
        f.Type("filterEdit", QStringLiteral("03"));
        QCoreApplication::processEvents();
        Action(*f.window, "binderAction")->trigger();
        BinderWindow& binder = *f.window->findChild<BinderWindow*>();
        QVERIFY(QTest::qWaitForWindowExposed(&binder));
        QCOMPARE(TileNames(binder.Tiles()), CardNames({3}));
        QTest::keyClick(f.Field("filterEdit"), Qt::Key_Escape);
        QTRY_COMPARE(binder.Tiles().TileCount(), 8);
        QTest::keyClick(f.Field("nameEdit"), Qt::Key_F, Qt::ControlModifier);
        f.Type("filterEdit", QStringLiteral("card 05"));
        QTRY_COMPARE(TileNames(binder.Tiles()), CardNames({5}));
        QTest::mouseClick(View(binder)->viewport(), Qt::LeftButton, {}, TileCenter(binder, 0));
        QCOMPARE(f.window->SelectionMark(), 5);
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("Card 05"));
        // Commands while filtered: the binder keeps to what the filter shows.
        f.Click("deleteButton");
        QTRY_COMPARE(binder.Tiles().TileCount(), 0);
        f.Type("nameEdit", QStringLiteral("Card 05 again"));
        f.Click("addButton");
        QTRY_COMPARE(TileNames(binder.Tiles()), QStringList({"Card 05 again"}));
    }

    void tilesShowTheirPictures()
    {
        BinderFixture f;
        QDir().mkpath(f.folder.Path("pictures"));
        f.folder.Write("pictures/blue.png", Png(63, 88, Qt::blue));
        f.folder.Write("pictures/broken.png", "not a picture");
        const QList<QByteArray> urls = {"pictures/blue.png", "pictures/missing.png", "pictures/broken.png", ""};
        f.folder.Write("qmk.dat", Collection(4, [&](int card) { return urls[card]; }));
        BinderWindow& binder = f.OpenBinder();
        BinderModel& tiles = binder.Tiles();
        QCOMPARE(Settled(tiles, 0), State::Ready);
        QCOMPARE(Settled(tiles, 1), State::Failed);
        QCOMPARE(Settled(tiles, 2), State::Failed);
        QCOMPARE(Settled(tiles, 3), State::NoPicture);
        // The picture is painted in its pocket; the others are plain tiles.
        QListView* view = View(binder);
        const QImage shown = view->viewport()->grab().toImage();
        const QColor picture = shown.pixelColor(TileCenter(binder, 0) - QPoint(0, 10));
        QVERIFY2(picture.blue() > 200 && picture.red() < 50, qPrintable(picture.name()));
        const QColor plain = shown.pixelColor(TileCenter(binder, 1) - QPoint(0, 40));
        QCOMPARE(plain, view->palette().color(QPalette::Button));
        QVERIFY(f.messages.shown.isEmpty());
    }

    void windows1252CollectionNamesItsPictures()
    {
        BinderFixture f;
        f.folder.Write(QStringLiteral("café.png"), Png(63, 88, Qt::blue));
        f.folder.Write("qmk.dat", CollectionBytes({{"Caf\xe9", "S", "", "", "", "", "caf\xe9.png"}}));
        BinderWindow& binder = f.OpenBinder();
        QCOMPARE(binder.Tiles().index(0).data().toString(), QStringLiteral("Café"));
        QCOMPARE(Settled(binder.Tiles(), 0), State::Ready);
        DoubleClick(binder, 0);
        PictureDialog* dialog = nullptr;
        QTRY_VERIFY((dialog = binder.findChild<PictureDialog*>()) && dialog->Settled());
        QVERIFY(dialog->ShowsPicture());
    }

    void doubleClickShowsTheWholePicture()
    {
        BinderFixture f;
        f.folder.Write("big.png", Png(600, 840, Qt::blue));
        f.folder.Write("qmk.dat", Collection(2, [](int card) { return card == 0 ? "big.png" : "gone.png"; }));
        BinderWindow& binder = f.OpenBinder();
        DoubleClick(binder, 0);
        auto* dialog = binder.findChild<PictureDialog*>();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Card 00"));
        QTRY_VERIFY(dialog->Settled());
        QVERIFY(dialog->ShowsPicture());
        QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("pictureLabel"))->pixmap().size(), QSize(600, 840));
        QPointer<PictureDialog> closed = dialog;
        dialog->close();
        QTRY_VERIFY(closed.isNull());
        // Enter shows it too.
        QTest::keyClick(View(binder), Qt::Key_Return);
        QTRY_VERIFY((dialog = binder.findChild<PictureDialog*>()) && dialog->Settled());
        QVERIFY(dialog->ShowsPicture());
        closed = dialog;
        dialog->close();
        QTRY_VERIFY(closed.isNull());

        DoubleClick(binder, 1);
        QTRY_VERIFY((dialog = binder.findChild<PictureDialog*>()) && dialog->Settled());
        QVERIFY(!dialog->ShowsPicture());
        QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("pictureLabel"))->text(),
                 QStringLiteral("The picture could not be shown."));
        QVERIFY(f.messages.shown.isEmpty());
    }

    void onlyTilesInSightAreDecoded()
    {
        QTemporaryDir cache;
        TempFolder folder;
        QDir().mkpath(folder.Path("pictures"));
        const QByteArray png = Png(30, 42, Qt::blue);
        constexpr int kCards = 3000;
        CardTableModel table;
        std::vector<Card> cards(kCards);
        for (int card = 0; card < kCards; ++card) {
            const QByteArray name = "pictures/" + QByteArray::number(card) + ".png";
            folder.Write(QString::fromLatin1(name), png);
            cards[std::size_t(card)] = {Name(card).toStdString(), "", "", "", "", "", name.toStdString(), ""};
        }
        SetTableRows(table, cards);
        BinderWindow binder(table, PictureOptions{cache.path(), QDir::currentPath(), 20000});
        binder.SetPaged(false);
        binder.resize(800, 600);
        binder.show();
        QVERIFY(QTest::qWaitForWindowExposed(&binder));
        QCOMPARE(Settled(binder.Tiles(), 0), State::Ready);
        const auto kept = [&] { return FilesUnder(cache.path() + QStringLiteral("/thumbnails")); };
        QTRY_VERIFY(binder.Pictures().MemoryBytes() > 0);
        QTest::qWait(300);
        const int first = kept();
        QVERIFY2(first > 5 && first < 100, qPrintable(QString::number(first)));
        View(binder)->scrollToBottom();
        QCOMPARE(Settled(binder.Tiles(), kCards - 1), State::Ready);
        QTest::qWait(300);
        QVERIFY2(kept() < 200, qPrintable(QString::number(kept())));
    }

private:
    QTemporaryDir cache_;
};

QTEST_MAIN(TestBinderWindow)
#include "test_binder_window.moc"
