#include "app/MainWindow.h"

#include "app/MessageInterface.h"

#include <QCoreApplication>

void MainWindow::ReplaceUnstorableText()
{
    ReplaceUnstorableBytes(held_);
    ShowFields();
}

void MainWindow::OnAdd()
{
    TakeFields();
    ReplaceUnstorableText();
    if (held_[NameField].empty()) {
        messages_.ShowError(this, QStringLiteral("Name Blank.\r\nNo entry added."), QStringLiteral("Error"));
        return;
    }
    if (IsDuplicate()
        && !messages_.AskYesNo(this,
                               QStringLiteral("This entry is already in the list.\r\n"
                                              "Do you really want to add this item?"),
                               QCoreApplication::applicationName()))
        return;
    AddToChoiceLists();
    table_.InsertRow(0, held_);
    fit_->Add(held_);
    RefreshRowCount();
    ShowFields();
}

bool MainWindow::IsDuplicate()
{
    TakeFields();
    heldRowCount_ = table_.rowCount();
    for (int row = 0; row < heldRowCount_; ++row) {
        if (table_.Cell(row, NameField) == held_[NameField] && table_.Cell(row, SeriesField) == held_[SeriesField])
            return true;
    }
    return false;
}

void MainWindow::OnUpdate()
{
    TakeFields();
    ReplaceUnstorableText();
    const int row = SelectionMark();
    if (!held_[NameField].empty()) {
        AddToChoiceLists();
        if (row >= 0 && row < table_.rowCount()) {
            fit_->Remove(table_.RowCard(row));
            table_.SetRow(row, held_);
            fit_->Add(held_);
        }
    }
    AutosizeColumns();
    ShowFields();
}

void MainWindow::OnDelete()
{
    TakeFields();
    const int row = SelectionMark();
    if (row >= 0 && row < table_.rowCount()) {
        fit_->Remove(table_.RowCard(row));
        table_.RemoveRow(row);
    }
    AutosizeColumns();
    RefreshRowCount();
    ShowFields();
}

void MainWindow::OnCardTableClick()
{
    ReadRow(SelectionMark());
}
