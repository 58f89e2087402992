#include "app/lookup/LookupDialog.h"

#include "app/lookup/MatchThumbnails.h"
#include "collection/lookup/CardLookup.h"
#include "collection/lookup/MagicNameIndex.h"
#include "resources/StringTable.h"

#include <QComboBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStringListModel>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace {

// As many names as a popup shows without scrolling.
constexpr int kOfferedNames = 12;

QString Utf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// Every row as tall as a thumbnail, whether or not its own has come, so that
// the list does not jump as they come.
class ThumbnailRows : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(std::max(size.height(), MatchThumbnails::kHeight + 2));
        return size;
    }
};

} // namespace

LookupDialog::LookupDialog(LookupService& service, const QString& typed, CardGame game, const MagicNameIndex* index,
                           QWidget* parent)
    : QDialog(parent)
    , lookup_(new CardLookup(service, this))
    , query_(new QLineEdit(typed, this))
    , game_(new QComboBox(this))
    , list_(new QTreeWidget(this))
    , status_(new QLabel(this))
    , index_(index != nullptr && index->IsOpen() ? index : nullptr)
    , thumbnails_(new MatchThumbnails(service, devicePixelRatioF(), this))
    , thumbnailsSoon_(new QTimer(this))
{
    setObjectName(QStringLiteral("lookupDialog"));
    setWindowTitle(QString::fromUtf8(Text::LookupCaption));
    query_->setObjectName(QStringLiteral("lookupQuery"));
    query_->setPlaceholderText(QString::fromUtf8(Text::LookupPlaceholder));
    game_->setObjectName(QStringLiteral("lookupGame"));
    for (const auto& [text, each] : {std::pair{Text::LookupAnyGame, CardGame::Any}, {Text::LookupMagic, CardGame::Magic},
                                     {Text::LookupPokemon, CardGame::Pokemon}, {Text::LookupYugioh, CardGame::Yugioh}})
        game_->addItem(QString::fromUtf8(text), int(each));
    game_->setCurrentIndex(game_->findData(int(game)));
    auto* search = new QPushButton(QString::fromUtf8(Text::LookupSearch), this);
    search->setObjectName(QStringLiteral("lookupSearch"));
    search->setAutoDefault(false);

    list_->setObjectName(QStringLiteral("lookupMatches"));
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setItemDelegate(new ThumbnailRows(list_));
    // A card's shape, a little wider than it.
    list_->setIconSize(QSize(MatchThumbnails::kHeight * 3 / 4, MatchThumbnails::kHeight));
    list_->setHeaderLabels({QString::fromUtf8(Text::LookupNameColumn), QString::fromUtf8(Text::LookupSetColumn),
                            QString::fromUtf8(Text::LookupNumberColumn), QString::fromUtf8(Text::LookupYearColumn),
                            QString::fromUtf8(Text::LookupGameColumn)});
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    status_->setObjectName(QStringLiteral("lookupStatus"));
    status_->setTextFormat(Qt::PlainText);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* choose = buttons->button(QDialogButtonBox::Ok);
    choose->setText(QString::fromUtf8(Text::LookupChoose));
    choose->setEnabled(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QTreeWidget::itemSelectionChanged, this,
            [this, choose] { choose->setEnabled(!list_->selectedItems().isEmpty()); });
    connect(list_, &QTreeWidget::itemActivated, this, [this] { accept(); });
    connect(search, &QPushButton::clicked, this, &LookupDialog::Search);
    connect(query_, &QLineEdit::returnPressed, this, &LookupDialog::Search);
    if (index_ != nullptr) {
        names_ = new QStringListModel(this);
        auto* completer = new QCompleter(names_, query_);
        completer->setObjectName(QStringLiteral("lookupNames"));
        completer->setCaseSensitivity(Qt::CaseInsensitive);
        // The index has already chosen the names that fit the words typed.
        completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
        query_->setCompleter(completer);
        connect(query_, &QLineEdit::textEdited, this, &LookupDialog::Complete);
    }
    connect(lookup_, &CardLookup::MatchesFound, this, &LookupDialog::Add);
    connect(lookup_, &CardLookup::Finished, this, &LookupDialog::Finish);
    // Closing the dialog, whichever way, stops what is still asked.
    connect(this, &QDialog::finished, lookup_, &CardLookup::Cancel);
    connect(this, &QDialog::finished, thumbnails_, &MatchThumbnails::Stop);
    connect(thumbnails_, &MatchThumbnails::Ready, this, &LookupDialog::ShowThumbnail);
    thumbnailsSoon_->setSingleShot(true);
    connect(thumbnailsSoon_, &QTimer::timeout, this, &LookupDialog::AskThumbnails);
    connect(list_->verticalScrollBar(), &QScrollBar::valueChanged, this, &LookupDialog::AskThumbnailsSoon);

    auto* typedRow = new QHBoxLayout;
    typedRow->addWidget(query_, 1);
    typedRow->addWidget(game_);
    typedRow->addWidget(search);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(typedRow);
    layout->addWidget(list_, 1);
    layout->addWidget(status_);
    layout->addWidget(buttons);
    resize(640, 420);
    if (!query_->text().trimmed().isEmpty())
        Search();
}

