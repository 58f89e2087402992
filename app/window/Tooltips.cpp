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
    {ControlId::Quit, "This button will save your data, save your preferences and then quit the program."},
    {ControlId::Condition, "Enter, Update or Choose the condition of your Card from the list."},
    {ControlId::Series, "Enter, Update or Choose a series from the list."},
    {ControlId::Name, "Enter or Update the Title of the Card here."},
    {ControlId::Price, "Enter or Update the price you purchased the Card for here."},
    {ControlId::Quantity, "Enter or Update the number of these Cards here."},
    {ControlId::Url, "Enter or Update the url or file path for an image."},
    {ControlId::CardTable, "This list displays all of the Cards currently in your list."},
    {ControlId::Add, "This button adds the Card contained in the fields to the list below."},
    {ControlId::Update, "This button updates the Card contained in the fields to the list below."},
    {ControlId::Clear, "This button clears the data entry fields."},
    {ControlId::Delete, "This button deletes the currently selected Card in the list."},
    {ControlId::List, "This button generates your List HTML page."},
    {ControlId::Catalogue, "This button generates your Catalogue page."},
    {ControlId::Help, "This button will take you to the Velmora Website for more information."},
    {ControlId::Description, "Enter a description of the Card here."},
    {ControlId::Year, "Enter or Update the year the Card was made here."},
    {ControlId::Preferences, "This button will display the preferences window and allow you to edit them."},
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
