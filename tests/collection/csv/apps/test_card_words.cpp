#include "collection/csv/apps/CardWords.h"

#include <QTest>

namespace {

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

class TestCardWords : public QObject {
    Q_OBJECT

private slots:
    // Every word the apps write for one grade, and the grade on the scale.
    void putsConditionsOnTheScale_data()
    {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QString>("grade");
        QTest::newRow("Mint") << QStringList{"Mint", "mint", "M", "1"} << QStringLiteral("Mint");
        QTest::newRow("Near Mint") << QStringList{"Near Mint", "near_mint", "NearMint", "NM", " nm ", "2"}
                                   << QStringLiteral("Near Mint");
        QTest::newRow("Excellent") << QStringList{"Excellent", "excellent", "EX", "3"} << QStringLiteral("Excellent");
        QTest::newRow("Good") << QStringList{"Good (Lightly Played)", "good", "Lightly Played", "LP", "4",
                                             "slightly played"}
                              << QStringLiteral("Good");
        QTest::newRow("Light Played") << QStringList{"light_played", "LightPlayed", "Moderately Played", "MP", "5"}
                                      << QStringLiteral("Light Played");
        QTest::newRow("Played") << QStringList{"played", "Heavily Played", "HP", "6"} << QStringLiteral("Played");
        QTest::newRow("Poor") << QStringList{"Poor", "poor", "Damaged", "D", "DMG", "7"} << QStringLiteral("Poor");
        QTest::newRow("kept as written") << QStringList{"Signed by the artist"}
                                         << QStringLiteral("Signed by the artist");
    }

    void putsConditionsOnTheScale()
    {
        QFETCH(QStringList, words);
        QFETCH(QString, grade);
        for (const QString& word : words)
            QCOMPARE(Q(ConditionOnScale(word.toStdString())), grade);
    }

    // "Played" is a grade below Good where the apps grade the American way.
    void readsPlayedByTheAppsScale()
    {
        QCOMPARE(Q(ConditionOnScale("Played", PlayedMeans::Played)), QStringLiteral("Played"));
        QCOMPARE(Q(ConditionOnScale("Played", PlayedMeans::LightPlayed)), QStringLiteral("Light Played"));
    }

    void splitsAConditionFromItsFinish()
    {
        std::string grade = "kept";
        std::string finish = "kept";
        QVERIFY(SplitConditionFinish("Near Mint Reverse Holofoil", grade, finish));
        QCOMPARE(Q(grade), QStringLiteral("Near Mint"));
        QCOMPARE(Q(FinishWord(finish)), QStringLiteral("reverse"));
        QVERIFY(SplitConditionFinish("Lightly Played 1st Edition", grade, finish));
        QCOMPARE(Q(grade), QStringLiteral("Lightly Played"));
        QCOMPARE(Q(FinishWord(finish)), QStringLiteral("1st Edition"));
        grade = finish = "kept";
        QVERIFY(!SplitConditionFinish("Near Mint", grade, finish));
        QVERIFY(!SplitConditionFinish("Mintage Foil", grade, finish));
        QCOMPARE(Q(grade + finish), QStringLiteral("keptkept"));
    }

    // The words the app rows of test_card_apps do not reach: codes both
    // ways, and words kept as written.
    void namesLanguagesAndGames()
    {
        QCOMPARE(Q(LanguageCode("zh_TW")), QStringLiteral("zht"));
        QCOMPARE(Q(LanguageCode("Klingon")), QStringLiteral("Klingon"));
        QCOMPARE(Q(LanguageName("zhs")), QStringLiteral("Chinese Simplified"));
        QCOMPARE(Q(LanguageName("he")), QStringLiteral("Hebrew"));
        QCOMPARE(Q(LanguageName("Klingon")), QStringLiteral("Klingon"));
        QCOMPARE(Q(GameWord("Pok\xc3\xa9mon")), QStringLiteral("pokemon"));
        QCOMPARE(Q(GameWord("Lorcana")), QStringLiteral("Lorcana"));
    }

    void writesPricesWithTheirCurrency_data()
    {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("currency");
        QTest::addColumn<QString>("price");
        QTest::newRow("euros, decimal comma") << "0,45" << "EUR" << QString::fromUtf8("\xe2\x82\xac" "0.45");
        QTest::newRow("pounds") << "12" << "gbp" << QString::fromUtf8("\xc2\xa3" "12.00");
        QTest::newRow("a sign given") << "3" << "$" << "$3.00";
        QTest::newRow("another code") << "7" << "chf" << "CHF 7.00";
        QTest::newRow("no currency") << "2.25" << "" << "2.25";
        // Three decimals would read as thousands: rounded to the cent.
        QTest::newRow("rounded") << "1.005" << "USD" << "$1.01";
        QTest::newRow("rounded up through the units") << "9.999" << "USD" << "$10.00";
        QTest::newRow("leading zeros") << "007.1" << "USD" << "$7.10";
        QTest::newRow("zero is no price") << "0.00" << "USD" << "";
        QTest::newRow("already priced") << "$1.23" << "EUR" << "$1.23";
        QTest::newRow("not a number") << "about 5" << "USD" << "about 5";
    }

    void writesPricesWithTheirCurrency()
    {
        QFETCH(QString, amount);
        QFETCH(QString, currency);
        QFETCH(QString, price);
        QCOMPARE(Q(PriceWithCurrency(amount.toStdString(), currency.toStdString(), TextEncoding::Utf8)), price);
    }

    void readsPricesAsNumbers()
    {
        QCOMPARE(Q(PriceNumber("$1.23")), QStringLiteral("1.23"));
        QCOMPARE(Q(PriceNumber("12,50 \xe2\x82\xac")), QStringLiteral("12.50"));
        QCOMPARE(Q(PriceNumber("1,234.5")), QStringLiteral("1234.50"));
        QCOMPARE(Q(PriceNumber("free")), QString());
    }
};

QTEST_APPLESS_MAIN(TestCardWords)
#include "test_card_words.moc"
