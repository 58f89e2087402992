#include "app/window/DesktopMessages.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
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

// The collection's own boxes have no icon; a question carries the
// exclamation mark, and a piece of news the information sign.
bool DesktopMessages::Show(MessageKind kind, const QString& text, const QString& caption)
{
    // A text may quote a file's bytes or a path: it is shown as it is, never as markup.
    if (kind == MessageKind::Question) {
        QMessageBox box(QMessageBox::Warning, caption, ScreenText(text), QMessageBox::Yes | QMessageBox::No, Owner());
        box.setTextFormat(Qt::PlainText);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes;
    }
    const QMessageBox::Icon icon = kind == MessageKind::Information ? QMessageBox::Information : QMessageBox::NoIcon;
    QMessageBox box(icon, caption, ScreenText(text), QMessageBox::Ok, Owner());
    box.setTextFormat(Qt::PlainText);
    box.exec();
    return true;
}

void DesktopMessages::Open(const QUrl& url)
{
    QDesktopServices::openUrl(url);
}

QString DesktopMessages::AskSavePath(const QString& caption, const QString& suggested, const QString& filter,
                                     const QString& suffix, QString* chosenFilter)
{
    QFileDialog dialog(Owner(), caption, suggested, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    if (chosenFilter != nullptr)
        *chosenFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().value(0);
}

QString DesktopMessages::AskOpenPath(const QString& caption, const QString& folder, const QString& filter)
{
    return QFileDialog::getOpenFileName(Owner(), caption, folder, filter);
}

QString DesktopMessages::AskFolder(const QString& caption, const QString& current)
{
    return QFileDialog::getExistingDirectory(Owner(), caption, current);
}

bool DesktopMessages::AskDialog(QDialog& dialog)
{
    return dialog.exec() == QDialog::Accepted;
}
