#include "support/WindowTest.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

MainWindow& WindowFixture::Open()
{
    window = std::make_unique<MainWindow>(questions);
    window->show();
    return *window;
}

void WindowFixture::Quit()
{
    Click("quitButton");
}

QLineEdit* WindowFixture::Field(const char* objectName) const
{
    QWidget* control = window->findChild<QWidget*>(QString::fromLatin1(objectName));
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return combo->lineEdit();
    return qobject_cast<QLineEdit*>(control);
}

void WindowFixture::Type(const char* objectName, const QString& text) const
{
    QLineEdit* edit = Field(objectName);
    edit->selectAll();
    edit->del();
    TypeKeys(edit, text);
}

void TypeKeys(QWidget* widget, const QString& text)
{
    // Qt Test names keys for ASCII only: other characters are key presses
    // that carry their text.
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype length = text[at].isHighSurrogate() && at + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(at, length);
        at += length;
        if (character[0].unicode() < 0x80)
            QTest::keyClick(widget, character[0].toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, character, Qt::NoModifier);
    }
}

void WindowFixture::Click(const char* buttonName) const
{
    QTest::mouseClick(Find<QPushButton>(buttonName), Qt::LeftButton);
}

void WindowFixture::ClickRow(int row) const
{
    auto* view = Find<QTableView>("cardTable");
    const QRect cell = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
}

QAction* Action(const QWidget& window, const char* objectName)
{
    auto* action = window.findChild<QAction*>(QString::fromLatin1(objectName));
    if (action == nullptr)
        qFatal("no action %s", objectName);
    return action;
}
