#include "app/MainWindow.h"

#include "app/DialogBuilder.h"
#include "app/MessageInterface.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>

namespace {

struct NamedControl {
    int id;
    const char* objectName;
};

// Stable names, by which tests and tools find the controls.
constexpr NamedControl kControlNames[] = {
    {ControlId::Quit, "quitButton"},
    {ControlId::Condition, "conditionBox"},
    {ControlId::Series, "seriesBox"},
    {ControlId::Name, "nameEdit"},
    {ControlId::Price, "priceEdit"},
    {ControlId::Quantity, "quantityEdit"},
    {ControlId::Url, "urlEdit"},
    {ControlId::CardTable, "cardTable"},
    {ControlId::Add, "addButton"},
    {ControlId::Update, "updateButton"},
    {ControlId::Clear, "clearButton"},
    {ControlId::Delete, "deleteButton"},
    {ControlId::List, "listButton"},
    {ControlId::Catalogue, "catalogueButton"},
    {ControlId::Help, "helpButton"},
    {ControlId::Description, "descriptionEdit"},
    {ControlId::Year, "yearEdit"},
    {ControlId::Count, "countBox"},
    {ControlId::Preferences, "preferencesButton"},
    {ControlId::Tooltips, "tooltipsBox"},
    {ControlId::Notice, "noticeLine"},
};

// The entry field of each Card field.
constexpr std::array<int, kCardFieldCount> kFieldControls = {
    ControlId::Name, ControlId::Series, ControlId::Condition, ControlId::Year,
    ControlId::Price, ControlId::Quantity, ControlId::Url, ControlId::Description,
};

} // namespace

MainWindow::MainWindow(MessageInterface& messages, QWidget* parent)
    : QDialog(parent)
    , messages_(messages)
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                   | Qt::WindowCloseButtonHint);
    controls_ = BuildDialog(*this, MainWindowTemplate());
    BindControls();
    ConnectCommands();
    OnInitWindow();
}

MainWindow::~MainWindow() = default;

void MainWindow::BindControls()
{
    for (const NamedControl& named : kControlNames)
        controls_.value(named.id)->setObjectName(QString::fromLatin1(named.objectName));
    countBox_ = qobject_cast<QLineEdit*>(Control(ControlId::Count));
    tooltipsBox_ = qobject_cast<QCheckBox*>(Control(ControlId::Tooltips));
    seriesBox_ = qobject_cast<QComboBox*>(Control(ControlId::Series));
    conditionBox_ = qobject_cast<QComboBox*>(Control(ControlId::Condition));
    tableView_ = qobject_cast<QTableView*>(Control(ControlId::CardTable));
    for (int field = 0; field < kCardFieldCount; ++field) {
        QWidget* control = Control(kFieldControls[std::size_t(field)]);
        if (auto* combo = qobject_cast<QComboBox*>(control))
            fields_[std::size_t(field)] = std::make_unique<FieldBinding>(combo->lineEdit(), combo);
        else
            fields_[std::size_t(field)] = std::make_unique<FieldBinding>(qobject_cast<QLineEdit*>(control));
    }
    seriesChoices_ = std::make_unique<ChoiceList>(seriesBox_);
    conditionChoices_ = std::make_unique<ChoiceList>(conditionBox_);
    tableView_->setModel(&table_);
    tableView_->viewport()->installEventFilter(this);
    // The mark is the row last selected. A click below the rows clears the
    // view's selection but not the mark; the mark moves with its row and
    // goes with it when the row is deleted.
    connect(tableView_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected) {
                if (!selected.isEmpty())
                    selectionMark_ = selected.indexes().first();
            });
    fit_ = std::make_unique<ColumnFit>(tableView_->font());
}

void MainWindow::ConnectCommands()
{
    const auto onClick = [this](int id, void (MainWindow::*command)()) {
        connect(qobject_cast<QPushButton*>(Control(id)), &QPushButton::clicked, this, command);
    };
    onClick(ControlId::Add, &MainWindow::OnAdd);
    onClick(ControlId::Update, &MainWindow::OnUpdate);
    onClick(ControlId::Clear, &MainWindow::ClearEntryFields);
    onClick(ControlId::Delete, &MainWindow::OnDelete);
    onClick(ControlId::List, &MainWindow::OnList);
    onClick(ControlId::Catalogue, &MainWindow::OnCatalogue);
    onClick(ControlId::Help, &MainWindow::OnHelpButton);
    onClick(ControlId::Preferences, &MainWindow::OnPreferences);
    connect(qobject_cast<QPushButton*>(Control(ControlId::Quit)), &QPushButton::clicked, this, [this] {
        TakeFields();
        accept();
    });
    connect(tooltipsBox_, &QCheckBox::clicked, this, &MainWindow::OnTooltipsCheck);
    connect(tableView_->horizontalHeader(), &QHeaderView::sectionClicked, this, &MainWindow::OnColumnClick);
    connect(this, &QDialog::finished, this, &MainWindow::OnDestroyWindow);
}

void MainWindow::OnInitWindow()
{
    ShowFields();
    SetUpWindowFurniture();
    LoadPreferences();
    SetUpColumns();
    LoadCollection();
    Control(ControlId::Name)->setFocus();
}

void MainWindow::TakeFields()
{
    for (int field = 0; field < kCardFieldCount; ++field)
        held_[std::size_t(field)] = fields_[std::size_t(field)]->Take();
    heldRowCount_ = countBox_->text().toInt();
    tooltipsCheckState_ = tooltipsBox_->isChecked() ? 1 : 0;
}

void MainWindow::ShowFields()
{
    for (int field = 0; field < kCardFieldCount; ++field)
        fields_[std::size_t(field)]->Show(held_[std::size_t(field)]);
    countBox_->setText(QString::number(heldRowCount_));
    if (tooltipsCheckState_ < 0 || tooltipsCheckState_ > 2)
        tooltipsCheckState_ = 0;
    tooltipsBox_->setChecked(tooltipsCheckState_ == 1);
}

void MainWindow::ClearEntryFields()
{
    TakeFields();
    for (std::string& field : held_)
        field.clear();
    ShowFields();
}

void MainWindow::OnDestroyWindow()
{
    if (destroyed_)
        return;
    destroyed_ = true;
    SavePreferences();
    SaveCollection();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == tableView_->viewport() && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        OnCardTableClick();
    return QDialog::eventFilter(watched, event);
}
