#include "app/table/ColumnFit.h"
#include "base/TextEncoding.h"
#include "collection/CardTableModel.h"
#include "support/TableRows.h"

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
    for (int column = 0; column < kAllCardFieldCount; ++column)
        widest = std::max(widest, fit.WidestText(column));
    return widest;
}

} // namespace

Q_DECLARE_METATYPE(TextEncoding)

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

    // Bytes that are not UTF-8 are measured as the view decodes them, and
    // so are the bytes of a Windows-1252 collection, UTF-8 or not.
    void measuresBytesAsTheViewDecodesThem_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<TextEncoding>("encoding");
        const TextEncoding utf8 = TextEncoding::Utf8;
        QTest::addRow("Latin-1") << QByteArray("Pok\xe9mon") << utf8;
        QTest::addRow("cut short") << QByteArray("Caf\xc3") << utf8;
        QTest::addRow("stray continuation") << QByteArray("a\x80\xbf" "b") << utf8;
        QTest::addRow("overlong") << QByteArray("A\xc1\x81 \xe0\x80\xaf") << utf8;
        QTest::addRow("surrogate") << QByteArray("x\xed\xa0\x80y") << utf8;
        QTest::addRow("beyond Unicode") << QByteArray("x\xf4\x90\x80\x80y") << utf8;
        QTest::addRow("byte order mark") << QByteArray("\xef\xbb\xbfWord") << utf8;
        QTest::addRow("beyond the BMP") << QByteArray("Card \xf0\x9f\x83\x8f") << utf8;
        QTest::addRow("NUL") << QByteArray("a\0\xc3\xa9", 4) << utf8;
        const TextEncoding windows = TextEncoding::Windows1252;
        QTest::addRow("1252 letters") << QByteArray("Pok\xe9mon \x80 \x9f") << windows;
        QTest::addRow("1252 of UTF-8 bytes") << QByteArray("Caf\xc3\xa9 \xe6\x97\xa5") << windows;
        QTest::addRow("1252 ASCII") << QByteArray("AVToffice") << windows;
    }

    void measuresBytesAsTheViewDecodesThem()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(TextEncoding, encoding);
        const QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        ColumnFit fit(font);
        const std::string_view view(bytes.constData(), std::size_t(bytes.size()));
        QCOMPARE(fit.TextWidth(view, encoding), LaidOutWidth(DecodeText(view, encoding), font));
    }

    // Rows shared out over threads count the same widths as rows measured
    // one by one: taking the rows out again in the same order, the widest
    // text of each column stays the same all the way.
    void sharesRowsOutExactly_data()
    {
        QTest::addColumn<int>("threads");
        QTest::addColumn<TextEncoding>("encoding");
        QTest::addColumn<unsigned>("measured");
        constexpr unsigned kEight = (1u << kCardFieldCount) - 1;
        for (const int threads : {2, 3, 5})
            QTest::addRow("%d threads", threads) << threads << TextEncoding::Utf8 << kEight;
        QTest::addRow("Windows-1252") << 3 << TextEncoding::Windows1252 << kEight;
        // Details shown, a field hidden: only the columns asked for count.
        QTest::addRow("some columns") << 3 << TextEncoding::Utf8
                                      << ((1u << kAllCardFieldCount) - 1 - (1u << YearField) - (1u << TagsField));
    }

    void sharesRowsOutExactly()
    {
        QFETCH(int, threads);
        QFETCH(TextEncoding, encoding);
        QFETCH(unsigned, measured);
        const QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        std::mt19937 random(7);
        std::vector<Card> cards(2000);
        for (std::size_t i = 0; i < cards.size(); ++i) {
            for (int field = 0; field < kCardFieldCount; ++field)
                cards[i][field] = Bytes(RandomText(random, (i + std::size_t(field)) % 3 == 0, 4 + 6 * field));
            // Most Cards have no details.
            for (int field = kCardFieldCount; i % 4 == 0 && field < kAllCardFieldCount; ++field)
                cards[i][field] = Bytes(RandomText(random, false, 2 + field));
        }
        // Wider than the widths that the threads count in an array.
        cards[1234][DescriptionField] = std::string(1500, 'W');
        CardTableModel table;
        table.SetEncoding(encoding);
        SetTableRows(table, cards);

        ColumnFit one(font);
        one.SetMeasuredColumns(measured);
        for (int row = 0; row < table.rowCount(); ++row)
            one.Add(table, row);
        ColumnFit shared(font);
        shared.SetMeasuredColumns(measured);
        shared.AddRows(table, 0, table.rowCount() - 1, threads);
        QVERIFY(WidestOfAll(shared) > 4096);
        for (int column = 0; column < kAllCardFieldCount; ++column)
            QCOMPARE(shared.WidestText(column) > 0, (measured & (1u << column)) != 0);
        for (int row = 0; row < table.rowCount(); ++row) {
            for (int column = 0; column < kAllCardFieldCount; ++column)
                QCOMPARE(shared.WidestText(column), one.WidestText(column));
            one.Remove(table, row);
            shared.Remove(table, row);
        }
        QCOMPARE(WidestOfAll(shared), 0);
    }
};

QTEST_MAIN(TestColumnFit)
#include "test_column_fit.moc"
