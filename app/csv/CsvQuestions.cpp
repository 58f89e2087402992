#include "app/csv/CsvQuestions.h"

#include "app/csv/CsvImportDialog.h"
#include "resources/StringTable.h"

#include <QFileDialog>

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
