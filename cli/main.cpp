#include "base/LargeAllocations.h"
#include "cli/CardIndexCommand.h"
#include "cli/CliCommand.h"
#include "cli/ExportCsvCommand.h"
#include "cli/ImportCsvCommand.h"
#include "cli/LookupCommand.h"
#include "cli/MergeCommand.h"
#include "cli/PricesCommand.h"
#include "cli/PublishCommand.h"
#include "cli/SetsCommand.h"
#include "cli/StatsCommand.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <vector>

namespace {

std::vector<CliCommand> Commands()
{
    return {CatalogueCommand(), ListCommand(),   TradeCommand(),  WantCommand(),   ExportCsvCommand(),
            ImportCsvCommand(), MergeCommand(),  StatsCommand(),  SetsCommand(),   LookupCommand(),
            CardIndexCommand(), PricesCommand()};
}

void PrintHelp(QTextStream& out)
{
    out << "Usage: quillmark-cli COMMAND [OPTIONS]\n"
           "\n"
           "Works on the Quillmark collection in a folder (the current one unless --folder\n"
           "DIR is given) without opening a window.\n"
           "\n"
           "Commands:\n";
    // A usage too long for its column has its summary on a line of its own.
    for (const CliCommand& command : Commands()) {
        const QString usage = QString::fromUtf8(command.usage);
        out << "  " << usage.leftJustified(30) << (usage.size() > 30 ? "\n" + QString(33, QLatin1Char(' ')) : " ")
            << command.summary << '\n';
    }
    out << "\n"
           "Options:\n"
           "  --help                         Show this help and exit.\n"
           "  --version                      Show the version and exit.\n"
           "\n"
           "Results go to standard output, reasons to standard error. The exit status is 0\n"
           "on success, 1 when the command failed, 2 when it was called wrongly and 3 when\n"
           "merge found conflicts.\n";
}

} // namespace

int main(int argc, char** argv)
{
    ReturnLargeAllocationsWhenFreed();
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLMARK_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty()) {
        PrintHelp(err);
        return kExitUsage;
    }
    const QString name = arguments.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help")) {
        PrintHelp(out);
        return kExitSuccess;
    }
    if (name == QLatin1String("--version")) {
        out << "quillmark-cli " << QCoreApplication::applicationVersion() << '\n';
        return kExitSuccess;
    }
    for (const CliCommand& command : Commands()) {
        if (name == QLatin1String(command.name)) {
            if (arguments.contains(QStringLiteral("--help"))) {
                out << "Usage: quillmark-cli " << command.usage << "\n\n" << command.summary << '\n';
                if (*command.details != '\0')
                    out << '\n' << command.details << '\n';
                return kExitSuccess;
            }
            return command.run(arguments, out, err);
        }
    }
    err << "quillmark-cli: unknown command " << name << "; see quillmark-cli --help\n";
    return kExitUsage;
}
