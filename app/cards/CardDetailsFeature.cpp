#include "app/cards/CardDetailsFeature.h"

#include "app/cards/CardDetailsDialog.h"
#include "app/window/EncodingValidator.h"
#include "app/window/UserQuestions.h"
#include "app/window/WindowActions.h"
#include "base/LineSyntax.h"
#include "collection/file/CollectionFile.h"
#include "collection/prices/PriceHistory.h"
#include "resources/StringTable.h"

#include <QAction>
#include <QWidget>

CardDetailsFeature::CardDetailsFeature(WindowActions& actions, UserQuestions& questions, QWidget& window,
                                       std::function<Card()> heldCard, std::function<TextEncoding()> encoding,
                                       std::function<QString()> folder)
    : QObject(&window)
    , questions_(questions)
    , window_(window)
    , heldCard_(std::move(heldCard))
    , encoding_(std::move(encoding))
    , folder_(std::move(folder))
{
    actions.Bind(actions.Register("cardDetailsAction", Text::CardDetailsMenu, QKeySequence(Qt::CTRL | Qt::Key_E)),
                 [this] { Open(); });
}

void CardDetailsFeature::Open()
{
    const Card held = heldCard_();
    const TextEncoding encoding = encoding_();
    CardDetailsDialog::Texts shown;
    for (int detail = 0; detail < kCardDetailCount; ++detail)
        shown[std::size_t(detail)] = DecodeText(held[std::size_t(kCardFieldCount + detail)], encoding);
    const auto refused = [this](char32_t character) {
        questions_.ShowError(UnstorableCharacterText(character, QString::fromLatin1(kCollectionFileName)),
                             QString::fromUtf8(Text::ErrorCaption));
    };
    CardDetailsDialog dialog(DecodeText(held[NameField], encoding), shown, encoding, refused, &window_);
    dialog.ShowPriceHistory(CardPriceHistory(folder_(), held, encoding));
    if (!questions_.AskDialog(dialog))
        return;
    const CardDetailsDialog::Texts typed = dialog.Details();
    CardDetails details;
    for (int detail = 0; detail < kCardDetailCount; ++detail) {
        std::string& bytes = details[std::size_t(detail)];
        // A detail left as it was keeps its bytes, whatever they decode to.
        if (typed[std::size_t(detail)] == shown[std::size_t(detail)]) {
            bytes = held[std::size_t(kCardFieldCount + detail)];
            continue;
        }
        EncodeText(typed[std::size_t(detail)], encoding, bytes);
        PrepareValueForStorage(bytes);
    }
    emit DetailsChosen(details);
}
