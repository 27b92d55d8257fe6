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
inline constexpr int kTxtNotReadable = 1869;

// Transfer reports.
inline constexpr int kTxtUploadIncomplete = 1824;
inline constexpr int kTxtDownloadIncomplete = 1825;
inline constexpr int kTxtProtectionNotLifted = 1826;  // followed by the result code
inline constexpr int kTxtReportTable = 1827;
inline constexpr int kTxtReportTerminal = 1828;
inline constexpr int kTxtReportError = 1830;
inline constexpr int kTxtReportWithoutEndMark = 1831;
inline constexpr int kTxtReportReset = 1832;  // followed by the result code
inline constexpr int kTxtReportStopped = 1833;
inline constexpr int kTxtReportTables = 1834;
inline constexpr int kTxtStationListUnread = 1862;  // followed by the result code
inline constexpr int kTxtUploadPassedOver = 1857;
inline constexpr int kTxtReportRefusedRead = 1858;       // followed by the result code
inline constexpr int kTxtReportUndescribed = 1859;       // %1 position
inline constexpr int kTxtReportFallbackChannels = 1860;  // followed by the channels
inline constexpr int kTxtMappingDistributedInFront = 1861;
inline constexpr int kTxtMappingNotDistributed = 1933;  // follows the refusal

// Settings download and station upload.
inline constexpr int kTxtDownloadCaption = 1835;
inline constexpr int kTxtBoxCouplerSettings = 1836;
inline constexpr int kTxtBoxProgrammedConfiguration = 1837;
inline constexpr int kTxtBoxAutostart = 1838;
inline constexpr int kTxtRangeUpto = 1839;
inline constexpr int kTxtCouplerGeneral = 1840;
inline constexpr int kTxtStartButton = 1841;
inline constexpr int kTxtUploadCaption = 1842;
inline constexpr int kTxtBoxTerminalConfiguration = 1843;
inline constexpr int kTxtBoxTotalUpload = 1844;
inline constexpr int kTxtUploadButton = 1845;
inline constexpr int kTxtUploadCancel = 1846;

// The station's terminals against the rail's, before the download writes.
inline constexpr int kTxtStationDiffers = 1863;
inline constexpr int kTxtStationDifference = 1864;  // %1 position, %2 rail, %3 station
inline constexpr int kTxtNoTerminalThere = 1865;
inline constexpr int kTxtFurtherDifferences = 1866;  // %1 how many
inline constexpr int kTxtDownloadAnyway = 1867;
inline constexpr int kTxtReadingStationList = 1868;
inline constexpr int kTxtUndescribedListsSent = 1921;  // %1 the tables sent, %2 the positions
inline constexpr int kTxtDownloadNotes = 1932;

// Script initialisations.
inline constexpr int kTxtScriptCaption = 420;
inline constexpr int kTxtScriptRange = 421;
inline constexpr int kTxtScriptFirstPosition = 422;
inline constexpr int kTxtScriptLastPosition = 423;
inline constexpr int kTxtScriptOk = 424;
inline constexpr int kTxtScriptCancel = 425;
inline constexpr int kTxtScriptAllTables = 427;
inline constexpr int kTxtScriptReset = 428;
inline constexpr int kTxtScriptGoOn = 1850;
inline constexpr int kTxtScriptOnlineOnly = 1851;
inline constexpr int kTxtScriptInvalidLines = 1852;
inline constexpr int kTxtScriptUnreadable = 1853;  // followed by the path
inline constexpr int kTxtScriptNothingToWrite = 1854;
inline constexpr int kTxtScriptNoTerminalInRange = 1856;

// Shared with the register editor and the shell's dialogs.
inline constexpr int kTxtDialogOk = 872;
inline constexpr int kTxtDialogCancel = 873;
inline constexpr int kTxtDialogExit = 796;
inline constexpr int kTxtDialogRefresh = 775;

}  // namespace varnak
