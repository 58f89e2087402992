#include "pages/PageCommands.h"

#include "base/FileAccess.h"
#include "base/MessageInterface.h"
#include "collection/CardTableModel.h"
#include "pages/PageCharset.h"
#include "pages/PageFiles.h"
#include "pages/PageTemplates.h"
#include "pages/PageTotals.h"
#include "pages/SampleTemplates.h"
#include "resources/StringTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

std::string LoadTemplate(const char* fileName, MessageInterface& messages)
{
    std::string text;
    const QString path = QString::fromLatin1(fileName);
    if (!QFileInfo::exists(path))
        return text;
    if (!ReadTemplateFile(path, text))
        messages.ShowError(QString::fromUtf8(Text::ErrorLoadingFile), QString::fromUtf8(Text::ErrorCaption));
    return text;
}

PageTemplateTexts LoadPageTemplates(const PageDescription& page, MessageInterface& messages)
{
    PageTemplateTexts templates;
    QString reason;
    if (!CopyMissingSampleTemplates(QDir::currentPath(), reason))
        templates.samplesNotCopied = reason;
    templates.outer = LoadTemplate(page.outerTemplate, messages);
    templates.row = LoadTemplate(page.rowTemplate, messages);
    return templates;
}

PageOutcome OutcomeOf(const PageTemplateTexts& templates, const CardTableModel& table)
{
    if (IsBlankTemplate(templates.outer))
        return PageOutcome::EmptyOuterTemplate;
    if (table.rowCount() > 0 && IsBlankTemplate(templates.row))
        return PageOutcome::EmptyRowTemplate;
    return PageOutcome::Page;
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
    const PageOutcome outcome = OutcomeOf(templates, table);
    if (outcome == PageOutcome::EmptyOuterTemplate) {
        const QString name = QString::fromLatin1(page.outerTemplate);
        QString text = QString::fromUtf8(Text::PageWouldBeEmpty).arg(name);
        text += templates.samplesNotCopied.isEmpty()
                    ? QString::fromUtf8(Text::FillOrDeleteTemplate).arg(name)
                    : QString::fromUtf8(Text::SampleTemplateNotCopied).arg(templates.samplesNotCopied);
        messages.ShowError(text, QCoreApplication::applicationName());
        return;
    }
    const QString path = PagePath(page, prefs);
    if (WritePage(path, PageWriter(templates, table, prefs), messages) < 0)
        return;
    const std::string& output = prefs.*page.location;
    const QString generated = outcome == PageOutcome::EmptyRowTemplate
                                  ? QString::fromUtf8(Text::PageGeneratedWithoutCards)
                                        .arg(QString::fromLatin1(page.rowTemplate))
                                  : QString::fromUtf8(Text::PageGenerated);
    const QString question = generated + DecodeText(output, prefs.Encoding) + QString::fromUtf8(Text::ViewPageQuestion);
    if (messages.AskYesNo(question, QCoreApplication::applicationName()))
        messages.Open(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}
