#include "pages/PageCommands.h"

#include "base/FileAccess.h"
#include "base/MessageInterface.h"
#include "pages/PageCharset.h"
#include "pages/PageFiles.h"
#include "pages/PageTemplates.h"
#include "pages/PageTotals.h"
#include "resources/StringTable.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

std::string LoadTemplate(const char* fileName, MessageInterface& messages)
{
    std::string text;
    if (!ReadTemplateFile(QString::fromLatin1(fileName), text))
        messages.ShowError(QString::fromUtf8(Text::ErrorLoadingFile), QString::fromUtf8(Text::ErrorCaption));
    return text;
}

PageTemplateTexts LoadPageTemplates(const PageDescription& page, MessageInterface& messages)
{
    PageTemplateTexts templates;
    templates.outer = LoadTemplate(page.outerTemplate, messages);
    templates.row = LoadTemplate(page.rowTemplate, messages);
    return templates;
}

int WritePage(const QString& path, const std::function<bool(QIODevice&)>& writePage, MessageInterface& messages)
{
    if (WriteFileSafely(path, writePage))
        return 1;
    messages.ShowError(QString::fromUtf8(Text::SaveToFile), QString::fromUtf8(Text::ErrorSavingFileCaption));
    return -1;
}

QString PagePath(const PageDescription& page, Preferences& prefs)
{
    std::string& output = prefs.*page.location;
    if (output.empty())
        output = page.defaultLocation;
    if (prefs.Encoding == TextEncoding::Windows1252)
        return DecodeText(output, prefs.Encoding);
    return QFile::decodeName(QByteArray(output.data(), qsizetype(output.size())));
}

std::function<bool(QIODevice&)> PageWriter(const PageTemplateTexts& templates, const CardTableModel& table,
                                           const Preferences& prefs)
{
    return [&templates, &table, &prefs](QIODevice& device) {
        const bool utf8Page = PageIsUtf8(templates.outer);
        const Preferences owner = OwnerForPage(prefs, utf8Page);
        const PageTotals totals = PageTotalsOf(table);
        return StreamPage(
            templates.outer,
            [&](PageStream& stream) { return WritePageData(stream, table, templates.row, utf8Page); }, owner, totals,
            [&device, buffer = QByteArray()](std::string_view piece) mutable {
                return WritePageText(device, piece, buffer);
            });
    };
}

void PublishPage(const PageDescription& page, const PageTemplateTexts& templates, const CardTableModel& table,
                 Preferences& prefs, MessageInterface& messages)
{
    const QString path = PagePath(page, prefs);
    if (WritePage(path, PageWriter(templates, table, prefs), messages) < 0)
        return;
    const std::string& output = prefs.*page.location;
    const QString question = QString::fromUtf8(Text::PageGenerated)
                             + DecodeText(output, prefs.Encoding)
                             + QString::fromUtf8(Text::ViewPageQuestion);
    if (messages.AskYesNo(question, QCoreApplication::applicationName()))
        messages.Open(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}
