#pragma once
// String-table ids of the online windows' own texts (German id; the English text is
// id + 2000).

namespace varnak {

// Coupler services.
inline constexpr int kTxtCouplerServicesCaption = 1800;
inline constexpr int kTxtCouplerServiceFirst = 1801;  // 1801 to 1806: the six buttons
inline constexpr int kTxtServiceOk = 1807;
inline constexpr int kTxtServiceNotOk = 1808;
inline constexpr int kTxtProtectionLifted = 1809;
inline constexpr int kTxtProtectionSet = 1810;
inline constexpr int kTxtResetOk = 1811;

// Shared with the register editor and the shell's dialogs.
inline constexpr int kTxtOkButton = 872;
inline constexpr int kTxtCancelButton = 873;
inline constexpr int kTxtExitButton = 796;
inline constexpr int kTxtRefreshButton = 775;

}  // namespace varnak
