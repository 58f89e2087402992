#include "collection/ChoiceListModel.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QTest>

#include <string>
#include <vector>

namespace {

QStringList Texts(const ChoiceListModel& model)
{
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts << model.data(model.index(row)).toString();
    return texts;
}

QList<QByteArray> Bytes(const ChoiceListModel& model)
{
    QList<QByteArray> bytes;
    for (int row = 0; row < model.rowCount(); ++row)
        bytes << model.data(model.index(row), ChoiceListModel::BytesRole).toByteArray();
    return bytes;
}

std::vector<std::string> Utf8(const QStringList& texts)
{
    std::vector<std::string> bytes;
    for (const QString& text : texts)
        bytes.push_back(text.toStdString());
    return bytes;
}

} // namespace

class TestChoiceListModel : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::system()); }

    // Letters with accents among their plain fellows, case ignored, each
    // text once ignoring case; the first spelling read stays.
    void ordersAsACollectorReads_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("accents") << "C" << QStringList{"Zephyr", "\u00c9cume", "apple", "Banana", "eclat"}
                                 << QStringList{"apple", "Banana", "eclat", "\u00c9cume", "Zephyr"};
        QTest::newRow("case") << "C" << QStringList{"mint", "Near Mint", "MINT", "good", "near mint"}
                              << QStringList{"good", "mint", "Near Mint"};
        QTest::newRow("accent makes another text") << "C" << QStringList{"\u00e9clair", "Eclair", "\u00c9CLAIR"}
                                                   << QStringList{"Eclair", "\u00e9clair"};
        QTest::newRow("Swedish") << "sv_SE" << QStringList{"\u00d6rn", "Zebra", "Apa"}
                                 << QStringList{"Apa", "Zebra", "\u00d6rn"};
        QTest::newRow("German") << "de_DE" << QStringList{"\u00d6rn", "Zebra", "Apa"}
                                << QStringList{"Apa", "\u00d6rn", "Zebra"};
    }

    void ordersAsACollectorReads()
    {
        QFETCH(QString, locale);
        QFETCH(QStringList, added);
        QFETCH(QStringList, listed);
        QLocale::setDefault(locale == QLatin1String("C") ? QLocale::c() : QLocale(locale));
        ChoiceListModel oneByOne;
        for (const std::string& text : Utf8(added))
            oneByOne.Add(text);
        ChoiceListModel atOnce;
        atOnce.AddAll(Utf8(added));
        QCOMPARE(Texts(oneByOne), listed);
        QCOMPARE(Texts(atOnce), listed);
        for (const QString& text : listed)
            QVERIFY(atOnce.Contains(text.toLower().toStdString()));
    }

    // A load and the same texts added one by one give the same list, bytes
    // and all, also when the load comes on top of a list.
    void loadAndAddAgree()
    {
        const QStringList pieces{"a", "A", "\u00e9", "\u00c9", "e", "E", "z", " ", "1", "10", "2", "\u00df", "ss", "-"};
        QRandomGenerator random(17);
        for (int round = 0; round < 200; ++round) {
            QStringList texts;
            for (int i = random.bounded(30); i > 0; --i) {
                QString text;
                for (int j = random.bounded(1, 4); j > 0; --j)
                    text += pieces[random.bounded(int(pieces.size()))];
                texts << text;
            }
            ChoiceListModel oneByOne;
            for (const std::string& text : Utf8(texts))
                oneByOne.Add(text);
            ChoiceListModel atOnce;
            const int split = texts.isEmpty() ? 0 : int(random.bounded(int(texts.size())));
            atOnce.AddAll(Utf8(texts.mid(0, split)));
            atOnce.AddAll(Utf8(texts.mid(split)));
            QCOMPARE(Texts(atOnce), Texts(oneByOne));
            QCOMPARE(Bytes(atOnce), Bytes(oneByOne));
        }
    }
};

QTEST_APPLESS_MAIN(TestChoiceListModel)
#include "test_choice_list_model.moc"
