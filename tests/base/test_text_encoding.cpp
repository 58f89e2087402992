#include "base/TextEncoding.h"

#include <QTest>

#include <string>

class TestTextEncoding : public QObject {
    Q_OBJECT

private slots:
    void tellsTheEncodingOfAFile_data()
    {
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<bool>("utf8");
        QTest::newRow("empty") << QByteArray() << true;
        QTest::newRow("plain ASCII") << QByteArray("NAME=Owl\r\n") << true;
        QTest::newRow("UTF-8 letters") << QByteArray("NAME=Caf\xc3\xa9\r\n") << true;
        QTest::newRow("Windows-1252 letter") << QByteArray("NAME=Caf\xe9\r\n") << false;
        QTest::newRow("UTF-8 cut short") << QByteArray("NAME=\xc3") << false;
        QTest::newRow("UTF-8 with one stray byte") << QByteArray("A=\xc3\xa9\r\nB=\xe9") << false;
        QTest::newRow("unread after byte 26") << QByteArray("NAME=Owl\x1a\xe9\xff") << true;
    }

    void tellsTheEncodingOfAFile()
    {
        QFETCH(QByteArray, raw);
        QFETCH(bool, utf8);
        QCOMPARE(EncodingOfFile(std::string_view(raw.constData(), std::size_t(raw.size()))) == TextEncoding::Utf8, utf8);
    }

    // Every Windows-1252 byte shows as a character and is stored again as
    // itself, so that text shown from the file can always be taken back.
    void windows1252TextComesBackByteForByte()
    {
        std::string every;
        for (int byte = 1; byte < 256; ++byte)
            every.push_back(char(byte));
        const QString shown = DecodeText(every, TextEncoding::Windows1252);
        QCOMPARE(shown.size(), 255);
        QVERIFY(!shown.contains(QChar::ReplacementCharacter));
        std::string stored;
        QVERIFY(EncodeText(shown, TextEncoding::Windows1252, stored));
        QCOMPARE(stored, every);
        QCOMPARE(DecodeText("Caf\xe9 \x80" "5", TextEncoding::Windows1252), QStringLiteral("Café €5"));
    }

    void refusesWhatWindows1252CannotHold()
    {
        std::string stored;
        char32_t unstorable = 0;
        QVERIFY(!EncodeText(QStringLiteral("Zoë \u65e5\u672c"), TextEncoding::Windows1252, stored, &unstorable));
        QCOMPARE(unstorable, char32_t(0x65e5));
        QVERIFY(!EncodeText(QStringLiteral("\U0001F0A1"), TextEncoding::Windows1252, stored, &unstorable));
        QCOMPARE(unstorable, char32_t(0x1F0A1));
        QVERIFY(EncodeText(QStringLiteral("Zoë \u65e5"), TextEncoding::Utf8, stored, &unstorable));
        QCOMPARE(stored, std::string("Zo\xc3\xab \xe6\x97\xa5"));
    }
};

QTEST_APPLESS_MAIN(TestTextEncoding)
#include "test_text_encoding.moc"
