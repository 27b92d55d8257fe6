#pragma once
// The settings download without its window: the project's rail written into the station in
// the dialog's order (lift the write protection, then per ticked box: coupler tables 0,
// 100, 120-122; table 8 and the mapping lists 10-23, 50-63; the user registers of the
// terminals' channels in the range, each bracketed by the code word; the software reset).
// The write protection stays lifted.
//
// Table 0 goes without its identification registers and firmware version (200-255):
// they describe the device, not the project.
//
// Before anything is written for the programmed configuration or the terminal settings,
// the station's terminal list is read and compared with the rail: where they differ, the
// question names the first differing positions, and No writes nothing.
//
// Every failure is named in the report. An unread terminal list or a refused lift writes
// nothing, nor does a lift without an answer (which is named as one the coupler may have
// made: the protection is left as it is, as after a sound lift); a mapping list (or table 8)
// without its end mark is not sent; a failed table ends its list; a time-out or send failure
// ends the download. A rail with an undescribed terminal sends table 8 and its lists as
// stored, and a note names the tables that went and the positions.
#include <functional>
#include <string>

#include "online/transfer_run.h"

namespace varnak {

class clsCoupler;

// The dialog's boxes, top to bottom.
enum DownloadBox : int {
    kDownloadCouplerSettings = 0,
    kDownloadProgrammedConfiguration = 1,
    kDownloadTerminalSettings = 2,  // the terminals of the range
    kDownloadUnused1 = 3,           // no function: hidden
    kDownloadUnused2 = 4,
    kDownloadReset = 5,  // the coupler's software reset at the end
};

// A yes/no question to the user: true for yes.
using TransferQuestion = std::function<bool(const std::string& question)>;

// Runs the download on the context's control and station. Without a question a differing
// station is taken as a No.
TransferReport runSettingsDownload(clsCoupler& rail, const TransferChoice& choice,
                                   const TransferProgress& progress,
                                   const TransferQuestion& writeIntoDifferingStation = {});

}  // namespace varnak
