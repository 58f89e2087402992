#include "collection/CardEntry.h"
#include "collection/CardTableModel.h"
#include "collection/ChoiceListModel.h"
#include "support/RecordingMessages.h"

#include <QTest>

namespace {

Card Named(std::string name, std::string series)
{
    Card card;
    card[NameField] = std::move(name);
    card[SeriesField] = std::move(series);
    return card;
}

} // namespace

// A table large enough to be searched on more than one thread.
class TestDuplicateSearch : public QObject {
    Q_OBJECT

private slots:
    void findsADuplicateAnywhere_data()
    {
        QTest::addColumn<int>("row");
        for (const int row : {0, 99999, 100000, 131071, 131072, 199999})
            QTest::addRow("row %d", row) << row;
    }

    void findsADuplicateAnywhere()
    {
        QFETCH(int, row);
        std::vector<Card> rows(200000, Named("Card", "Series"));
        rows[std::size_t(row)] = Named("Wanted", "Set");
        CardTableModel table;
        table.SetRows(rows);
        ChoiceListModel series;
        ChoiceListModel conditions;
        RecordingMessages messages;
        const CardEntry entry(table, series, conditions, messages);
        QVERIFY(entry.IsDuplicate(Named("Wanted", "Set")));
        QVERIFY(!entry.IsDuplicate(Named("Wanted", "Series")));
        QVERIFY(!entry.IsDuplicate(Named("Card", "Set")));
    }
};

QTEST_APPLESS_MAIN(TestDuplicateSearch)
#include "test_duplicate_search.moc"
