#include "app/window/Tooltips.h"

#include "resources/ControlIds.h"
#include "resources/StringTable.h"

#include <QDir>

#include <QWidget>

namespace {

// The controls with a tip; the others show none.
struct Tip {
    int id;
    const char* text;
};

constexpr Tip kTips[] = {
    {ControlId::Quit, Text::QuitTip},
    {ControlId::Condition, Text::ConditionTip},
    {ControlId::Series, Text::SeriesTip},
    {ControlId::Name, Text::NameTip},
    {ControlId::Price, Text::PriceTip},
    {ControlId::Quantity, Text::QuantityTip},
    {ControlId::Url, Text::UrlTip},
    {ControlId::CardTable, Text::CardTableTip},
    {ControlId::Add, Text::AddTip},
    {ControlId::Update, Text::UpdateTip},
    {ControlId::Clear, Text::ClearTip},
    {ControlId::Delete, Text::DeleteTip},
    {ControlId::List, Text::ListTip},
    {ControlId::Catalogue, Text::CatalogueTip},
    {ControlId::Help, Text::HelpTip},
    {ControlId::Description, Text::DescriptionTip},
    {ControlId::Year, Text::YearTip},
    {ControlId::Preferences, Text::PreferencesTip},
};

} // namespace

void ApplyTips(const QHash<int, QWidget*>& controls, bool on)
{
    // A combo box's line edit and a table's rows have no tip of their own, so
    // resting on them shows their control's.
    for (const Tip& tip : kTips) {
        if (QWidget* control = controls.value(tip.id))
            control->setToolTip(on ? QString::fromUtf8(tip.text) : QString());
    }
}

void ApplyFolderTip(QWidget& notice, const QString& folder, bool on)
{
    notice.setToolTip(on ? QString::fromUtf8(Text::FolderTip).arg(QDir::toNativeSeparators(folder)) : QString());
}
