#include "base/LineSyntax.h"
#include "base/TextMode.h"

#include <QBuffer>
#include <QTest>

#include <string>
#include <vector>

class TestLineSyntax : public QObject {
    Q_OBJECT

private slots:
    void splitsLines_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("plain") << QByteArray("NAME=Alpha") << QByteArray("NAME") << QByteArray("Alpha");
        QTest::newRow("empty value") << QByteArray("SERIES=") << QByteArray("SERIES") << QByteArray();
        QTest::newRow("no equals sign") << QByteArray("NAME") << QByteArray("NAME") << QByteArray();
        QTest::newRow("trailing white space") << QByteArray("NAME=Base Set \t\v\f\r") << QByteArray("NAME")
                                              << QByteArray("Base Set");
        QTest::newRow("leading spaces kept") << QByteArray(" NAME= Base") << QByteArray(" NAME") << QByteArray(" Base");
        QTest::newRow("further equals signs") << QByteArray("URL=a=b=c") << QByteArray("URL") << QByteArray("a=b=c");
        QTest::newRow("inner CR kept") << QByteArray("NAME=a\rb") << QByteArray("NAME") << QByteArray("a\rb");
        QTest::newRow("empty line") << QByteArray() << QByteArray() << QByteArray();
    }

    void splitsLines()
    {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, value);
        const KeyValue kv = SplitLine(std::string_view(line.constData(), std::size_t(line.size())));
        QCOMPARE(QByteArray(kv.key.data(), qsizetype(kv.key.size())), key);
        QCOMPARE(QByteArray(kv.value.data(), qsizetype(kv.value.size())), value);
    }

    // Line ends: CR LF and LF end a line, a lone CR does not, byte 26 ends
    // the file, and a last line without a break is read too.
    void readsLinesOfAFile()
    {
        std::vector<std::string> lines;
        ForEachKeyValue(std::string_view("A=1\r\nB=2\nC=x\ry\r\nD=4\x1a" "E=5\r\n"),
                        [&](std::string_view key, std::string_view value) {
                            lines.push_back(std::string(key) + "|" + std::string(value));
                        });
        QCOMPARE(lines, (std::vector<std::string>{"A|1", "B|2", "C|x\ry", "D|4"}));

        lines.clear();
        ForEachKeyValue(std::string_view("A=1\r\nB=last"), [&](std::string_view key, std::string_view value) {
            lines.push_back(std::string(key) + "|" + std::string(value));
        });
        QCOMPARE(lines, (std::vector<std::string>{"A|1", "B|last"}));
    }

    void preparesValuesForStorage_data()
    {
        QTest::addColumn<QByteArray>("typed");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("pasted line feed") << QByteArray("Two\nLines") << QByteArray("Two Lines");
        QTest::newRow("byte 26") << QByteArray("end\x1a" "of") << QByteArray("end of");
        QTest::newRow("pasted key line") << QByteArray("a.htm\r\nLIST=b.htm") << QByteArray("a.htm\r LIST=b.htm");
        QTest::newRow("trailing white space") << QByteArray("Set \t\v\f\r") << QByteArray("Set");
        QTest::newRow("trailing line feed") << QByteArray("Set\r\n") << QByteArray("Set");
        QTest::newRow("white space alone") << QByteArray(" \n\x1a\t") << QByteArray();
        QTest::newRow("leading and inner kept") << QByteArray("  a\rb = c") << QByteArray("  a\rb = c");
        QTest::newRow("other bytes kept") << QByteArray("\0\xe9\x1b", 3) << QByteArray("\0\xe9\x1b", 3);
    }

    // What is prepared is what a value line gives back.
    void preparesValuesForStorage()
    {
        QFETCH(QByteArray, typed);
        QFETCH(QByteArray, stored);
        std::string value = typed.toStdString();
        PrepareValueForStorage(value);
        QCOMPARE(QByteArray::fromStdString(value), stored);
        QByteArray line;
        AppendTextMode(line, "KEY=" + value + "\n");
        std::string read = "never read";
        ForEachKeyValue(std::string_view(line.constData(), std::size_t(line.size())),
                        [&](std::string_view, std::string_view got) { read = got; });
        QCOMPARE(read, value);
    }

    void convertsTextMode()
    {
        QCOMPARE(FromTextMode("a\r\nb\rc\nd\r\r\ne\x1a tail"), std::string("a\nb\rc\nd\r\ne"));
        QByteArray out;
        AppendTextMode(out, "a\nb\r\n\n");
        QCOMPARE(out, QByteArray("a\r\nb\r\r\n\r\n"));
    }
};

QTEST_APPLESS_MAIN(TestLineSyntax)
#include "test_line_syntax.moc"
