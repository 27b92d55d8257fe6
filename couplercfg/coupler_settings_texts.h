#pragma once
// String-table ids of the coupler settings dialogs (German id; the English text is
// id + 2000). The German column holds the dialogs' design texts.

namespace varnak {

// General coupler settings.
inline constexpr int kTxtGeneralCaption = 480;
inline constexpr int kTxtProcessImage = 481;  // the tab caption's stem, a digit follows
inline constexpr int kTxtPlcInterfaceTab = 484;
inline constexpr int kTxtRailTab = 485;
inline constexpr int kTxtYxpTab = 486;
inline constexpr int kTxtReservedTab = 487;
inline constexpr int kTxtDefaultButton = 488;
inline constexpr int kTxtApplyButton = 489;
inline constexpr int kTxtCancelButton = 490;
inline constexpr int kTxtImageBoxFirst = 500;  // 500 to 507: the eight image boxes in bit order
inline constexpr int kTxtFieldbusErrorFrame = 508;
inline constexpr int kTxtFieldbusReactionFirst = 509;  // 509 to 511
inline constexpr int kTxtTerminalbusErrorFrame = 512;
inline constexpr int kTxtTerminalbusReactionFirst = 513;  // 513 to 515
inline constexpr int kTxtPlcInterfaceBox = 520;
inline constexpr int kTxtEventsFieldbus = 521;
inline constexpr int kTxtEventsDiagnostic = 522;
inline constexpr int kTxtEventsFrame = 523;
inline constexpr int kTxtEventsYxp = 524;
inline constexpr int kTxtOffsetFrame = 525;
inline constexpr int kTxtMasterSlave = 526;
inline constexpr int kTxtSlaveMaster = 527;
inline constexpr int kTxtAutoReset = 530;
inline constexpr int kTxtDeviceDiagnostic = 531;
inline constexpr int kTxtWaitAfterSync0 = 532;
inline constexpr int kTxtWaitAfterSync1 = 533;
inline constexpr int kTxtOldTermConfig = 534;
inline constexpr int kTxtDiagnosticDigital = 535;

// Controller cycle time.
inline constexpr int kTxtOkButton552 = 552;
inline constexpr int kTxtCycleTimeFirst = 850;  // 850 to 853: minimum, maximum, current, mean
inline constexpr int kTxtActivateCycleTime = 854;

// Link terminals.
inline constexpr int kTxtLinkRegisterFirst = 1430;  // 1430 to 1434: fields 0 to 4
inline constexpr int kTxtLinkCodeFieldbus = 1435;
inline constexpr int kTxtLinkCodePlcCompact = 1436;
inline constexpr int kTxtLinkCodePlcComplex = 1437;
inline constexpr int kTxtLinkColumnAssignment = 1438;
inline constexpr int kTxtLinkColumnPosition = 1439;
inline constexpr int kTxtLinkColumnDescription = 1440;

// Shared with the register editor.
inline constexpr int kTxtRefreshButton775 = 775;
inline constexpr int kTxtExitButton796 = 796;

// Our own messages.
inline constexpr int kTxtLinkPositionsBeyond = 1908;  // the rail's terminal count follows

}  // namespace varnak
