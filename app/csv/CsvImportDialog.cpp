#include "app/csv/CsvImportDialog.h"

#include "collection/csv/CsvFormulaGuard.h"
#include "resources/StringTable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr auto kColumnBoxNames = std::to_array<const char*>({
    "nameColumn", "seriesColumn", "conditionColumn", "yearColumn", "priceColumn", "quantityColumn",
    "urlColumn", "descriptionColumn", "gameColumn", "setCodeColumn", "numberColumn", "finishColumn",
    "languageColumn", "locationColumn", "tagsColumn", "tradeColumn", "wantColumn", "printColumn",
    "marketColumn", "marketDateColumn", "sourceColumn",
});
static_assert(kColumnBoxNames.size() == kAllCardFieldCount);

// A preview cell shows the start of a long value, on one line.
constexpr qsizetype kPreviewCellLength = 200;

QString UiText(const char* text)
{
    return QString::fromUtf8(text);
}

QString Decoded(std::string_view bytes)
{
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

QString PreviewCell(std::string_view bytes)
{
    QString text = Decoded(bytes.substr(0, 4 * kPreviewCellLength)).left(kPreviewCellLength);
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

} // namespace

CsvImportDialog::CsvImportDialog(const QByteArray& bytes, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , bytes_(bytes)
{
    setWindowTitle(UiText(Text::ImportCsvCaption));
    BuildControls();
    const CsvFileSettings detected =
        DetectCsvFileSettings(std::string_view(bytes_.constData(), std::size_t(bytes_.size())));
    separator_->setCurrentIndex(std::max(0, separator_->findData(int(detected.separator))));
    encoding_->setCurrentIndex(encoding_->findData(int(detected.encoding)));
    Reread();

    connect(separator_, &QComboBox::currentIndexChanged, this, &CsvImportDialog::Reread);
    connect(encoding_, &QComboBox::currentIndexChanged, this, &CsvImportDialog::Reread);
    connect(header_, &QCheckBox::toggled, this, [this] {
        MapColumns();
        ShowPreview();
        ShowStatus();
    });
    for (QComboBox* column : columns_)
        connect(column, &QComboBox::currentIndexChanged, this, &CsvImportDialog::ShowStatus);
}

void CsvImportDialog::BuildControls()
{
    table_ = new QTableWidget(this);
    table_->setObjectName(QStringLiteral("previewTable"));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);

    auto* reading = new QGroupBox(UiText(Text::CsvReadingGroup), this);
    auto* readingForm = new QFormLayout(reading);
    separator_ = new QComboBox(reading);
    separator_->setObjectName(QStringLiteral("separatorBox"));
    separator_->addItem(UiText(Text::CsvComma), int(','));
    separator_->addItem(UiText(Text::CsvSemicolon), int(';'));
    separator_->addItem(UiText(Text::CsvTab), int('\t'));
    readingForm->addRow(UiText(Text::CsvSeparatorLabel), separator_);
    encoding_ = new QComboBox(reading);
    encoding_->setObjectName(QStringLiteral("encodingBox"));
    encoding_->addItem(UiText(Text::CsvUtf8), int(CsvEncoding::Utf8));
    encoding_->addItem(UiText(Text::CsvWindows1252), int(CsvEncoding::Windows1252));
    readingForm->addRow(UiText(Text::CsvEncodingLabel), encoding_);
    header_ = new QCheckBox(UiText(Text::CsvHeaderCheck), reading);
    header_->setObjectName(QStringLiteral("headerCheck"));
    header_->setChecked(true);
    readingForm->addRow(header_);
    repeats_ = new QComboBox(reading);
    repeats_->setObjectName(QStringLiteral("repeatsBox"));
    repeats_->addItem(UiText(Text::CsvAddRepeats), int(CsvRepeats::AddAsRows));
    repeats_->addItem(UiText(Text::CsvSkipRepeats), int(CsvRepeats::Skip));
    repeats_->addItem(UiText(Text::CsvMergeRepeats), int(CsvRepeats::MergeQuantities));
    repeats_->setToolTip(UiText(Text::CsvRepeatsTip));
    readingForm->addRow(UiText(Text::CsvRepeatsLabel), repeats_);

    auto* mapping = new QGroupBox(UiText(Text::CsvColumnsGroup), this);
    auto* grid = new QGridLayout(mapping);
    for (int field = 0; field < kAllCardFieldCount; ++field) {
        QComboBox*& column = columns_[std::size_t(field)];
        column = new QComboBox(mapping);
        column->setObjectName(QString::fromLatin1(kColumnBoxNames[std::size_t(field)]));
        column->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        column->setMinimumContentsLength(14);
        const bool detail = field >= kCardFieldCount;
        auto* label = new QLabel(
            UiText(detail ? Text::CsvDetailLabels[field - kCardFieldCount] : Text::CsvFieldLabels[field]), mapping);
        label->setBuddy(column);
        // Rows of two fields, in the order of the window's own fields; the
        // details below the eight, under a heading of their own.
        const int row = field / 2 + (detail ? 1 : 0);
        grid->addWidget(label, row, 2 * (field % 2));
        grid->addWidget(column, row, 2 * (field % 2) + 1);
    }
    grid->addWidget(new QLabel(UiText(Text::CsvDetailsHeading), mapping), kCardFieldCount / 2, 0, 1, 4);
    // Eighteen fields are more than a small screen shows beside the preview.
    auto* mappingArea = new QScrollArea(this);
    mappingArea->setObjectName(QStringLiteral("columnsArea"));
    mappingArea->setFrameShape(QFrame::NoFrame);
    mappingArea->setWidgetResizable(true);
    mappingArea->setWidget(mapping);

    recognised_ = new QLabel(this);
    recognised_->setObjectName(QStringLiteral("recognisedAppLabel"));
    recognised_->setWordWrap(true);
    recognised_->setToolTip(UiText(Text::CsvRecognisedAppTip));
    recognised_->hide();

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("statusLine"));
    status_->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(this);
    buttons->setObjectName(QStringLiteral("buttons"));
    import_ = buttons->addButton(UiText(Text::CsvImportButton), QDialogButtonBox::AcceptRole);
    import_->setObjectName(QStringLiteral("importButton"));
    import_->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* choices = new QHBoxLayout;
    choices->addWidget(reading);
    choices->addWidget(mappingArea, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_, 1);
    layout->addLayout(choices);
    layout->addWidget(recognised_);
    layout->addWidget(status_);
    layout->addWidget(buttons);
    resize(820, 560);
}

