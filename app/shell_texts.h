#pragma once
// String-table ids of the shell's own texts (German id; the English text is id + 2000).

namespace varnak {

// Edition block: starts at 20 x CompanyID.
inline constexpr int kEditionBlockSize = 20;
inline constexpr int kTxtEditionTitle = 0;
inline constexpr int kTxtEditionCompanyName = 1;
inline constexpr int kTxtEditionShortName = 2;
inline constexpr int kTxtEditionContactFirst = 3;  // contact lines 3 to 6
inline constexpr int kTxtEditionContactLast = 6;
inline constexpr int kTxtEditionProductName = 7;

inline constexpr int kTxtVersion = 80;
inline constexpr int kTxtProjectCaption = 81;
inline constexpr int kTxtSplashWarning = 83;
inline constexpr int kTxtAboutCaption = 85;
inline constexpr int kTxtPlatform = 87;

// Serial settings dialog (its Cancel and "Code: " texts are shared: windowkit/shared_texts.h).
inline constexpr int kTxtComParamCaption = 1970;
inline constexpr int kTxtComPortLabelFirst = 1972;  // 1972 to 1979: the eight field labels
inline constexpr int kTxtCheckCurrentKBus = 1980;
inline constexpr int kTxtTestCommunicationTitle = 1981;
inline constexpr int kTxtCommunicationOk = 1982;
inline constexpr int kTxtTestButton = 1984;
inline constexpr int kTxtOkButton = 1985;
inline constexpr int kTxtComPortTab = 1986;
inline constexpr int kTxtWizardsTab = 1987;

// Main window and about window.
inline constexpr int kTxtNoHelp = 1988;
inline constexpr int kTxtNoSysInfo = 1989;
inline constexpr int kTxtOnline = 1990;
inline constexpr int kTxtOffline = 1991;
inline constexpr int kTxtSysInfoButton = 1992;
// Asked when a road that puts the loaded rail away could not save it; %1 the rail's name.
inline constexpr int kTxtDropUnsavedRail = 1762;

}  // namespace varnak

namespace varnak {
inline constexpr int kTxtHelpNotOpened = 1993;  // followed by the file's path
inline constexpr int kTxtActionFailed = 1897;   // followed by the error's own text
}  // namespace varnak
