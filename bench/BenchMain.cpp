// The benchmark harness that scripts/bench runs, one process per step and
// number of Cards, so that each reports its own peak memory:
//   quillmark_bench generate|generate-details|window|steps|history|csv-import|csv-import-apps|floor CARDS FOLDER
//   quillmark_bench card-index NAMES FOLDER
//   quillmark_bench market-refresh CARDS FOLDER
//   quillmark_bench literal CARDS FOLDER sort,load,catalogue
//   quillmark_bench page-search CARDS FOLDER [catalogue,list]
//   quillmark_bench statistics CARDS FOLDER
//   quillmark_bench reimport CARDS FOLDER
#include "BaselineBenchmarks.h"
#include "CardGenerator.h"
#include "CardIndexBenchmarks.h"
#include "CsvAppBenchmarks.h"
#include "HistoryBenchmarks.h"
#include "MarketRefreshBenchmarks.h"
#include "PageSearchBenchmarks.h"
#include "ReimportBenchmarks.h"
#include "StartupSteps.h"
#include "StatisticsBenchmarks.h"
#include "WindowBenchmarks.h"
#include "base/LargeAllocations.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <string>
#include <vector>

namespace {

bool Generate(std::uint64_t cards, bool withDetails)
{
    for (const QString& name : QDir(QStringLiteral(QUILLMARK_TEMPLATE_DIR)).entryList({QStringLiteral("*.htm")})) {
        QFile::remove(name);
        if (!QFile::copy(QDir(QStringLiteral(QUILLMARK_TEMPLATE_DIR)).filePath(name), name))
            return false;
    }
    QFile::remove(QStringLiteral("qmk.ini"));
    return WriteGeneratedCollection(QStringLiteral("qmk.dat"), cards, withDetails);
}

std::vector<std::string> Split(const std::string& list)
{
    std::vector<std::string> parts;
    std::size_t begin = 0;
    while (begin <= list.size()) {
        const std::size_t end = std::min(list.find(',', begin), list.size());
        if (end > begin)
            parts.push_back(list.substr(begin, end - begin));
        begin = end + 1;
    }
    return parts;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: %s generate|generate-details|window|steps|history|csv-import|csv-import-apps|floor|card-index|"
                     "market-refresh|literal|page-search|statistics|reimport CARDS "
                     "FOLDER [STEPS]\n",
                     argv[0]);
        return 2;
    }
    const std::string mode = argv[1];
    const std::uint64_t cards = std::stoull(argv[2]);
    if (!QDir::setCurrent(QString::fromLocal8Bit(argv[3]))) {
        std::fprintf(stderr, "no folder %s\n", argv[3]);
        return 2;
    }
    if (mode == "generate" || mode == "generate-details")
        return Generate(cards, mode == "generate-details") ? 0 : 1;
    if (mode == "floor")
        return RunIoFloor(cards) ? 0 : 1;

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // As the programs do, so that the memory measured is theirs.
    ReturnLargeAllocationsWhenFreed();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quillmark"));
    if (mode == "card-index")
        return RunCardIndexBenchmarks(cards) ? 0 : 1;
    if (mode == "market-refresh")
        return RunMarketRefreshBenchmark(cards) ? 0 : 1;
    if (mode == "window")
        return RunWindowBenchmarks(cards) ? 0 : 1;
    if (mode == "steps")
        return RunStartupSteps(cards) ? 0 : 1;
    if (mode == "history")
        return RunHistoryBenchmarks(cards) ? 0 : 1;
    if (mode == "csv-import")
        return RunCsvImportBenchmark(cards) ? 0 : 1;
    if (mode == "csv-import-apps")
        return RunCsvAppImportBenchmark(cards) ? 0 : 1;
    if (mode == "reimport")
        return RunReimportBenchmark(cards) ? 0 : 1;
    if (mode == "page-search")
        return RunPageSearchBenchmarks(cards, argc >= 5 ? Split(argv[4]) : std::vector<std::string>()) ? 0 : 1;
    if (mode == "statistics")
        return RunStatisticsBenchmarks(cards) ? 0 : 1;
    if (mode == "literal" && argc >= 5)
        return RunLiteralBaselines(cards, Split(argv[4])) ? 0 : 1;
    std::fprintf(stderr, "unknown mode %s\n", argv[1]);
    return 2;
}
