#include "LiteralSteps.h"

#include "app/MainWindow.h"
#include "collection/CardTableModel.h"
#include "app/table/ColumnFit.h"
#include "collection/ColumnSort.h"
#include "pages/PageCommands.h"
#include "pages/PageTemplates.h"
#include "pages/PageCharset.h"
#include "pages/PageTotals.h"
#include "pages/search/CardSearch.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTableView>

#include <algorithm>

namespace {

constexpr std::array<const char*, kCardFieldCount> kFieldNames = {
    "nameEdit", "seriesBox", "conditionBox", "yearEdit", "priceEdit", "quantityEdit", "urlEdit", "descriptionEdit",
};

QLineEdit* EntryField(const MainWindow& window, const char* name)
{
    QWidget* control = window.findChild<QWidget*>(QString::fromLatin1(name));
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return combo->lineEdit();
    return qobject_cast<QLineEdit*>(control);
}

// The widest cell text of each column, every cell measured.
ColumnWidths MeasureEveryCell(const CardTableModel& table, ColumnFit& fit)
{
    ColumnWidths widest{};
    for (int column = 0; column < kCardFieldCount; ++column) {
        for (int row = 0; row < table.rowCount(); ++row)
            widest[std::size_t(column)] = std::max(widest[std::size_t(column)], fit.TextWidth(table.Cell(row, column)));
    }
    return widest;
}

} // namespace

void ExchangeRowsCellByCell(CardTableModel& table, int a, int b)
{
    Card held;
    for (int column = 0; column < kCardFieldCount; ++column)
        held[column] = std::string(table.Cell(b, column));
    for (int column = 0; column < kCardFieldCount; ++column)
        table.SetCell(b, column, std::string(table.Cell(a, column)));
    for (int column = 0; column < kCardFieldCount; ++column)
        table.SetCell(a, column, held[column]);
}

void AdjacentExchangeSort(CardTableModel& table, int column)
{
    const int rows = table.rowCount();
    bool exchanged = false;
    bool clean = false;
    while (!clean) {
        clean = true;
        for (int row = 0; row + 1 < rows; ++row) {
            if (TextLess(table.Cell(row + 1, column), table.Cell(row, column))) {
                ExchangeRowsCellByCell(table, row, row + 1);
                exchanged = true;
                clean = false;
            }
        }
    }
    if (!exchanged) {
        for (int row = 0; row < rows / 2; ++row)
            ExchangeRowsCellByCell(table, row, rows - 1 - row);
    }
}

ColumnWidths LoadCardByCard(MainWindow& window, CardTableModel& table, const std::vector<Card>& fileOrder)
{
    std::array<QLineEdit*, kCardFieldCount> fields{};
    for (int field = 0; field < kCardFieldCount; ++field)
        fields[std::size_t(field)] = EntryField(window, kFieldNames[std::size_t(field)]);
    ColumnFit fit(window.findChild<QTableView*>(QStringLiteral("cardTable"))->font());
    ColumnWidths widest{};
    for (const Card& card : fileOrder) {
        for (int field = 0; field < kCardFieldCount; ++field)
            fields[std::size_t(field)]->setText(QString::fromStdString(card[field]));
        window.TakeFields();
        table.InsertRow(0, window.HeldCard());
        widest = MeasureEveryCell(table, fit);
    }
    window.ClearEntryFields();
    return widest;
}

bool CatalogueRowByRow(MainWindow& window, MessageInterface& messages, const QString& path)
{
    const std::string outer = LoadTemplate("CatalogueOutside.htm", messages);
    const std::string rowTemplate = LoadTemplate("CatalogueInside.htm", messages);
    std::string data;
    std::string scratch;
    for (int row = 0; row < window.CardTable().rowCount(); ++row) {
        window.ReadRow(row);
        AppendFilledRow(data, rowTemplate, window.HeldCard(), scratch);
    }
    data += FooterRow();
    // The page's search data is one block either way, not a row's work.
    PageStream::CardSearchWriter search;
    if (HoldsCardSearch(outer)) {
        search = [&](const PageStream::Sink& sink) {
            return WriteCardSearchBlock(window.CardTable(), nullptr,
                                        FieldPlaceholdersIn(rowTemplate) | kFieldsSearchNeeds, PageIsUtf8(outer),
                                        true, sink);
        };
    }
    std::string page;
    StreamPage(
        outer, [&data](PageStream& stream) { return stream.Write(data); }, window.Prefs(),
        PageTotalsOf(window.CardTable()),
        [&page](std::string_view piece) {
            page.append(piece);
            return true;
        },
        std::move(search));
    return WritePage(path, [&page](QIODevice& device) { return WritePageText(device, page); }, messages) == 1;
}
