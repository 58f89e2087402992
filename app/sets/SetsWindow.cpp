#include "app/sets/SetsWindow.h"

#include "app/sets/CompletionBar.h"
#include "base/FileAccess.h"
#include "base/MessageInterface.h"
#include "collection/CardTableModel.h"
#include "collection/TableChanges.h"
#include "collection/csv/CsvFormulaGuard.h"
#include "collection/csv/CsvWriter.h"
#include "collection/sets/MissingCards.h"
#include "collection/sets/SetCardsFetch.h"
#include "collection/sets/SetSizeFetch.h"
#include "resources/StringTable.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QString Tr(const char* text)
{
    return QString::fromUtf8(text);
}

QString Utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QTableView* ListView(QStandardItemModel* model, const char* objectName)
{
    auto* view = new QTableView;
    view->setObjectName(QString::fromLatin1(objectName));
    view->setModel(model);
    view->verticalHeader()->hide();
    view->horizontalHeader()->setStretchLastSection(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setWordWrap(false);
    return view;
}

// A value a spreadsheet would run as a formula goes out behind its guard.
std::string Guarded(const std::string& value)
{
    return NeedsFormulaGuard(value) ? '\'' + value : value;
}

} // namespace

SetsWindow::SetsWindow(const CardTableModel& table, MessageInterface& messages, LookupService& service,
                       const QString& cachePath, QWidget* parent)
    : QDialog(parent, Qt::Window)
    , table_(table)
    , messages_(messages)
    , cache_(cachePath)
{
    setObjectName(QStringLiteral("setsWindow"));
    setWindowTitle(Tr(Text::SetsCaption));
    sizeFetch_ = new SetSizeFetch(service, cache_, this);
    cardsFetch_ = new SetCardsFetch(service, this);

    auto* layout = new QVBoxLayout(this);
    noSets_ = new QLabel(Tr(Text::SetsNoSets));
    noSets_->setObjectName(QStringLiteral("noSetsNote"));
    noSets_->setWordWrap(true);
    layout->addWidget(noSets_);

    auto* splitter = new QSplitter(Qt::Vertical);
    setsModel_ = new QStandardItemModel(this);
    setsModel_->setHorizontalHeaderLabels({Tr(Text::SetsNameColumn), Tr(Text::SetsGameColumn),
                                           Tr(Text::SetsCodeColumn), Tr(Text::SetsOwnedColumn),
                                           Tr(Text::SetsMissingColumn)});
    setsView_ = ListView(setsModel_, "setsTable");
    setsView_->setItemDelegateForColumn(3, new CompletionBar(setsView_));
    splitter->addWidget(setsView_);

    auto* missingPage = new QWidget;
    auto* missingLayout = new QVBoxLayout(missingPage);
    missingLayout->setContentsMargins(0, 0, 0, 0);
    missingTitle_ = new QLabel;
    missingTitle_->setObjectName(QStringLiteral("missingTitle"));
    missingLayout->addWidget(missingTitle_);
    missingModel_ = new QStandardItemModel(this);
    missingModel_->setHorizontalHeaderLabels(
        {Tr(Text::SetsCardNameColumn), Tr(Text::SetsNumberColumn), Tr(Text::SetsMarketColumn)});
    missingLayout->addWidget(ListView(missingModel_, "missingTable"));
    splitter->addWidget(missingPage);
    layout->addWidget(splitter, 1);
    layout->addWidget(new QLabel(Tr(Text::SetsHint)));

    const auto button = [this](const char* text, const char* objectName) {
        auto* made = new QPushButton(Tr(text));
        made->setObjectName(QString::fromLatin1(objectName));
        made->setAutoDefault(false);
        return made;
    };
    fetchButton_ = button(Text::SetsFetchSizes, "fetchSizesButton");
    cancelButton_ = button(Text::SetsCancel, "cancelFetchButton");
    listButton_ = button(Text::SetsListMissing, "listMissingButton");
    exportButton_ = button(Text::SetsExportCsv, "exportMissingButton");
    wantedButton_ = button(Text::SetsAddWanted, "addWantedButton");
    progress_ = new QProgressBar;
    progress_->setObjectName(QStringLiteral("fetchProgress"));
    auto* actions = new QHBoxLayout;
    for (QWidget* each : std::initializer_list<QWidget*>{fetchButton_, listButton_, progress_, cancelButton_})
        actions->addWidget(each);
    actions->addStretch();
    actions->addWidget(exportButton_);
    actions->addWidget(wantedButton_);
    layout->addLayout(actions);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(Tr(Text::SetsClose), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("closeButton"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(760, 560);

    connect(fetchButton_, &QPushButton::clicked, this, &SetsWindow::OnFetchSizes);
    connect(listButton_, &QPushButton::clicked, this, &SetsWindow::OnListMissing);
    connect(exportButton_, &QPushButton::clicked, this, &SetsWindow::OnExport);
    connect(wantedButton_, &QPushButton::clicked, this, &SetsWindow::OnAddWanted);
    connect(cancelButton_, &QPushButton::clicked, this, [this] {
        cardsFetch_->Cancel();
        sizeFetch_->Cancel();
        ShowBusy(false);
    });
    connect(sizeFetch_, &SetSizeFetch::Progress, this, [this](int done, int total) {
        progress_->setRange(0, total);
        progress_->setValue(done);
    });
    connect(sizeFetch_, &SetSizeFetch::Finished, this, &SetsWindow::OnSizesFetched);
    connect(cardsFetch_, &SetCardsFetch::Finished, this, &SetsWindow::OnMissingListed);
    connect(setsView_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { listButton_->setEnabled(ChosenSet() >= 0 && !cardsFetch_->Running()); });

    refreshTimer_.setSingleShot(true);
    refreshTimer_.setInterval(0);
    connect(&refreshTimer_, &QTimer::timeout, this, &SetsWindow::Refresh);
    OnTableChanges(table_, *this, [this] { ScheduleRefresh(); });
    ShowBusy(false);
    Refresh();
}

SetsWindow::~SetsWindow() = default;

void SetsWindow::ScheduleRefresh()
{
    refreshTimer_.start();
}

void SetsWindow::Refresh()
{
    refreshTimer_.stop();
    const int chosen = ChosenSet();
    const std::string chosenId = chosen >= 0 ? SetId(sets_[std::size_t(chosen)].game, sets_[std::size_t(chosen)].code)
                                             : std::string();
    sets_ = SetsOf(table_);
    noSets_->setVisible(sets_.empty());
    setsModel_->removeRows(0, setsModel_->rowCount());
    for (const SetProgress& set : sets_) {
        const std::optional<SetSize> size = cache_.Find(set.game, set.code);
        QString name = DecodeText(set.name, table_.Encoding());
        if (name.isEmpty())
            name = size ? Utf8(size->name) : DecodeText(set.code, table_.Encoding());
        auto* held = new QStandardItem;
        if (size) {
            const int owned = OwnedPlaces(set, size->size);
            held->setText(Tr(Text::SetsOwnedOf).arg(owned).arg(size->size));
            held->setData(int(qint64(owned) * 1000 / size->size), Qt::UserRole);
        } else {
            held->setText(Tr(Text::SetsOwnedUnknown).arg(set.owned.size()));
        }
        setsModel_->appendRow({new QStandardItem(name), new QStandardItem(DecodeText(set.game, table_.Encoding())),
                               new QStandardItem(DecodeText(set.code, table_.Encoding())), held,
                               new QStandardItem(size ? Utf8(PlacesText(MissingPlaces(set, size->size))) : QString())});
        if (SetId(set.game, set.code) == chosenId)
            setsView_->selectRow(setsModel_->rowCount() - 1);
    }
    setsView_->resizeColumnsToContents();
    ShowMissing();
}

int SetsWindow::ChosenSet() const
{
    const QModelIndexList rows = setsView_->selectionModel()->selectedRows();
    if (rows.isEmpty() || rows.first().row() >= int(sets_.size()))
        return -1;
    return rows.first().row();
}

void SetsWindow::ShowBusy(bool busy)
{
    fetchButton_->setEnabled(!busy);
    listButton_->setEnabled(!busy && ChosenSet() >= 0);
    cancelButton_->setEnabled(busy);
    progress_->setVisible(busy);
}

void SetsWindow::OnFetchSizes()
{
    ShowBusy(true);
    progress_->setRange(0, 0);
    sizeFetch_->Start(sets_);
}

void SetsWindow::OnSizesFetched(const QString& failures)
{
    ShowBusy(false);
    Refresh();
    if (!failures.isEmpty())
        messages_.ShowError(Tr(Text::SetsFetchFailed).arg(failures), Tr(Text::SetsFetchFailedCaption));
}

void SetsWindow::OnListMissing()
{
    const int chosen = ChosenSet();
    if (chosen < 0)
        return;
    const SetProgress& set = sets_[std::size_t(chosen)];
    missingOf_ = SetId(set.game, set.code);
    listed_.clear();
    // YGOPRODeck asks by the set's name as it knows it.
    const std::optional<SetSize> size = cache_.Find(set.game, set.code);
    ShowBusy(true);
    progress_->setRange(0, 0);
    cardsFetch_->Start(set.game, set.code,
                       size && !size->name.empty() ? size->name
                                                   : DecodeText(set.name, table_.Encoding()).toStdString());
}

void SetsWindow::OnMissingListed(const std::vector<SetCard>& cards, const QString& failure)
{
    ShowBusy(false);
    listed_ = cards;
    ShowMissing();
    if (!failure.isEmpty())
        messages_.ShowError(Tr(Text::SetsFetchFailed).arg(failure), Tr(Text::SetsFetchFailedCaption));
}

void SetsWindow::ShowMissing()
{
    missing_.clear();
    const SetProgress* of = nullptr;
    for (const SetProgress& set : sets_) {
        if (SetId(set.game, set.code) == missingOf_)
            of = &set;
    }
    if (of != nullptr)
        missing_ = MissingCards(*of, listed_);
    missingTitle_->setText(of != nullptr ? Tr(Text::SetsMissingOf).arg(DecodeText(of->name.empty() ? of->code : of->name,
                                                                                  table_.Encoding()))
                                         : QString());
    missingModel_->removeRows(0, missingModel_->rowCount());
    for (const SetCard& card : missing_)
        missingModel_->appendRow(
            {new QStandardItem(Utf8(card.name)), new QStandardItem(Utf8(card.number)), new QStandardItem(Utf8(card.market))});
    exportButton_->setEnabled(!missing_.empty());
    wantedButton_->setEnabled(!missing_.empty());
}

bool SetsWindow::ExportMissing(const QString& path)
{
    QByteArray csv;
    AppendCsvRow(csv, {"Name", "Number", "Market Price"});
    for (const SetCard& card : missing_) {
        const std::string name = Guarded(card.name);
        const std::string number = Guarded(card.number);
        AppendCsvRow(csv, {name, number, card.market});
    }
    QString reason;
    if (WriteFileSafely(path, [&csv](QIODevice& device) { return device.write(csv) == csv.size(); }, &reason))
        return true;
    messages_.ShowError(Tr(Text::SetsExportFailed).arg(reason), Tr(Text::ErrorSavingFileCaption));
    return false;
}

void SetsWindow::OnExport()
{
    QFileDialog dialog(this, Tr(Text::SetsExportCaption), QString(), Tr(Text::SetsCsvFilter));
    dialog.setObjectName(QStringLiteral("exportMissingDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.selectFile(QStringLiteral("missing.csv"));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        ExportMissing(dialog.selectedFiles().constFirst());
}

void SetsWindow::OnAddWanted()
{
    for (const SetProgress& set : sets_) {
        if (SetId(set.game, set.code) != missingOf_)
            continue;
        std::vector<Card> wanted = WantedCards(set, missing_, table_.Encoding());
        if (!wanted.empty())
            emit WantedCardsChosen(wanted);
        return;
    }
}
