#include "support/WindowTest.h"

#include "resources/StringTable.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QHelpEvent>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QToolTip>

namespace {

// What the user sees after resting the mouse on the middle of a widget.
QString TipOn(QWidget* widget)
{
    QToolTip::hideText();
    const QPoint middle = widget->rect().center();
    QHelpEvent rest(QEvent::ToolTip, middle, widget->mapToGlobal(middle));
    QApplication::sendEvent(widget, &rest);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

QWidget* TableRows(const WindowFixture& f)
{
    return f.Find<QTableView>("cardTable")->viewport();
}

QWidget* SeriesText(const WindowFixture& f)
{
    return f.Find<QComboBox>("seriesBox")->lineEdit();
}

} // namespace

class TestTooltips : public QObject {
    Q_OBJECT

private slots:
    void showsEachControlsWholeText_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        QTest::newRow("Quit, longer than 80")
            << "quitButton" << "This button will save your data, save your preferences and then quit the program.";
        QTest::newRow("Help") << "helpButton"
                              << "This button will take you to the Velmora Website for more information.";
        QTest::newRow("Name") << "nameEdit" << "Enter or Update the Title of the Card here.";
        QTest::newRow("Year") << "yearEdit" << "Enter or Update the year the Card was made here.";
        QTest::newRow("Preferences")
            << "preferencesButton" << "This button will display the preferences window and allow you to edit them.";
        QTest::newRow("Series, on its text") << "series text" << "Enter, Update or Choose a series from the list.";
        QTest::newRow("card table, on its rows")
            << "table rows" << "This list displays all of the Cards currently in your list.";
        QTest::newRow("count box") << "countBox" << "";
        QTest::newRow("Tooltips check box") << "tooltipsBox" << "";
        QTest::newRow("notice line, naming the folder") << "noticeLine" << QString::fromUtf8(Text::FolderTip);
    }

    void showsEachControlsWholeText()
    {
        QFETCH(QString, control);
        QFETCH(QString, text);
        WindowFixture f;
        f.folder.Write("qmk.dat", CollectionBytes({{"Alpha", "Base"}}));
        f.folder.Write("qmk.ini", "CREATOR=QMK 1.0\r\nTOOLTIPS=yes\r\n");
        f.Open();
        QWidget* widget = control == "series text"  ? SeriesText(f)
                          : control == "table rows" ? TableRows(f)
                                                    : f.Find<QWidget>(control.toLatin1().constData());
        QVERIFY(widget != nullptr);
        if (text.contains(QStringLiteral("%1")))
            text = text.arg(QDir::toNativeSeparators(QDir::currentPath()));
        QCOMPARE(TipOn(widget), text);
    }

    void checkBoxSwitchesTipsAtOnceAndStoresTheChoice()
    {
        WindowFixture f;
        f.Open();
        auto* box = f.Find<QCheckBox>("tooltipsBox");
        auto* add = f.Find<QWidget>("addButton");
        QCOMPARE(TipOn(add), QString());
        QCOMPARE(f.window->Prefs().Tooltips, std::string());

        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(box->isChecked());
        QVERIFY(f.window->TipSupport());
        QCOMPARE(f.window->Prefs().Tooltips, std::string("yes"));
        QCOMPARE(TipOn(add), QStringLiteral("This button adds the Card contained in the fields to the list below."));
        QCOMPARE(TipOn(TableRows(f)), QStringLiteral("This list displays all of the Cards currently in your list."));

        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(!box->isChecked());
        QVERIFY(!f.window->TipSupport());
        QCOMPARE(f.window->Prefs().Tooltips, std::string("no"));
        QCOMPARE(TipOn(add), QString());
        QCOMPARE(TipOn(TableRows(f)), QString());
        QCOMPARE(TipOn(SeriesText(f)), QString());

        f.Quit();
        QVERIFY(f.folder.Read("qmk.ini").contains("\r\nTOOLTIPS=no\r\n"));
    }
};

QTEST_MAIN(TestTooltips)
#include "test_tooltips.moc"
