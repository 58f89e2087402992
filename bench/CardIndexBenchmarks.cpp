#include "CardIndexBenchmarks.h"

#include "Measure.h"
#include "collection/lookup/MagicNameIndex.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <vector>

namespace {

// Names built from words as card names are: two or three of a few hundred,
// so that a prefix matches many names, as a short one does in the real index.
QString NameOf(std::uint64_t index)
{
    static const QStringList kWords = [] {
        QStringList words;
        const char* stems[] = {"Ancient", "Bolt", "Storm", "Dragon", "Shade", "Grove", "Knight", "Ember", "Tide",
                               "Mind", "Iron", "Veil", "Rune", "Spire", "Wolf", "Frost", "Sun", "Ash", "Thorn", "Gale"};
        for (const char* stem : stems) {
            for (int n = 0; n < 15; ++n)
                words << QString::fromLatin1(stem) + QString(QChar(u'a' + n));
        }
        return words;
    }();
    const auto count = std::uint64_t(kWords.size());
    QString name = kWords[int(index % count)] + u' ' + kWords[int(index / count % count)];
    if (index >= count * count)
        name += u' ' + kWords[int(index / count / count % count)];
    return name;
}

QByteArray OracleCards(std::uint64_t names)
{
    QByteArray json = "[";
    for (std::uint64_t i = 0; i < names; ++i) {
        if (i > 0)
            json += ",\n";
        json += R"({"object":"card","name":")" + NameOf(i).toUtf8() + R"(","lang":"en","layout":"normal"})";
    }
    json += "]";
    return json;
}

} // namespace

bool RunCardIndexBenchmarks(std::uint64_t names)
{
    QByteArray json = OracleCards(names);
    QBuffer cards(&json);
    cards.open(QIODevice::ReadOnly);
    const QString path = QDir::current().filePath(QStringLiteral("magic-names.sqlite"));
    QString reason;
    int built = 0;
    const Stopwatch build;
    if (!MagicNameIndex::Build(cards, path, reason, &built)) {
        std::fprintf(stderr, "the index was not built: %s\n", qPrintable(reason));
        return false;
    }
    Report(names, "card_index_build", build.Elapsed());
    Report(names, "card_index_bytes", double(QFileInfo(path).size()));

    MagicNameIndex index(path);
    std::vector<Duration> keystrokes;
    int offered = 0;
    for (std::uint64_t typed = 0; typed < 20; ++typed) {
        const QString name = NameOf(typed * 7919 % names);
        for (qsizetype length = 1; length <= name.size(); ++length) {
            const Stopwatch keystroke;
            offered += int(index.Complete(name.left(length)).size());
            keystrokes.push_back(keystroke.Elapsed());
        }
    }
    Report(names, "card_index_keystroke", Median(keystrokes));
    Report(names, "card_index_keystroke_max", Longest(keystrokes));
    return offered > 0;
}
