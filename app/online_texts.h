#pragma once
// String-table ids of the report selection, the reports and the preview (German id; the
// English text is id + 2000).

namespace varnak {

inline constexpr int kTxtPrintDialogCaption = 320;
inline constexpr int kTxtPrinterLabel = 321;
inline constexpr int kTxtReportRowBase = 323;  // + row 1, 4, 5, 6, 7
inline constexpr int kTxtOutputTo = 335;
inline constexpr int kTxtDestinationWindow = 336;
inline constexpr int kTxtDestinationPrinter = 337;
inline constexpr int kTxtPrintOk = 342;
inline constexpr int kTxtPrintCancel = 343;
inline constexpr int kTxtPrintSetup = 344;
inline constexpr int kTxtNoPrinter = 345;

inline constexpr int kTxtReportNotSavedNoProject = 1940;
inline constexpr int kTxtReportSaveFailed = 1941;  // followed by the file's path
// When nothing can be printed: what does work on this machine.
inline constexpr int kTxtPrintProblems = 1942;

}  // namespace varnak
