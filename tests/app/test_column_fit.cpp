#include "app/ColumnFit.h"

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

} // namespace

class TestColumnFit : public QObject {
    Q_OBJECT

private slots:
    // Random texts rich in kerning pairs, ligatures ("ff", "fi", "fl"),
    // overhanging last letters, marks, tabs and mixed scripts: the width
    // built from pairs must be the laid-out width.
    void measuresTextsAsTheLayoutDoes()
    {
        const QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        ColumnFit fit(font);
        const QString ascii = QStringLiteral("AVTWYfffiiljL_ .,'-xyz019\t");
        const QString others = QString::fromUtf8("\xc3\xa9\xc3\x9f\xc3\x85\xd0\x96\xce\xa9\xe6\x97\xa5\xed\x95\x9c"
                                                 "\xcc\x81\xd7\x90\xd8\xa7\xe2\x82\xac");
        std::mt19937 random(3);
        for (int i = 0; i < 4000; ++i) {
            QString text;
            const int length = int(random() % 24);
            for (int k = 0; k < length; ++k)
                text += (i % 2 && random() % 5 == 0) ? others[random() % others.size()] : ascii[random() % ascii.size()];
            QCOMPARE(fit.TextWidth(Bytes(text)), LaidOutWidth(text, font));
        }
    }
};

QTEST_MAIN(TestColumnFit)
#include "test_column_fit.moc"
