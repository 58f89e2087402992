#include "pages/PageCommands.h"

#include "base/FileAccess.h"
#include "base/MessageInterface.h"
#include "collection/file/CollectionFile.h"
#include "collection/file/CollectionLock.h"
#include "collection/CardTableModel.h"
#include "pages/PageCharset.h"
#include "pages/PageFiles.h"
#include "pages/PageTemplates.h"
#include "pages/PageTotals.h"
#include "pages/SampleTemplates.h"
#include "pages/search/CardSearch.h"
#include "resources/StringTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <optional>

std::string LoadTemplate(const char* fileName, MessageInterface& messages)
{
    const QString path = QString::fromLatin1(fileName);
    std::string text;
    // A missing template is not made empty, which would keep the sample
    // template out for good.
    if (!QFileInfo::exists(path))
        return text;
    QString reason;
    const FileRead read = ReadTemplateFile(path, text, &reason);
    if (read != FileRead::Read) {
        const QString box = read == FileRead::NotRegular ? QString::fromUtf8(Text::ErrorLoadingFileBecause).arg(reason)
                                                          : QString::fromUtf8(Text::ErrorLoadingFile);
        messages.ShowError(box, QString::fromUtf8(Text::ErrorCaption));
    }
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

bool ReadPageTemplates(const PageDescription& page, PageTemplateTexts& templates, QString& reason)
{
    return ReadTemplateFile(QString::fromLatin1(page.outerTemplate), templates.outer, &reason) == FileRead::Read
           && ReadTemplateFile(QString::fromLatin1(page.rowTemplate), templates.row, &reason) == FileRead::Read;
}

PageOutcome OutcomeOf(const PageTemplateTexts& templates, const CardTableModel& table)
{
    return OutcomeOf(templates, std::size_t(table.rowCount()));
}

PageOutcome OutcomeOf(const PageTemplateTexts& templates, std::size_t rowCount)
{
    if (IsBlankTemplate(templates.outer))
        return PageOutcome::EmptyOuterTemplate;
    if (rowCount > 0 && IsBlankTemplate(templates.row))
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
    if (page.location == nullptr)
        return QString::fromLatin1(page.defaultLocation);
    std::string& output = prefs.*page.location;
    if (output.empty())
        output = page.defaultLocation;
    if (prefs.Encoding == TextEncoding::Windows1252)
        return DecodeText(output, prefs.Encoding);
    return QFile::decodeName(QByteArray(output.data(), qsizetype(output.size())));
}

QString PageLocationText(const PageDescription& page, const Preferences& prefs)
{
    if (page.location == nullptr)
        return QString::fromLatin1(page.defaultLocation);
    return DecodeText(prefs.*page.location, prefs.Encoding);
}

PageTarget CheckPageTarget(const QString& path, QString& reason)
{
    // No file name holds a NUL: the system would take the name as ending there.
    if (path.contains(QChar(0))) {
        reason = QString::fromUtf8(Text::PageLocationHasNul);
        return PageTarget::Refused;
    }
    const QString shown = QDir::toNativeSeparators(path);
    const QString where = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QStringList own = {QString::fromLatin1(kCollectionFileName), QString::fromLatin1(kPreferencesFileName),
                       QString::fromLatin1(kLockFileName)};
    for (const char* name : SampleTemplateNames())
        own << QString::fromLatin1(name);
    for (const QString& name : own) {
        if (where == QDir::current().absoluteFilePath(name) || SameFile(path, name)) {
            reason = QString::fromUtf8(Text::PageOverOwnFile).arg(shown);
            return PageTarget::Refused;
        }
    }
    if (QFileInfo(path).isFile() && !LooksLikePage(path)) {
        reason = QString::fromUtf8(Text::NotAPageRefused).arg(shown);
        return PageTarget::NotAPage;
    }
    return PageTarget::Free;
}

namespace {

// The page of the given rows, or of every row of the table when there is no
// list of them. The list is read where it stands: it must outlive the writer.
std::function<bool(QIODevice&)> RowsWriter(const PageTemplateTexts& templates, const CardTableModel& table,
                                           std::optional<std::span<const int>> rows, const Preferences& prefs)
{
    return [&templates, &table, rows, &prefs](QIODevice& device) {
        const bool utf8Page = PageIsUtf8(templates.outer);
        const Preferences owner = OwnerForPage(prefs, utf8Page);
        const PageTotals totals = rows ? PageTotalsOf(table, *rows) : PageTotalsOf(table);
        // Only a page that asks for the search pays for it. A page whose
        // rows show no Cards publishes none in its data either.
        PageStream::CardSearchWriter search;
        if (HoldsCardSearch(templates.outer)) {
            search = [&table, &rows, &templates, utf8Page](const PageStream::Sink& sink) {
                return WriteCardSearchBlock(table, rows ? &*rows : nullptr,
                                            FieldPlaceholdersIn(templates.row) | kFieldsSearchNeeds, utf8Page,
                                            !IsBlankTemplate(templates.row), sink);
            };
        }
        return StreamPage(
            templates.outer,
            [&](PageStream& stream) {
                return rows ? WritePageData(stream, table, *rows, templates.row, utf8Page)
                            : WritePageData(stream, table, templates.row, utf8Page);
            },
            owner, totals,
            [&device, buffer = QByteArray()](std::string_view piece) mutable {
                return WritePageText(device, piece, buffer);
            },
            std::move(search));
    };
}

} // namespace

std::function<bool(QIODevice&)> PageWriter(const PageTemplateTexts& templates, const CardTableModel& table,
                                           const Preferences& prefs)
{
    return RowsWriter(templates, table, std::nullopt, prefs);
}

std::function<bool(QIODevice&)> PageWriter(const PageTemplateTexts& templates, const CardTableModel& table,
                                           std::span<const int> rows, const Preferences& prefs)
{
    return RowsWriter(templates, table, rows, prefs);
}

namespace {

void Publish(const PageDescription& page, const PageTemplateTexts& templates, PageOutcome outcome,
             const std::function<bool(QIODevice&)>& writePage, Preferences& prefs, MessageInterface& messages)
{
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
    QString refusal;
    switch (CheckPageTarget(path, refusal)) {
    case PageTarget::Refused:
        messages.ShowError(refusal, QString::fromUtf8(Text::ErrorSavingFileCaption));
        return;
    case PageTarget::NotAPage:
        if (!messages.AskYesNo(QString::fromUtf8(Text::ReplaceWithPage).arg(QDir::toNativeSeparators(path)),
                               QCoreApplication::applicationName()))
            return;
        break;
    case PageTarget::Free:
        break;
    }
    if (WritePage(path, writePage, messages) < 0)
        return;
    const QString generated = outcome == PageOutcome::EmptyRowTemplate
                                  ? QString::fromUtf8(Text::PageGeneratedWithoutCards)
                                        .arg(QString::fromLatin1(page.rowTemplate))
                                  : QString::fromUtf8(Text::PageGenerated);
    const QString question = generated + PageLocationText(page, prefs) + QString::fromUtf8(Text::ViewPageQuestion);
    if (messages.AskYesNo(question, QCoreApplication::applicationName()))
        messages.Open(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

} // namespace

void PublishPage(const PageDescription& page, const PageTemplateTexts& templates, const CardTableModel& table,
                 Preferences& prefs, MessageInterface& messages)
{
    Publish(page, templates, OutcomeOf(templates, table), PageWriter(templates, table, prefs), prefs, messages);
}

void PublishPage(const PageDescription& page, const PageTemplateTexts& templates, const CardTableModel& table,
                 std::span<const int> rows, Preferences& prefs, MessageInterface& messages)
{
    Publish(page, templates, OutcomeOf(templates, rows.size()), PageWriter(templates, table, rows, prefs), prefs,
            messages);
}
