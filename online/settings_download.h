#pragma once
// The settings download without its window: the project's rail written into the station in
// the dialog's order (lift the write protection, then per ticked box: coupler tables 0,
// 100, 120-122; table 8 and the mapping lists 10-23, 50-63; the user registers of the
// terminals' channels in the range, each bracketed by the code word; the software reset).
// The write protection stays lifted.
//
// Every failure is named in the report. A refused lift writes nothing; a mapping list (or
// table 8) without its end mark is not sent; a failed table ends its list; a time-out or
// send failure ends the download.
#include "online/transfer_run.h"

namespace varnak {

class clsCoupler;

enum DownloadBox : int {
    kDownloadCouplerSettings = 0,
    kDownloadProgrammedConfiguration = 1,
    kDownloadTerminalSettings = 2,
    kDownloadReset = 5,
};

// Runs the download on the context's control and station.
TransferReport runSettingsDownload(clsCoupler& rail, const TransferChoice& choice,
                                   const TransferProgress& progress);

}  // namespace varnak
