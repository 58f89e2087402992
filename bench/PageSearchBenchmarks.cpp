#include "PageSearchBenchmarks.h"

#include "CardGenerator.h"
#include "Measure.h"
#include "collection/CardTableModel.h"
#include "pages/PageCommands.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

#include <algorithm>
#include <cstdio>

namespace {

const QString kChromium = QStringLiteral("/usr/bin/chromium");

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The figures the page leaves on its root element, in milliseconds.
std::vector<double> Figures(const QString& dom, const QString& attribute)
{
    const QRegularExpression pattern(QStringLiteral("%1=\"([^\"]*)\"").arg(attribute));
    std::vector<double> figures;
    const QRegularExpressionMatch match = pattern.match(dom);
    if (!match.hasMatch())
        return figures;
    for (const QString& part : match.captured(1).split(u' ', Qt::SkipEmptyParts))
        figures.push_back(part.toDouble());
    return figures;
}

bool MeasurePage(std::uint64_t cards, const CardTableModel& table, const PageDescription& kind, const char* name)
{
    const QString templates = QStringLiteral(QUILLMARK_TEMPLATE_DIR "/");
    const PageTemplateTexts texts{ReadAll(templates + QString::fromLatin1(kind.outerTemplate)).toStdString(),
                                  ReadAll(templates + QString::fromLatin1(kind.rowTemplate)).toStdString()};
    const QString path = QStringLiteral("search-%1.htm").arg(QString::fromLatin1(name));
    {
        QFile page(path);
        if (!page.open(QIODevice::WriteOnly) || !PageWriter(texts, table, Preferences())(page))
            return false;
        // After the page's own engine, which it drives as a reader would.
        if (page.write(ReadAll(QStringLiteral(QUILLMARK_BENCH_DIR "/page-search-measure.html"))) <= 0)
            return false;
    }
    QTemporaryDir profile;
    QProcess browser;
    browser.start(kChromium, {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
                              QStringLiteral("--disable-gpu"), QStringLiteral("--disable-background-networking"),
                              QStringLiteral("--disable-component-update"), QStringLiteral("--disable-sync"),
                              QStringLiteral("--no-first-run"), QStringLiteral("--user-data-dir=") + profile.path(),
                              // The generated pictures' addresses lead nowhere: no time goes to looking them up.
                              QStringLiteral("--host-resolver-rules=MAP * ~NOTFOUND"),
                              // Nor to asking for them: headless, every picture is fetched, lazy or not, and
                              // each failure costs the page's thread more than its rows do; a reader's
                              // browser asks only for the few in sight.
                              QStringLiteral("--blink-settings=imagesEnabled=false"),
                              QStringLiteral("--dump-dom"),
                              QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString()});
    if (!browser.waitForFinished(1800000)) {
        browser.kill();
        browser.waitForFinished();
        std::fprintf(stderr, "Chromium did not finish the %s page\n", name);
        return false;
    }
    // The figures stand on the root element, at the start of the dump.
    const QString dom = QString::fromUtf8(browser.readAllStandardOutput().left(1 << 16));
    const std::vector<double> start = Figures(dom, QStringLiteral("data-search-start-ms"));
    const std::vector<double> ready = Figures(dom, QStringLiteral("data-search-ready-ms"));
    std::vector<double> work = Figures(dom, QStringLiteral("data-keystroke-work-ms"));
    std::vector<double> shown = Figures(dom, QStringLiteral("data-keystroke-shown-ms"));
    if (start.empty() || ready.empty() || work.empty() || shown.empty()) {
        std::fprintf(stderr, "the %s page never became searchable\n", name);
        return false;
    }
    const std::string prefix = std::string("page_search_") + name;
    Report(cards, prefix + "_bytes", double(QFileInfo(path).size()));
    Report(cards, prefix + "_ready_s", ready.front() / 1000);
    Report(cards, prefix + "_engine_s", (ready.front() - start.front()) / 1000);
    Report(cards, prefix + "_keystroke_s", Median(work) / 1000);
    Report(cards, prefix + "_keystroke_max_s", *std::max_element(work.begin(), work.end()) / 1000);
    Report(cards, prefix + "_keystroke_shown_s", Median(shown) / 1000);
    Report(cards, prefix + "_keystroke_shown_max_s", *std::max_element(shown.begin(), shown.end()) / 1000);
    QFile::remove(path);
    return true;
}

} // namespace

bool RunPageSearchBenchmarks(std::uint64_t cards, const std::vector<std::string>& pages)
{
    if (!QFile::exists(kChromium)) {
        std::fprintf(stderr, "no Chromium at %s\n", qPrintable(kChromium));
        return false;
    }
    CardTableModel table;
    CardTableModel::RowBuilder rows;
    for (std::uint64_t index = cards; index-- > 0;) {
        Card card = GeneratedCard(index);
        AddGeneratedDetails(card, index);
        rows.Append(card);
    }
    table.SetRowsBottomFirst(std::move(rows));
    const auto asked = [&pages](const char* name) {
        return pages.empty() || std::find(pages.begin(), pages.end(), name) != pages.end();
    };
    return (!asked("catalogue") || MeasurePage(cards, table, kCataloguePage, "catalogue"))
           && (!asked("list") || MeasurePage(cards, table, kListPage, "list"));
}
