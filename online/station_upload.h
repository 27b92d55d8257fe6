#pragma once
// The station upload without its window: the connected station's registers read into the
// active rail in the dialog's order (coupler tables 0, 100, 120-122; table 8 and the mapping
// lists 10-23 and 50-63 up to the table holding their end mark, each list followed by the
// recalculation of the terminals' mapping texts; the user registers 32-62 of the channels of
// the terminals in the range).
//
// Every failed read is named in the report; a failed list table ends its list, and a
// time-out or send failure ends the upload. On a fully described rail a recalculation
// refused by the mapping's limits is named too and ends the mapping's part (the rail is then
// not saved either).
//
// A read the device refuses (it has no such table) spoils nothing else: the table stays as
// it was and is noted, the upload goes on. Noted too are the terminals the program has no
// description for, with the channels read of them (only the fallback description's); while
// the rail holds one, the mapping lists are read whole and then distributed to the terminals
// in front of the first such terminal only, both lists or neither: a refused recalculation
// is noted, not failed, and leaves the texts as they were.
#include "online/transfer_run.h"

namespace varnak {

class clsCoupler;

// The dialog's boxes, top to bottom.
enum UploadBox : int {
    kUploadCouplerSettings = 0,
    kUploadProgrammedConfiguration = 1,
    kUploadTerminalConfiguration = 2,  // the terminals of the range
    kUploadUnused1 = 3,                // no caption and no reading: hidden
    kUploadUnused2 = 4,
    kUploadTotal = 5,  // ticks every box
};

// Reads the station through the rail's tables (the context's device and station).
TransferReport runStationUpload(clsCoupler& rail, const TransferChoice& choice,
                                const TransferProgress& progress);

}  // namespace varnak
