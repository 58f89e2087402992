#include "support/WindowTest.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

TempFolder::TempFolder()
    : previous_(QDir::currentPath())
{
    QDir::setCurrent(dir_.path());
}

TempFolder::~TempFolder()
{
    QDir::setCurrent(previous_);
}

QString TempFolder::Path(const QString& name) const
{
    return dir_.filePath(name);
}

void TempFolder::Write(const QString& name, const QByteArray& bytes) const
{
    QFile file(Path(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(name));
}

QByteArray TempFolder::Read(const QString& name) const
{
    QFile file(Path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool TempFolder::Exists(const QString& name) const
{
    return QFile::exists(Path(name));
}

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

QByteArray CollectionBytes(const QList<QList<QByteArray>>& records)
{
    static const char* const keys[] = {"NAME", "SERIES", "CONDITION", "YEAR", "PRICE", "QUANTITY", "URL", "DESCRIPTION"};
    QByteArray bytes;
    for (const QList<QByteArray>& record : records) {
        bytes += bytes.isEmpty() ? "CREATOR=QMK 1.0\r\n" : "\r\n";
        for (int field = 0; field < 8; ++field)
            bytes += QByteArray(keys[field]) + "=" + record.value(field) + "\r\n";
    }
    return bytes;
}
