#include "cli/PublishCommand.h"

#include "base/FileAccess.h"
#include "cli/CliCollection.h"
#include "cli/CliOptions.h"
#include "collection/CardTableModel.h"
#include "collection/file/CollectionFile.h"
#include "collection/file/CollectionSaver.h"
#include "pages/PageCommands.h"
#include "pages/SampleTemplates.h"
#include "resources/StringTable.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace {

// The sample templates go into a folder that lacks some, as the window
// puts them there: a folder that import-csv made can be published at once.
bool CopySamples(QString& reason)
{
    QString why;
    if (CopyMissingSampleTemplates(QDir::currentPath(), why))
        return true;
    reason = QString::fromUtf8(Text::CliSamplesNotCopied).arg(why);
    return false;
}

// Writes the page where the window would, with the same bytes; writes
// nothing else but the sample templates a folder lacks, and nothing at all
// when the collection is missing or the page would be empty.
int Publish(const PageDescription& page, const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    CliOptions options;
    QString reason;
    if (!options.Parse(arguments, {QStringLiteral("--folder")}, {}, reason) || !options.Positional().isEmpty()) {
        err << "quillmark-cli: " << (reason.isEmpty() ? QStringLiteral("unexpected argument") : reason) << '\n';
        return kExitUsage;
    }
    PageTemplateTexts templates;
    Preferences prefs;
    CardTableModel table;
    if (!EnterFolder(options, reason)) {
        err << "quillmark-cli: " << reason << '\n';
        return kExitFailure;
    }
    CollectionSaver file(QString::fromLatin1(kCollectionFileName));
    bool ready = ReadFolderCollection(file, table, false, reason) && CopySamples(reason)
                 && ReadPageTemplates(page, templates, reason) && ReadFolderPreferences(prefs, reason);
    const PageOutcome outcome = ready ? OutcomeOf(templates, table) : PageOutcome::Page;
    if (outcome == PageOutcome::EmptyOuterTemplate) {
        reason = QString::fromUtf8(Text::CliPageWouldBeEmpty).arg(QString::fromLatin1(page.outerTemplate));
        ready = false;
    }
    const QString path = ready ? PagePath(page, prefs) : QString();
    // There is nobody to ask whether a file that is not a page may go.
    const bool placed = ready && CheckPageTarget(path, reason) == PageTarget::Free;
    if (!placed || !WriteFileSafely(path, PageWriter(templates, table, prefs), &reason)) {
        err << "quillmark-cli: " << TerminalText(reason) << '\n';
        return kExitFailure;
    }
    if (outcome == PageOutcome::EmptyRowTemplate) {
        err << "quillmark-cli: "
            << QString::fromUtf8(Text::CliPageWithoutCards).arg(QString::fromLatin1(page.rowTemplate)) << '\n';
    }
    out << QFileInfo(path).absoluteFilePath() << '\n';
    return kExitSuccess;
}

constexpr const char* kPublishDetails =
    "The page is written to the place chosen in Preferences (qmk.ini), and its path\n"
    "printed. A folder without some of the page templates is given the sample ones\n"
    "first, as the window gives them. A page whose outer template is empty would be\n"
    "empty: it is not written, and the command fails.";

} // namespace

CliCommand CatalogueCommand()
{
    return {"catalogue", "catalogue [--folder DIR]", "Write the Catalogue page, as the Catalogue button does.",
            [](const QStringList& arguments, QTextStream& out, QTextStream& err) {
                return Publish(kCataloguePage, arguments, out, err);
            },
            kPublishDetails};
}

CliCommand ListCommand()
{
    return {"list", "list [--folder DIR]", "Write the List page, as the List button does.",
            [](const QStringList& arguments, QTextStream& out, QTextStream& err) {
                return Publish(kListPage, arguments, out, err);
            },
            kPublishDetails};
}
