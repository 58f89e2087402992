#include "cli/PublishCommand.h"

#include "base/FileAccess.h"
#include "cli/CliCollection.h"
#include "cli/CliOptions.h"
#include "collection/CardTableModel.h"
#include "collection/file/CollectionFile.h"
#include "collection/file/CollectionSaver.h"
#include "pages/PageCommands.h"

#include <QFileInfo>
#include <QTextStream>

namespace {

// Writes the page where the window would, with the same bytes; writes
// nothing else, and nothing at all when a file it needs is missing.
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
    const bool ready = ReadPageTemplates(page, templates, reason) && ReadFolderCollection(file, table, false, reason)
                       && ReadFolderPreferences(prefs, reason);
    const QString path = ready ? PagePath(page, prefs) : QString();
    // There is nobody to ask whether a file that is not a page may go.
    const bool placed = ready && CheckPageTarget(path, reason) == PageTarget::Free;
    if (!placed || !WriteFileSafely(path, PageWriter(templates, table, prefs), &reason)) {
        err << "quillmark-cli: " << TerminalText(reason) << '\n';
        return kExitFailure;
    }
    out << QFileInfo(path).absoluteFilePath() << '\n';
    return kExitSuccess;
}

} // namespace

CliCommand CatalogueCommand()
{
    return {"catalogue", "catalogue [--folder DIR]", "Write the Catalogue page, as the Catalogue button does.",
            [](const QStringList& arguments, QTextStream& out, QTextStream& err) {
                return Publish(kCataloguePage, arguments, out, err);
            }};
}

CliCommand ListCommand()
{
    return {"list", "list [--folder DIR]", "Write the List page, as the List button does.",
            [](const QStringList& arguments, QTextStream& out, QTextStream& err) {
                return Publish(kListPage, arguments, out, err);
            }};
}
