#pragma once

#include "collection/csv/CsvFiles.h"

#include <QByteArray>
#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

// A CSV file's preview before it is imported: its first rows as a table,
// the column that feeds each Card field, how the file is read (separator,
// encoding, whether the first row is a header) and what becomes of repeats.
// It starts from what DetectCsvFileSettings finds. Whenever the reading
// changes, the start of the file is read again and the columns are mapped
// afresh: as a card app writes them when the header row is one of theirs
// (saying which), else by name from a header row, else by position.
class CsvImportDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kPreviewRows = 20;

    explicit CsvImportDialog(const QByteArray& bytes, QWidget* parent = nullptr);

    // The choices as they stand.
    CsvFileSettings Settings() const;

private:
    void BuildControls();
    void Reread();
    void MapColumns();
    void ShowPreview();
    void ShowStatus();
    QString ColumnName(int column) const;
    int ColumnCount() const;
    int FirstDataRow() const;

    QByteArray bytes_;
    CsvRows preview_;
    // The card app whose header the preview's first row is, while it is taken as one.
    AppHeader app_;
    CsvError fault_;
    bool readable_ = false;

    QTableWidget* table_ = nullptr;
    QComboBox* separator_ = nullptr;
    QComboBox* encoding_ = nullptr;
    QCheckBox* header_ = nullptr;
    QComboBox* repeats_ = nullptr;
    std::array<QComboBox*, kAllCardFieldCount> columns_{};
    QLabel* recognised_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* import_ = nullptr;
};
