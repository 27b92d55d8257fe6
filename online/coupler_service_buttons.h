#pragma once
// The six one-click services of the coupler services dialog: the control's request behind
// each button and the text its result label shows. A label states only what the coupler
// answered: a request without an answer shows "Nicht Ok", never a state or a number.
#include <cstdint>
#include <string>

namespace varnak {

inline constexpr int kCouplerServiceButtons = 6;

enum CouplerServiceButton : int {
    kSetWriteProtection = 0,
    kLiftWriteProtection = 1,
    kSoftwareReset = 2,
    kChecksum = 3,
    kTerminalBusReset = 4,
    kFactorySetting = 5,
};

// The label text of a service's result code (checksum: the value the request gave).
std::string couplerServiceLabel(int button, int32_t result, int32_t checksum);
// Runs a button's service on the context's control and station; the label text.
std::string runCouplerServiceButton(int button);

}  // namespace varnak
