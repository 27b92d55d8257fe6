#pragma once
// Writes to the coupler's configuration tables go between lifting and setting its write
// protection; the settings dialogs share the bracket.
#include <cstdint>

namespace varnak {

class clsTable;

// Sets (true) or lifts (false) the coupler's write protection on the context's control and
// station: the control's result, kNoRegisterDeviceResult without a control.
int32_t couplerWriteProtection(bool set);

// What follows a lift of the write protection that failed.
enum class AfterFailedLift {
    Stop,      // nothing more is sent
    WriteAll,  // the write and the setting are still tried
};
// Lifts the coupler's write protection, writes registers first .. first + count - 1 of
// the table and sets the protection again; after a sound lift the setting is always
// tried. Returns 0 or the first failing step's code.
int32_t writeUnderLiftedProtection(clsTable& table, int32_t first, int32_t count,
                                   AfterFailedLift afterFailedLift);

}  // namespace varnak
