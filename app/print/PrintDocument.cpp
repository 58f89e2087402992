#include "app/print/PrintDocument.h"

#include "collection/CardTableModel.h"
#include "prefs/Preferences.h"
#include "resources/StringTable.h"

#include <QPrinter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <array>

namespace {

constexpr std::array<CardField, 6> kPrintedFields = {NameField,  SeriesField, ConditionField,
                                                     YearField,  PriceField,  QuantityField};

// Shares of the width: Name and Series take what the numbers leave.
constexpr std::array<double, 6> kColumnWidths = {34, 26, 12, 8, 12, 8};

bool IsNumber(CardField field)
{
    return field == YearField || field == PriceField || field == QuantityField;
}

void InsertCell(QTextCursor& cursor, const QString& text, CardField field, const QTextCharFormat& format)
{
    QTextBlockFormat block = cursor.blockFormat();
    block.setAlignment(IsNumber(field) ? Qt::AlignRight : Qt::AlignLeft);
    cursor.setBlockFormat(block);
    cursor.insertText(text, format);
    cursor.movePosition(QTextCursor::NextCell);
}

} // namespace

std::unique_ptr<QTextDocument> BuildPrintDocument(const CardTableModel& table,
                                                  const std::optional<std::vector<int>>& shownRows,
                                                  const Preferences& prefs)
{
    auto document = std::make_unique<QTextDocument>();
    QFont font = document->defaultFont();
    font.setPointSizeF(9);
    document->setDefaultFont(font);
    QTextCursor cursor(document.get());

    const QString owner = DecodeText(prefs.Name, prefs.Encoding).trimmed();
    QTextCharFormat title;
    title.setFontPointSize(15);
    title.setFontWeight(QFont::Bold);
    cursor.insertText(owner.isEmpty() ? QString::fromUtf8(Text::PrintTitle)
                                      : QString::fromUtf8(Text::PrintTitleOf).arg(owner),
                      title);

    const int count = shownRows ? int(shownRows->size()) : table.rowCount();
    QTextTableFormat grid;
    grid.setHeaderRowCount(1);
    grid.setBorderCollapse(true);
    grid.setBorder(0.5);
    grid.setBorderBrush(Qt::gray);
    grid.setCellPadding(2);
    grid.setCellSpacing(0);
    grid.setTopMargin(8);
    grid.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    QList<QTextLength> widths;
    for (const double width : kColumnWidths)
        widths << QTextLength(QTextLength::PercentageLength, width);
    grid.setColumnWidthConstraints(widths);
    cursor.movePosition(QTextCursor::End);
    cursor.insertTable(count + 1, int(kPrintedFields.size()), grid);

    QTextCharFormat heading;
    heading.setFontWeight(QFont::Bold);
    for (const CardField field : kPrintedFields) {
        const std::string_view name = kCardHeadings[std::size_t(field)];
        InsertCell(cursor, QString::fromLatin1(name.data(), qsizetype(name.size())), field, heading);
    }
    const QTextCharFormat plain;
    for (int at = 0; at < count; ++at) {
        const int row = shownRows ? (*shownRows)[std::size_t(at)] : at;
        for (const CardField field : kPrintedFields)
            InsertCell(cursor, DecodeText(table.Cell(row, field), table.Encoding()), field, plain);
    }

    cursor.movePosition(QTextCursor::End);
    QTextBlockFormat below;
    below.setTopMargin(6);
    cursor.insertBlock(below);
    const QString cards = shownRows ? QString::fromUtf8(Text::PrintShownCards).arg(count).arg(table.rowCount())
                                    : QString::fromUtf8(Text::PrintAllCards).arg(count);
    cursor.insertText(cards, plain);
    return document;
}

bool PrintCardDocument(const QTextDocument& document, QPrinter& printer)
{
    document.print(&printer);
    return printer.printerState() != QPrinter::Error;
}
