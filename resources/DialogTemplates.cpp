#include "resources/DialogTemplates.h"

#include "resources/ControlIds.h"
#include "resources/StringTable.h"

const DialogTemplate& MainWindowTemplate()
{
    using K = ItemKind;
    static const DialogTemplate t{
        "Quillmark - Velmora",
        310,
        201,
        {
            {kNoId, K::Label, "Card Name:", 7, 12, 38, 8},
            {ControlId::Name, K::Edit, "", 59, 9, 70, 14},
            {kNoId, K::Label, "Card Series:", 135, 12, 39, 8},
            {ControlId::Series, K::ComboBox, "", 178, 10, 70, 183},
            {kNoId, K::Label, "Condition:", 10, 27, 32, 8},
            {ControlId::Condition, K::ComboBox, "", 59, 25, 70, 168},
            {kNoId, K::Label, "Year:", 135, 27, 18, 8},
            {ControlId::Year, K::Edit, "", 178, 24, 70, 14},
            {kNoId, K::Label, "Purchase Price:", 7, 42, 51, 8},
            {ControlId::Price, K::Edit, "", 59, 39, 70, 14},
            {kNoId, K::Label, "Quantity:", 135, 42, 29, 8},
            {ControlId::Quantity, K::Edit, "", 178, 39, 70, 14},
            {kNoId, K::Label, "Picture URL:", 7, 58, 42, 8},
            {ControlId::Url, K::Edit, "", 59, 55, 188, 14},
            {kNoId, K::Label, "Description:", 7, 73, 38, 8},
            {ControlId::Description, K::Edit, "", 59, 70, 188, 14},
            {ControlId::CardTable, K::ReportList, "", 7, 89, 241, 97},
            {ControlId::Add, K::PushButton, "Add", 253, 23, 50, 14},
            {ControlId::Update, K::PushButton, "Update", 253, 37, 50, 14},
            {ControlId::Clear, K::PushButton, "Clear", 253, 50, 50, 14},
            {ControlId::Delete, K::PushButton, "Delete", 253, 64, 50, 14},
            {ControlId::List, K::PushButton, "List", 253, 82, 50, 14},
            {ControlId::Catalogue, K::PushButton, "Catalogue", 253, 96, 50, 14},
            {ControlId::Help, K::PushButton, "Help", 253, 156, 50, 14},
            {ControlId::Quit, K::DefaultButton, "Quit", 253, 7, 50, 14},
            {ControlId::Notice, K::Label, Text::Notice, 2, 191, 269, 8},
            {ControlId::Count, K::ReadOnlyEdit, "", 263, 172, 40, 14},
            {ControlId::Preferences, K::PushButton, "Preferences", 253, 128, 50, 14},
            {ControlId::Tooltips, K::CheckBox, "Tooltips", 255, 114, 41, 10},
        },
    };
    return t;
}

const DialogTemplate& PreferencesTemplate()
{
    using K = ItemKind;
    static const DialogTemplate t{
        "Preferences",
        208,
        175,
        {
            {PrefsControlId::Return, K::DefaultButton, "Return", 151, 150, 50, 14},
            {kNoId, K::Label, "Preferences are automatically saved when", 7, 149, 134, 8},
            {kNoId, K::Label, "Name:", 11, 12, 22, 8},
            {kNoId, K::Label, "Email:", 11, 28, 20, 8},
            {kNoId, K::Label, "Address 1:", 11, 43, 34, 8},
            {kNoId, K::Label, "Address 2:", 11, 58, 34, 8},
            {kNoId, K::Label, "City:", 11, 72, 14, 8},
            {kNoId, K::Label, "State:", 109, 72, 20, 8},
            {kNoId, K::Label, "Country:", 11, 86, 27, 8},
            {kNoId, K::GroupBox, "Template Variables:", 7, 0, 194, 101},
            {PrefsControlId::Name, K::Edit, "", 50, 9, 144, 14},
            {PrefsControlId::Email, K::Edit, "", 50, 25, 144, 14},
            {PrefsControlId::Address1, K::Edit, "", 50, 40, 144, 14},
            {PrefsControlId::Address2, K::Edit, "", 50, 55, 144, 14},
            {PrefsControlId::City, K::Edit, "", 50, 69, 57, 14},
            {PrefsControlId::State, K::Edit, "", 132, 69, 62, 14},
            {PrefsControlId::Country, K::Edit, "", 50, 83, 144, 14},
            {kNoId, K::GroupBox, "File Output Locations:", 7, 104, 194, 43},
            {kNoId, K::Label, "List:", 11, 116, 14, 8},
            {kNoId, K::Label, "Catalogue:", 11, 131, 35, 8},
            {PrefsControlId::List, K::Edit, "", 50, 113, 144, 14},
            {PrefsControlId::Catalogue, K::Edit, "", 50, 128, 144, 14},
            {kNoId, K::Label, "you press return.", 9, 159, 53, 8},
        },
    };
    return t;
}

const DialogTemplate& AboutTemplate()
{
    using K = ItemKind;
    static const DialogTemplate t{
        "About Quillmark",
        235,
        55,
        {
            {kNoId, K::Icon, "", 11, 17, 20, 20},
            {kNoId, K::Label, "Quillmark Version 1.0", 40, 10, 119, 8},
            {kNoId, K::Label, "Copyright (C) 2026 Velmora", 40, 25, 119, 8},
            {AboutControlId::Ok, K::DefaultButton, "OK", 178, 7, 50, 14},
        },
    };
    return t;
}
