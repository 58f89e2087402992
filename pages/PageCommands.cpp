#include "app/MainWindow.h"

#include "app/MessageInterface.h"
#include "collection/TextFile.h"
#include "pages/PageFiles.h"
#include "pages/PageTemplates.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

void MainWindow::OnCatalogue()
{
    GeneratePage("CatalogueOutside.htm", "CatalogueInside.htm", &Preferences::Catalogue, "catalogue.htm");
}

void MainWindow::OnList()
{
    GeneratePage("ListOutside.htm", "ListInside.htm", &Preferences::List, "list.htm");
}

std::string MainWindow::LoadTemplate(const char* fileName)
{
    std::string text;
    if (!ReadTemplateFile(QString::fromLatin1(fileName), text))
        messages_.ShowError(this, QStringLiteral("Error loading file"), QStringLiteral("Error"));
    return text;
}

int MainWindow::WritePage(const QString& path, const std::function<bool(QIODevice&)>& writePage)
{
    if (WriteFileSafely(path, writePage))
        return 1;
    messages_.ShowError(this, QStringLiteral("Save to File"), QStringLiteral("Error Saving File."));
    return -1;
}

void MainWindow::GeneratePage(const char* outerTemplate, const char* rowTemplate, std::string Preferences::*location,
                              const char* defaultLocation)
{
    TakeFields();
    const std::string outer = LoadTemplate(outerTemplate);
    const std::string row = LoadTemplate(rowTemplate);
    // The page is built from the table's cells; the fields end on the last
    // Card all the same, as if every Card had passed through them.
    const int rows = table_.rowCount();
    if (rows > 0)
        ReadRow(rows - 1);

    std::string& output = prefs_.*location;
    if (output.empty())
        output = defaultLocation;
    const QString path = QFile::decodeName(QByteArray(output.data(), qsizetype(output.size())));
    // The page goes to the file as it is built: it may be many times the
    // collection's size.
    const auto writePage = [&](QIODevice& device) {
        return StreamPage(
            outer, [&](PageStream& stream) { return WritePageData(stream, table_, row); }, prefs_,
            [&device](std::string_view piece) { return WritePageText(device, piece); });
    };
    if (WritePage(path, writePage) < 0)
        return;

    const QString question = QStringLiteral("Your Page Has Been Generated.\nYour page was written to:\n")
                             + QString::fromUtf8(output.data(), qsizetype(output.size()))
                             + QStringLiteral("\nWould you like to view it?");
    if (messages_.AskYesNo(this, question, QCoreApplication::applicationName()))
        messages_.Open(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    ShowFields();
}
