#include "app/csv/CsvQuestions.h"

#include "app/csv/CsvImportDialog.h"
#include "resources/StringTable.h"

#include <QFileDialog>
#include <QMessageBox>

QString StrayBytesQuestion(const CsvStrayLine& stray)
{
    if (stray.lines > 1)
        return QString::fromUtf8(Text::CsvStrayBytesQuestionMany)
            .arg(QString::number(stray.line), stray.fileName, stray.asUtf8, stray.repaired,
                 QString::number(stray.lines));
    return QString::fromUtf8(Text::CsvStrayBytesQuestion)
        .arg(QString::number(stray.line), stray.fileName, stray.asUtf8, stray.repaired);
}

DesktopCsvQuestions::DesktopCsvQuestions(QWidget* parent)
    : parent_(parent)
{
}

QString DesktopCsvQuestions::ExportPath(const QString& suggested)
{
    QFileDialog dialog(parent_, QString::fromUtf8(Text::ExportCsvCaption), suggested,
                       QString::fromUtf8(Text::CsvFileFilter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.selectFile(suggested);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString DesktopCsvQuestions::ImportPath(const QString& folder)
{
    return QFileDialog::getOpenFileName(parent_, QString::fromUtf8(Text::ImportCsvCaption), folder,
                                        QString::fromUtf8(Text::CsvFileFilter));
}

bool DesktopCsvQuestions::ImportSettings(const QByteArray& bytes, CsvFileSettings& settings)
{
    CsvImportDialog dialog(bytes, parent_);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    settings = dialog.Settings();
    return true;
}

bool DesktopCsvQuestions::ReadStrayBytesAsWindows1252(const CsvStrayLine& stray)
{
    // The line is the file's text: shown as it is, never as markup.
    QMessageBox box(QMessageBox::Warning, QString::fromUtf8(Text::ImportCsvCaption),
                    StrayBytesQuestion(stray).replace(QLatin1String("\r\n"), QLatin1String("\n")),
                    QMessageBox::Yes | QMessageBox::No, parent_);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}
