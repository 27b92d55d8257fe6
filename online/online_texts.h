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

// Developer tools.
inline constexpr int kTxtStationNumberCaption = 1812;
inline constexpr int kTxtStationNumberStarting = 1813;
inline constexpr int kTxtDebugCaption = 1814;
inline constexpr int kTxtDumpFrame = 1815;
inline constexpr int kTxtEditFrame = 1816;
inline constexpr int kTxtStartSegment = 1817;
inline constexpr int kTxtStartAddress = 1818;
inline constexpr int kTxtData = 1819;
inline constexpr int kTxtSendButton = 1820;
inline constexpr int kTxtNotAHexWord = 1821;  // followed by the text
inline constexpr int kTxtWriteSegments = 1822;
inline constexpr int kTxtWriteFailed = 1823;  // followed by the result code

// Shared with the register editor and the shell's dialogs.
inline constexpr int kTxtDialogOk = 872;
inline constexpr int kTxtDialogCancel = 873;
inline constexpr int kTxtDialogExit = 796;
inline constexpr int kTxtDialogRefresh = 775;

}  // namespace varnak
