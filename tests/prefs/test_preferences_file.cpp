#include "prefs/Preferences.h"

#include <QBuffer>
#include <QTest>

namespace {

QByteArray Written(const Preferences& prefs)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!WritePreferences(buffer, prefs))
        qFatal("write failed");
    return buffer.data();
}

} // namespace

class TestPreferencesFile : public QObject {
    Q_OBJECT

private slots:
    void writesAllTwelveKeysInOrder()
    {
        QCOMPARE(Written(Preferences{}),
                 QByteArray("CREATOR=QMK 1.0\r\nNAME=\r\nEMAIL=\r\nADDRESS1=\r\nADDRESS2=\r\nCITY=\r\nSTATE=\r\n"
                            "COUNTRY=\r\nCATALOGUE=\r\nLIST=\r\nREPORT=\r\nVALREPORT=\r\nTOOLTIPS=\r\n\r\n"));
    }

    void roundTripsEveryField()
    {
        Preferences prefs;
        int i = 0;
        for (const PreferenceKey& known : kPreferenceKeys)
            prefs.*known.field = "value " + std::to_string(++i) + " a=b \xe9";
        const QByteArray bytes = Written(prefs);
        Preferences loaded;
        QVERIFY(ParsePreferences(std::string_view(bytes.constData(), std::size_t(bytes.size())), loaded));
        for (const PreferenceKey& known : kPreferenceKeys)
            QCOMPARE(loaded.*known.field, prefs.*known.field);
    }

    // Only exact keys count; unknown ones and missing ones leave fields as
    // they were; the later of two lines wins; trailing spaces are lost.
    void readsHandEditedFiles()
    {
        Preferences prefs;
        prefs.City = "kept";
        const bool tooltips = ParsePreferences(
            "email=lower\r\n NAME=spaced\r\nNAME=first\r\nNAME= second  \r\nLIST=a=b\r\nCOUNTRY=last line", prefs);
        QVERIFY(!tooltips);
        QCOMPARE(prefs.Email, std::string());
        QCOMPARE(prefs.Name, std::string(" second"));
        QCOMPARE(prefs.List, std::string("a=b"));
        QCOMPARE(prefs.City, std::string("kept"));
        QCOMPARE(prefs.Country, std::string("last line"));
    }

    void reportsATooltipsLineWhateverItsValue()
    {
        Preferences prefs;
        QVERIFY(ParsePreferences("TOOLTIPS=\r\n", prefs));
        QVERIFY(ParsePreferences("TOOLTIPS=no\r\n", prefs));
        QCOMPARE(prefs.Tooltips, std::string("no"));
        Preferences fresh;
        QVERIFY(!ParsePreferences("\x1aTOOLTIPS=yes\r\n", fresh));
    }
};

QTEST_APPLESS_MAIN(TestPreferencesFile)
#include "test_preferences_file.moc"
