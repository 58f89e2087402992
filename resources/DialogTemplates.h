#pragma once

#include <vector>

// The dialog templates of the program's three windows. Rectangles are in
// dialog units: x in quarters of the dialog font's average character width,
// y in eighths of its height. Items are listed in template order, which is
// also the tab order of the controls that take the focus.

enum class ItemKind {
    Edit,
    ReadOnlyEdit,
    ComboBox,
    ReportList,
    PushButton,
    DefaultButton,
    Label,
    CheckBox,
    GroupBox,
    Icon,
};

inline constexpr int kNoId = -1;

struct DialogItem {
    int id;
    ItemKind kind;
    const char* text;
    int x;
    int y;
    int width;
    int height;
};

struct DialogTemplate {
    const char* title;
    int width;
    int height;
    std::vector<DialogItem> items;
};

const DialogTemplate& AboutTemplate();
const DialogTemplate& MainWindowTemplate();
const DialogTemplate& PreferencesTemplate();
