#include "cli/PublishCommand.h"

#include "base/FileAccess.h"
#include "base/TextMode.h"
#include "cli/CliCollection.h"
#include "cli/CliOptions.h"
#include "collection/CardTableModel.h"
#include "pages/PageCommands.h"

#include <QFileInfo>
#include <QTextStream>

namespace {

bool ReadTemplate(const char* fileName, std::string& text, QString& reason)
{
    QByteArray raw;
    if (!ReadFile(QString::fromLatin1(fileName), raw, &reason))
        return false;
    text = FromTextMode(std::string_view(raw.constData(), std::size_t(raw.size())));
    return true;
}

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
    const bool ready = EnterFolder(options, reason) && ReadTemplate(page.outerTemplate, templates.outer, reason)
                       && ReadTemplate(page.rowTemplate, templates.row, reason)
                       && ReadCollectionFile(table, reason) && ReadPreferencesFile(prefs, reason);
    const QString path = ready ? PagePath(page, prefs) : QString();
    if (!ready || !WriteFileSafely(path, PageWriter(templates, table, prefs), &reason)) {
        err << "quillmark-cli: " << reason << '\n';
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
