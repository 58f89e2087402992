#pragma once

// Control numbers of the dialog templates. OK is 1 in every dialog.

inline constexpr int kOkId = 1;

// The main window.
namespace ControlId {
inline constexpr int Quit = kOkId;
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
// Not in the template: the window adds the filter bar itself.
inline constexpr int FilterBar = 1048;
} // namespace ControlId

// The Preferences dialog; some numbers are the main window's too, for other controls.
namespace PrefsControlId {
inline constexpr int Return = kOkId;
inline constexpr int Name = 1002;
inline constexpr int Country = 1016;
inline constexpr int Email = 1033;
inline constexpr int Address1 = 1034;
inline constexpr int Address2 = 1035;
inline constexpr int City = 1036;
inline constexpr int State = 1037;
inline constexpr int List = 1041;
inline constexpr int Catalogue = 1042;
} // namespace PrefsControlId

// The About box.
namespace AboutControlId {
inline constexpr int Ok = kOkId;
} // namespace AboutControlId
