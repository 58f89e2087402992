#include "support/WindowTest.h"

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
    window = std::make_unique<MainWindow>(messages);
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
    QTest::keyClicks(edit, text);
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
