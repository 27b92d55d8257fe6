#pragma once
// Writes to the coupler's configuration tables go between lifting and setting its write
// protection; the settings dialogs share the bracket.
#include <cstdint>
#include <string>

namespace varnak {

class clsTable;

// Sets (true) or lifts (false) the coupler's write protection on the context's control and
// station: the control's result, kNoRegisterDeviceResult without a control.
[[nodiscard]] int32_t couplerWriteProtection(bool set);

// A lift that got no answer (a time-out or a send failure) may have gone through: the
// coupler may have lifted its protection all the same.
bool liftOutcomeUnknown(int32_t liftResult);
// What the windows that leave the protection lifted say of such a lift, after which they
// wrote nothing: that nobody knows whether it was lifted, and the code.
std::string liftUnknownText(int32_t liftResult);

// What follows a step of the bracket that failed.
enum class AfterFailure {
    Stop,  // no later step is made: a failed write leaves the protection lifted
    GoOn,  // the write and the setting are still tried
};
// Lifts the coupler's write protection, writes registers first .. first + count - 1 of
// the table and sets the protection again. Returns 0 or the first failing step's code.
[[nodiscard]] int32_t writeUnderLiftedProtection(clsTable& table, int32_t first, int32_t count,
                                                 AfterFailure afterFailure);

}  // namespace varnak
