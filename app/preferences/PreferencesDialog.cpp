#include "app/preferences/PreferencesDialog.h"

#include "app/window/DialogBuilder.h"
#include "app/window/EncodingValidator.h"
#include "app/window/FieldBinding.h"
#include "base/LineSyntax.h"
#include "base/MessageInterface.h"
#include "resources/ControlIds.h"
#include "resources/StringTable.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

struct EditBinding {
    int id;
    const char* objectName;
    std::string Preferences::*field;
};

// The edits in data-exchange order.
constexpr std::array<EditBinding, PreferencesDialog::kFieldCount> kEdits = {{
    {PrefsControlId::Address1, "address1Edit", &Preferences::Address1},
    {PrefsControlId::Address2, "address2Edit", &Preferences::Address2},
    {PrefsControlId::Catalogue, "catalogueEdit", &Preferences::Catalogue},
    {PrefsControlId::City, "cityEdit", &Preferences::City},
    {PrefsControlId::Country, "countryEdit", &Preferences::Country},
    {PrefsControlId::Email, "emailEdit", &Preferences::Email},
    {PrefsControlId::List, "listEdit", &Preferences::List},
    {PrefsControlId::State, "stateEdit", &Preferences::State},
    {PrefsControlId::Name, "nameEdit", &Preferences::Name},
}};

} // namespace

PreferencesDialog::PreferencesDialog(MessageInterface& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , messages_(messages)
{
    const QHash<int, QWidget*> controls = BuildDialog(*this, PreferencesTemplate());
    for (std::size_t i = 0; i < kEdits.size(); ++i) {
        auto* edit = qobject_cast<QLineEdit*>(controls.value(kEdits[i].id));
        edit->setObjectName(QString::fromLatin1(kEdits[i].objectName));
        edits_[i] = std::make_unique<FieldBinding>(edit);
    }
    auto* returnButton = qobject_cast<QPushButton*>(controls.value(PrefsControlId::Return));
    returnButton->setObjectName(QStringLiteral("returnButton"));
    connect(returnButton, &QPushButton::clicked, this, &QDialog::accept);
    returnButton->setFocus();
    setFixedSize(size());
}

PreferencesDialog::~PreferencesDialog() = default;

void PreferencesDialog::SetPreferences(const Preferences& prefs)
{
    const auto refuse = [this](char32_t character) {
        messages_.ShowError(UnstorableCharacterText(character, QString::fromLatin1(kPreferencesFileName)),
                            QString::fromUtf8(Text::ErrorCaption));
    };
    for (std::size_t i = 0; i < kEdits.size(); ++i) {
        edits_[i]->SetEncoding(prefs.Encoding, refuse);
        values_.*kEdits[i].field = prefs.*kEdits[i].field;
        edits_[i]->Show(values_.*kEdits[i].field);
    }
}

void PreferencesDialog::CopyTo(Preferences& prefs) const
{
    for (const EditBinding& binding : kEdits)
        prefs.*binding.field = values_.*binding.field;
}

// The values are taken as qmk.ini will give them back: a pasted line break
// would otherwise end the value there and start another key.
void PreferencesDialog::accept()
{
    for (std::size_t i = 0; i < kEdits.size(); ++i) {
        std::string& value = values_.*kEdits[i].field;
        value = edits_[i]->Take();
        PrepareValueForStorage(value);
    }
    QDialog::accept();
}