CsvFileSettings CsvImportDialog::Settings() const
{
    CsvFileSettings settings;
    settings.separator = char(separator_->currentData().toInt());
    settings.encoding = CsvEncoding(encoding_->currentData().toInt());
    settings.options.firstRowIsHeader = header_->isChecked();
    settings.options.repeats = CsvRepeats(repeats_->currentData().toInt());
    for (int field = 0; field < kAllCardFieldCount; ++field)
        settings.options.columns[std::size_t(field)] = columns_[std::size_t(field)]->currentData().toInt();
    settings.options.app = app_;
    return settings;
}

void CsvImportDialog::Reread()
{
    const CsvFileSettings settings = Settings();
    readable_ = ReadCsvPreview(std::string_view(bytes_.constData(), std::size_t(bytes_.size())), settings.encoding,
                               settings.separator, kPreviewRows + 1, preview_, fault_);
    MapColumns();
    ShowPreview();
    ShowStatus();
}

void CsvImportDialog::MapColumns()
{
    // Without a header the columns are taken in the order of the eight; a
    // detail is mapped only when a heading names it.
    CsvColumns mapped = kNoCsvColumns;
    app_ = header_->isChecked() ? RecogniseCsvApp(preview_) : AppHeader();
    if (app_.app != nullptr) {
        mapped = app_.columns;
    } else if (header_->isChecked()) {
        mapped = MapCsvColumns(preview_);
    } else {
        for (int field = 0; field < kCardFieldCount; ++field)
            mapped[std::size_t(field)] = field < ColumnCount() ? field : -1;
    }
    for (int field = 0; field < kAllCardFieldCount; ++field) {
        QComboBox* column = columns_[std::size_t(field)];
        const QSignalBlocker quiet(column);
        column->clear();
        column->addItem(UiText(Text::CsvNoColumn), -1);
        for (int index = 0; index < ColumnCount(); ++index)
            column->addItem(ColumnName(index), index);
        column->setCurrentIndex(mapped[std::size_t(field)] + 1);
    }
    if (app_.app != nullptr) {
        recognised_->setText(UiText(Text::CsvRecognisedApp)
                                 .arg(QString::fromUtf8(app_.app->label.data(), qsizetype(app_.app->label.size())))
                             + QLatin1Char('\n') + UiText(Text::CsvConditionScaleNote));
    }
    recognised_->setVisible(app_.app != nullptr);
}

void CsvImportDialog::ShowPreview()
{
    const int first = FirstDataRow();
    const int rows = std::clamp(int(preview_.RowCount()) - first, 0, kPreviewRows);
    table_->clear();
    table_->setRowCount(rows);
    table_->setColumnCount(ColumnCount());
    QStringList headings;
    for (int column = 0; column < ColumnCount(); ++column)
        headings << ColumnName(column);
    table_->setHorizontalHeaderLabels(headings);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < preview_.FieldCount(std::size_t(first + row)); ++column)
            table_->setItem(row, column,
                            new QTableWidgetItem(PreviewCell(
                                WithoutFormulaGuard(preview_.Field(std::size_t(first + row), column)))));
    }
}

// Import stays possible for a file the preview cannot read, so that the
// import itself refuses it with a box naming the line.
void CsvImportDialog::ShowStatus()
{
    bool importable = true;
    if (!readable_) {
        status_->setText(UiText(Text::CsvPreviewFault).arg(fault_.line).arg(QString::fromStdString(fault_.reason)));
    } else if (preview_.RowCount() == 0) {
        status_->setText(UiText(Text::CsvNoRows));
        importable = false;
    } else if (columns_[NameField]->currentData().toInt() < 0) {
        status_->setText(UiText(Text::CsvChooseName));
        importable = false;
    } else {
        status_->setText(UiText(Text::CsvPreviewNote));
    }
    import_->setEnabled(importable);
}

QString CsvImportDialog::ColumnName(int column) const
{
    const QString heading = header_->isChecked() && preview_.RowCount() > 0
                                ? PreviewCell(preview_.Field(0, column)).trimmed()
                                : QString();
    return heading.isEmpty() ? UiText(Text::CsvColumn).arg(column + 1)
                             : UiText(Text::CsvNamedColumn).arg(column + 1).arg(heading);
}

// The widest of the rows shown, the header row among them.
int CsvImportDialog::ColumnCount() const
{
    const std::size_t end = std::min(preview_.RowCount(), std::size_t(FirstDataRow() + kPreviewRows));
    int count = 0;
    for (std::size_t row = 0; row < end; ++row)
        count = std::max(count, preview_.FieldCount(row));
    return count;
}

int CsvImportDialog::FirstDataRow() const
{
    return header_->isChecked() ? 1 : 0;
}
