#include "cli/PublishCommand.h"

#include "base/FileAccess.h"
#include "cli/CliCollection.h"
#include "cli/CliOptions.h"
#include "collection/CardTableModel.h"
#include "pages/PageCommands.h"
#include "pages/lists/CardLists.h"
#include "pages/SampleTemplates.h"
#include "resources/StringTable.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <vector>

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
// when the collection is missing or the page would be empty. A list (not
// null) takes only its Cards, and may go to --output instead.
int Publish(const PageDescription& page, const CardListPage* list, const QStringList& arguments, QTextStream& out,
            QTextStream& err)
{
    CliOptions options;
    QString reason;
    QStringList valueOptions = {QStringLiteral("--folder")};
    if (list != nullptr)
        valueOptions << QStringLiteral("--output");
    if (!options.Parse(arguments, valueOptions, {}, reason) || !options.Positional().isEmpty()) {
        err << "quillmark-cli: " << (reason.isEmpty() ? QStringLiteral("unexpected argument") : reason) << '\n';
        return kExitUsage;
    }
    // FILE is where the command was given, not in the collection's folder.
    const QString output = options.Has(QStringLiteral("--output"))
                               ? QFileInfo(options.Value(QStringLiteral("--output"))).absoluteFilePath()
                               : QString();
    PageTemplateTexts templates;
    Preferences prefs;
    CardTableModel table;
    if (!EnterFolder(options, reason)) {
        err << "quillmark-cli: " << reason << '\n';
        return kExitFailure;
    }
    bool ready = ReadFolderCollection(table, reason);
    std::vector<int> rows;
    if (ready && list != nullptr) {
        rows = ListRows(*list, table);
        if (rows.empty()) {
            reason = QString::fromUtf8(list->cliNoCard);
            ready = false;
        }
    }
    ready = ready && CopySamples(reason) && ReadPageTemplates(page, templates, reason)
            && ReadFolderPreferences(prefs, reason);
    const PageOutcome outcome = !ready ? PageOutcome::Page
                                : list != nullptr ? OutcomeOf(templates, rows.size())
                                                  : OutcomeOf(templates, table);
    if (outcome == PageOutcome::EmptyOuterTemplate) {
        reason = QString::fromUtf8(Text::CliPageWouldBeEmpty).arg(QString::fromLatin1(page.outerTemplate));
        ready = false;
    }
    const QString path = !ready ? QString() : !output.isEmpty() ? output : PagePath(page, prefs);
    // There is nobody to ask whether a file that is not a page may go.
    const bool placed = ready && CheckPageTarget(path, reason) == PageTarget::Free;
    const auto writer =
        list != nullptr ? PageWriter(templates, table, rows, prefs) : PageWriter(templates, table, prefs);
    if (!placed || !WriteFileSafely(path, writer, &reason)) {
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

constexpr const char* kListDetails =
    "The page holds only the Cards whose count is above 0, in the order of the\n"
    "table, and its totals count them alone. It is written to FILE, or else to the\n"
    "default place in the collection's folder, and its path printed. A folder\n"
    "without some of the page templates is given the sample ones first. When no\n"
    "Card has the count, or the outer template is empty, nothing is written and the\n"
    "command fails.";

} // namespace

CliCommand CatalogueCommand()
{
    return {"catalogue", "catalogue [--folder DIR]", "Write the Catalogue page, as the Catalogue button does.",
            [](const QStringList& arguments, QTextStream& out, QTextStream& err) {
                return Publish(kCataloguePage, nullptr, arguments, out, err);
            },
            kPublishDetails};
}

CliCommand ListCommand()
{
    return {"list", "list [--folder DIR]", "Write the List page, as the List button does.",
            [](const QStringList& arguments, QTextStream& out, QTextStream& err) {
                return Publish(kListPage, nullptr, arguments, out, err);
            },
            kPublishDetails};
}

CliCommand TradeCommand()
{
    return {"trade", "trade [--folder DIR] [--output FILE]",
            "Write the Trade List (trade.htm): the Cards with copies for trade.",
            [](const QStringList& arguments, QTextStream& out, QTextStream& err) {
                return Publish(kTradeList.page, &kTradeList, arguments, out, err);
            },
            kListDetails};
}

CliCommand WantCommand()
{
    return {"want", "want [--folder DIR] [--output FILE]", "Write the Want List (want.htm): the Cards still wanted.",
            [](const QStringList& arguments, QTextStream& out, QTextStream& err) {
                return Publish(kWantList.page, &kWantList, arguments, out, err);
            },
            kListDetails};
}
