#include "app/MessageInterface.h"

#include <QDesktopServices>
#include <QMessageBox>

namespace {

// Texts are written with CR LF line breaks; the box wants one character.
QString ScreenText(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

} // namespace

void DesktopMessages::ShowError(QWidget* owner, const QString& text, const QString& caption)
{
    QMessageBox box(QMessageBox::NoIcon, caption, ScreenText(text), QMessageBox::Ok, owner);
    box.exec();
}

bool DesktopMessages::AskYesNo(QWidget* owner, const QString& text, const QString& caption)
{
    QMessageBox box(QMessageBox::Warning, caption, ScreenText(text), QMessageBox::Yes | QMessageBox::No, owner);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void DesktopMessages::Open(const QUrl& url)
{
    QDesktopServices::openUrl(url);
}
