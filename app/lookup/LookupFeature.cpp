#include "app/lookup/LookupFeature.h"

#include "app/lookup/LookupDialog.h"
#include "app/window/EncodingValidator.h"
#include "app/window/UserQuestions.h"
#include "app/window/WindowActions.h"
#include "base/LineSyntax.h"
#include "collection/file/CollectionFile.h"
#include "collection/lookup/MatchPictures.h"
#include "resources/StringTable.h"

#include <QAction>
#include <QDir>
#include <QWidget>

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
    LookupDialog dialog(service_, DecodeText(held[NameField], encoding), game, &window_);
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
