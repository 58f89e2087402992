#include "app/window/DesktopMessages.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>

namespace {

// Texts are written with CR LF line breaks; the box wants one character.
QString ScreenText(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

// A box stands over the dialog that is open, else over the main window.
QWidget* Owner()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

} // namespace

void DesktopMessages::ShowError(const QString& text, const QString& caption)
{
    QMessageBox box(QMessageBox::NoIcon, caption, ScreenText(text), QMessageBox::Ok, Owner());
    box.exec();
}

bool DesktopMessages::AskYesNo(const QString& text, const QString& caption)
{
    QMessageBox box(QMessageBox::Warning, caption, ScreenText(text), QMessageBox::Yes | QMessageBox::No, Owner());
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void DesktopMessages::Open(const QUrl& url)
{
    QDesktopServices::openUrl(url);
}
