#include "app/lookup/LookupFeature.h"

#include "app/lookup/LookupDialog.h"
#include "app/window/EncodingValidator.h"
#include "app/window/UserQuestions.h"
#include "app/window/WindowActions.h"
#include "base/LineSyntax.h"
#include "collection/file/CollectionFile.h"
#include "collection/lookup/MagicIndexDownload.h"
#include "collection/lookup/MagicNameIndex.h"
#include "collection/lookup/MatchPictures.h"
#include "resources/StringTable.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>
#include <QWidget>

#include <memory>

LookupFeature::LookupFeature(WindowActions& actions, UserQuestions& questions, LookupService& service,
                             QWidget& window, std::function<Card()> heldCard, std::function<TextEncoding()> encoding)
    : QObject(&window)
    , questions_(questions)
    , service_(service)
    , window_(window)
    , heldCard_(std::move(heldCard))
    , encoding_(std::move(encoding))
{
    actions.Bind(actions.Register("lookupAction", Text::LookupMenu, QKeySequence(Qt::CTRL | Qt::Key_L)),
                 [this] { Open(); });
    actions.Bind(actions.Register("cardIndexAction", Text::CardIndexMenu), [this] { DownloadIndex(); });
    SetCollectionFolder(QDir::currentPath());
}

LookupFeature::~LookupFeature() = default;

void LookupFeature::SetCollectionFolder(const QString& folder)
{
    delete pictures_;
    pictures_ = new MatchPictures(folder, 20000, this);
    connect(pictures_, &MatchPictures::Stored, this, [this](const QString& print, const QString& path) {
        emit PictureStored(print.toStdString(), QDir::fromNativeSeparators(path).toStdString());
    });
    connect(pictures_, &MatchPictures::Failed, this, [this](const QString&, const QString& reason) {
        questions_.ShowError(reason, QString::fromUtf8(Text::ErrorCaption));
    });
}

void LookupFeature::Open()
{
    const Card held = heldCard_();
    const TextEncoding encoding = encoding_();
    CardGame game = CardGame::Any;
    ParseCardGame(DecodeText(held[GameField], encoding), game);
    // The index is read only while the dialog is open.
    std::unique_ptr<MagicNameIndex> index;
    if (QFileInfo::exists(MagicNameIndex::DefaultPath()) && MagicNameIndex::Available())
        index = std::make_unique<MagicNameIndex>(MagicNameIndex::DefaultPath());
    LookupDialog dialog(service_, DecodeText(held[NameField], encoding), game, index.get(), &window_);
    if (!questions_.AskDialog(dialog) || dialog.Chosen() == nullptr)
        return;
    const CardMatch match = *dialog.Chosen();
    Card card = held;
    if (!Fill(match, card))
        return;
    emit CardFilled(card);
    if (!match.picture.empty() && !match.print.empty())
        pictures_->Store(match);
}

void LookupFeature::DownloadIndex()
{
    if (download_ != nullptr) {
        progress_->raise();
        return;
    }
    if (!MagicNameIndex::Available()) {
        questions_.ShowError(QString::fromUtf8(Text::LookupIndexNoDriver), QString::fromUtf8(Text::ErrorCaption));
        return;
    }
    if (!questions_.AskYesNo(QString::fromUtf8(Text::CardIndexQuestion), QString::fromUtf8(Text::CardIndexCaption)))
        return;
    download_ = new MagicIndexDownload(service_, MagicNameIndex::DefaultPath(), 60000, this);
    progress_ = new QProgressDialog(QString::fromUtf8(Text::CardIndexProgress), QString::fromUtf8(Text::CardIndexCancel),
                                    0, 0, &window_);
    progress_->setObjectName(QStringLiteral("cardIndexProgress"));
    progress_->setWindowTitle(QString::fromUtf8(Text::CardIndexCaption));
    progress_->setMinimumDuration(0);
    progress_->setAutoClose(false);
    progress_->setAutoReset(false);
    const auto done = [this] {
        download_->deleteLater();
        download_ = nullptr;
        progress_->deleteLater();
        progress_ = nullptr;
    };
    connect(progress_, &QProgressDialog::canceled, this, [this, done] {
        download_->Cancel();
        done();
    });
    connect(download_, &MagicIndexDownload::Progress, progress_, [this](qint64 received, qint64 total) {
        // In kilobytes: a file of cards is larger than a progress bar counts.
        progress_->setMaximum(int(total / 1024));
        progress_->setValue(int(received / 1024));
    });
    connect(download_, &MagicIndexDownload::Finished, this, [this, done](const QString& failure, int names) {
        done();
        if (failure.isEmpty())
            questions_.ShowInformation(QString::fromUtf8(Text::CardIndexMade).arg(names),
                                       QString::fromUtf8(Text::CardIndexCaption));
        else
            questions_.ShowError(failure, QString::fromUtf8(Text::ErrorCaption));
    });
    progress_->show();
    download_->Start();
}

// Every text of the match in the collection's encoding; false, after a box,
// when one holds a character the encoding cannot.
bool LookupFeature::Fill(const CardMatch& match, Card& card) const
{
    const TextEncoding encoding = encoding_();
    const std::pair<int, const std::string*> taken[] = {
        {NameField, &match.name},         {SeriesField, &match.series},   {YearField, &match.year},
        {GameField, &match.game},         {SetCodeField, &match.setcode}, {NumberField, &match.number},
        {FinishField, &match.finish},     {LanguageField, &match.language}, {PrintField, &match.print},
    };
    for (const auto& [field, text] : taken) {
        std::string& bytes = card[std::size_t(field)];
        char32_t unstorable = 0;
        if (!EncodeText(QString::fromStdString(*text), encoding, bytes, &unstorable)) {
            questions_.ShowError(UnstorableCharacterText(unstorable, QString::fromLatin1(kCollectionFileName)),
                                 QString::fromUtf8(Text::ErrorCaption));
            return false;
        }
        PrepareValueForStorage(bytes);
    }
    // A picture already stored is named at once; another once it is.
    const QString stored = pictures_->StoredPath(match);
    if (!stored.isEmpty())
        card[UrlField] = QDir::fromNativeSeparators(stored).toStdString();
    return true;
}
