#include "cli/CardIndexCommand.h"

#include "cli/CliOptions.h"
#include "collection/lookup/LookupService.h"
#include "collection/lookup/MagicIndexDownload.h"
#include "collection/lookup/MagicNameIndex.h"
#include "resources/StringTable.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QTextStream>

namespace {

int Download(const QString& path, QTextStream& out, QTextStream& err)
{
    QString failure;
    int names = 0;
    QEventLoop loop;
    // One command per process: its own service, gone with its last request
    // before the application object is.
    LookupService service(CardSources::FromEnvironment());
    MagicIndexDownload download(service, path);
    QObject::connect(&download, &MagicIndexDownload::Finished, &loop, [&](const QString& why, int count) {
        failure = why;
        names = count;
        loop.quit();
    });
    download.Start();
    loop.exec();
    if (!failure.isEmpty()) {
        err << "quillmark-cli: " << failure << '\n';
        return kExitFailure;
    }
    out << QString::fromUtf8(Text::CliCardIndexMade).arg(names).arg(path) << '\n';
    return kExitSuccess;
}

int Complete(const QString& path, const QString& typed, QTextStream& out, QTextStream& err)
{
    const MagicNameIndex index(path);
    if (!index.IsOpen()) {
        err << "quillmark-cli: "
            << QString::fromUtf8(MagicNameIndex::Available() ? Text::CliCardIndexMissing : Text::LookupIndexNoDriver)
                   .arg(path)
            << '\n';
        return kExitFailure;
    }
    for (const QString& name : index.Complete(typed, 20))
        out << name << '\n';
    return kExitSuccess;
}

int CardIndex(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    CliOptions options;
    QString reason;
    const QString indexOption = QStringLiteral("--index");
    if (!options.Parse(arguments, {indexOption}, {}, reason)) {
        err << "quillmark-cli: " << reason << '\n';
        return kExitUsage;
    }
    const QStringList words = options.Positional();
    const QString path = QFileInfo(options.Value(indexOption, MagicNameIndex::DefaultPath())).absoluteFilePath();
    if (words.size() == 1 && words[0] == QLatin1String("download"))
        return Download(path, out, err);
    if (words.size() >= 2 && words[0] == QLatin1String("complete"))
        return Complete(path, words.mid(1).join(QLatin1Char(' ')), out, err);
    err << "quillmark-cli: " << Text::CliCardIndexUsage << '\n';
    return kExitUsage;
}

} // namespace

CliCommand CardIndexCommand()
{
    return {"card-index", "card-index [--index FILE] download | complete TEXT",
            "Download the index of Magic card names, or complete a name from it.", CardIndex,
            "download fetches Scryfall's file of every Magic card and keeps their names in\n"
            "an index on this machine, replacing the one there only once the new one is\n"
            "whole. complete prints, one a line, the names whose words begin as the words\n"
            "of TEXT do, without asking the network. The index is kept in\n"
            "~/.cache/quillmark/magic-names.sqlite unless --index names another file."};
}
