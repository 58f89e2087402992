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

// Control numbers of the main window.
namespace ControlId {
inline constexpr int Quit = 1;
inline constexpr int Condition = 1000;
inline constexpr int Series = 1001;
inline constexpr int Name = 1002;
inline constexpr int Price = 1003;
inline constexpr int Quantity = 1004;
inline constexpr int Url = 1005;
inline constexpr int CardTable = 1006;
inline constexpr int Add = 1007;
inline constexpr int Update = 1008;
inline constexpr int Clear = 1009;
inline constexpr int Delete = 1010;
inline constexpr int List = 1011;
inline constexpr int Catalogue = 1012;
inline constexpr int Help = 1014;
inline constexpr int Description = 1015;
inline constexpr int Year = 1016;
inline constexpr int Count = 1017;
inline constexpr int Preferences = 1018;
inline constexpr int Tooltips = 1019;
inline constexpr int Notice = 1047;
} // namespace ControlId

// The string table.
inline constexpr const char* kAboutMenuText = "&About Quillmark...";
inline constexpr const char* kNoticeText = "Quillmark v1.01 - trading card inventory";
