#include "app/ColumnFit.h"
#include "collection/CardTableModel.h"

#include <QFontDatabase>
#include <QTest>
#include <QTextLayout>

#include <cmath>
#include <random>

namespace {

// What the view's text layout needs for the text on one line.
int LaidOutWidth(const QString& text, const QFont& font)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(1e6);
    layout.endLayout();
    return int(std::ceil(line.naturalTextWidth()));
}

std::string Bytes(const QString& text)
{
    return text.toStdString();
}

// Texts rich in kerning pairs, ligatures ("ff", "fi", "fl"), overhanging
// last letters and tabs, with marks and other scripts where asked for.
QString RandomText(std::mt19937& random, bool others, int maxLength)
{
    static const QString ascii = QStringLiteral("AVTWYfffiiljL_ .,'-xyz019\t");
    static const QString beyond = QString::fromUtf8("\xc3\xa9\xc3\x9f\xc3\x85\xd0\x96\xce\xa9\xe6\x97\xa5\xed\x95\x9c"
                                                    "\xcc\x81\xd7\x90\xd8\xa7\xe2\x82\xac");
    QString text;
    const int length = int(random() % std::uint32_t(maxLength));
    for (int k = 0; k < length; ++k)
        text += (others && random() % 5 == 0) ? beyond[random() % beyond.size()] : ascii[random() % ascii.size()];
    return text;
}

int WidestOfAll(const ColumnFit& fit)
{
    int widest = 0;
    for (int column = 0; column < kCardFieldCount; ++column)
        widest = std::max(widest, fit.WidestText(column));
    return widest;
}

} // namespace

class TestColumnFit : public QObject {
    Q_OBJECT

private slots:
    // The width built from pairs must be the laid-out width.
    void measuresTextsAsTheLayoutDoes()
    {
        const QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        ColumnFit fit(font);
        std::mt19937 random(3);
        for (int i = 0; i < 4000; ++i) {
            const QString text = RandomText(random, i % 2 == 1, 24);
            QCOMPARE(fit.TextWidth(Bytes(text)), LaidOutWidth(text, font));
        }
    }

    // Bytes that are not UTF-8 are measured as the view decodes them.
    void measuresBytesAsTheViewDecodesThem_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addRow("Latin-1") << QByteArray("Pok\xe9mon");
        QTest::addRow("cut short") << QByteArray("Caf\xc3");
        QTest::addRow("stray continuation") << QByteArray("a\x80\xbf" "b");
        QTest::addRow("overlong") << QByteArray("A\xc1\x81 \xe0\x80\xaf");
        QTest::addRow("surrogate") << QByteArray("x\xed\xa0\x80y");
        QTest::addRow("beyond Unicode") << QByteArray("x\xf4\x90\x80\x80y");
        QTest::addRow("byte order mark") << QByteArray("\xef\xbb\xbfWord");
        QTest::addRow("beyond the BMP") << QByteArray("Card \xf0\x9f\x83\x8f");
        QTest::addRow("NUL") << QByteArray("a\0\xc3\xa9", 4);
    }

    void measuresBytesAsTheViewDecodesThem()
    {
        QFETCH(QByteArray, bytes);
        const QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        ColumnFit fit(font);
        QCOMPARE(fit.TextWidth(std::string_view(bytes.constData(), std::size_t(bytes.size()))),
                 LaidOutWidth(QString::fromUtf8(bytes), font));
    }

    // Rows shared out over threads count the same widths as rows measured
    // one by one: taking the rows out again in the same order, the widest
    // text of each column stays the same all the way.
    void sharesRowsOutExactly_data()
    {
        QTest::addColumn<int>("threads");
        for (const int threads : {2, 3, 5})
            QTest::addRow("%d threads", threads) << threads;
    }

    void sharesRowsOutExactly()
    {
        QFETCH(int, threads);
        const QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        std::mt19937 random(7);
        std::vector<Card> cards(2000);
        for (std::size_t i = 0; i < cards.size(); ++i) {
            for (int field = 0; field < kCardFieldCount; ++field)
                cards[i][field] = Bytes(RandomText(random, (i + std::size_t(field)) % 3 == 0, 4 + 6 * field));
        }
        // Wider than the widths that the threads count in an array.
        cards[1234][DescriptionField] = std::string(1500, 'W');
        CardTableModel table;
        table.SetRows(cards);

        ColumnFit one(font);
        for (int row = 0; row < table.rowCount(); ++row)
            one.Add(table, row);
        ColumnFit shared(font);
        shared.AddRows(table, 0, table.rowCount() - 1, threads);
        QVERIFY(WidestOfAll(shared) > 4096);
        for (int row = 0; row < table.rowCount(); ++row) {
            for (int column = 0; column < kCardFieldCount; ++column)
                QCOMPARE(shared.WidestText(column), one.WidestText(column));
            one.Remove(table, row);
            shared.Remove(table, row);
        }
        QCOMPARE(WidestOfAll(shared), 0);
    }
};

QTEST_MAIN(TestColumnFit)
#include "test_column_fit.moc"