LookupDialog::~LookupDialog()
{
    lookup_->Cancel();
    thumbnails_->Stop();
}

void LookupDialog::Search()
{
    thumbnails_->Stop();
    list_->clear();
    matches_.clear();
    const QString typed = query_->text().trimmed();
    if (typed.isEmpty()) {
        status_->setText(QString::fromUtf8(Text::LookupEmptyQuery));
        return;
    }
    status_->setText(QString::fromUtf8(Text::LookupSearching));
    lookup_->Start(typed, CardGame(game_->currentData().toInt()));
}

bool LookupDialog::Searching() const
{
    return lookup_->Running();
}

void LookupDialog::Add(const std::vector<CardMatch>& matches)
{
    for (const CardMatch& match : matches) {
        auto* item = new QTreeWidgetItem(list_, {Utf8(match.name), Utf8(match.series), Utf8(match.number),
                                                 Utf8(match.year), Utf8(match.game)});
        item->setData(0, Qt::UserRole, int(matches_.size()));
        matches_.push_back(match);
    }
    if (list_->currentItem() == nullptr && list_->topLevelItemCount() > 0)
        list_->setCurrentItem(list_->topLevelItem(0));
    status_->setText(QString::fromUtf8(Text::LookupFound).arg(matches_.size()));
    AskThumbnailsSoon();
}

void LookupDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    AskThumbnailsSoon();
}

void LookupDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    AskThumbnailsSoon();
}

void LookupDialog::AskThumbnailsSoon()
{
    thumbnailsSoon_->start(0);
}

// Only the rows in sight are asked for, so that a long answer costs its
// source a screenful of pictures, and a row scrolled past before its turn
// costs nothing.
void LookupDialog::AskThumbnails()
{
    if (!isVisible())
        return;
    const int bottom = list_->viewport()->height();
    QTreeWidgetItem* first = list_->itemAt(QPoint(0, 0));
    std::vector<MatchThumbnails::Wanted> wanted;
    for (int row = first != nullptr ? list_->indexOfTopLevelItem(first) : list_->topLevelItemCount();
         row < list_->topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = list_->topLevelItem(row);
        if (list_->visualItemRect(item).top() >= bottom)
            break;
        const CardMatch& match = matches_[std::size_t(item->data(0, Qt::UserRole).toInt())];
        const std::optional<CardSource> source = PrintSource(match.print);
        if (match.picture.empty() || !source || !item->icon(0).isNull())
            continue;
        const QString url = Utf8(match.picture);
        const QPixmap had = thumbnails_->Thumbnail(url);
        if (!had.isNull())
            item->setIcon(0, QIcon(had));
        else
            wanted.emplace_back(*source, url);
    }
    thumbnails_->Want(wanted);
}

void LookupDialog::ShowThumbnail(const QString& url, const QPixmap& thumbnail)
{
    for (int row = 0; row < list_->topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = list_->topLevelItem(row);
        if (Utf8(matches_[std::size_t(item->data(0, Qt::UserRole).toInt())].picture) == url)
            item->setIcon(0, QIcon(thumbnail));
    }
}

void LookupDialog::Finish(const QString& failure)
{
    if (!failure.isEmpty())
        status_->setText(failure);
    else
        status_->setText(QString::fromUtf8(Text::LookupFound).arg(matches_.size()));
}

void LookupDialog::Complete(const QString& typed)
{
    names_->setStringList(index_->Complete(typed, kOfferedNames));
}

const CardMatch* LookupDialog::Chosen() const
{
    const QTreeWidgetItem* item = list_->currentItem();
    if (item == nullptr)
        return nullptr;
    return &matches_[std::size_t(item->data(0, Qt::UserRole).toInt())];
}
