#include "online/coupler_service_buttons.h"

#include <array>

#include "comctl/QZcomOCX.h"
#include "model/app_context.h"
#include "model/register_device.h"
#include "online/online_texts.h"

namespace varnak {
namespace {

// The control refused to confirm the write protection: the coupler answered, and the
// protection stands as it was.
constexpr int32_t kProtectionRefused = -2;

struct ButtonLabels {
    int okText;       // 0: the checksum as a number
    int refusedText;  // 0: a refusal is "Nicht Ok" too
};

constexpr std::array<ButtonLabels, kCouplerServiceButtons> kLabels{{
    {kTxtProtectionSet, kTxtProtectionLifted},
    {kTxtProtectionLifted, kTxtProtectionSet},
    {kTxtResetOk, 0},
    {0, 0},
    {kTxtServiceOk, 0},
    {kTxtServiceOk, 0},
}};

int32_t runRequest(QZcomOCX& control, int button, int32_t station, int32_t& checksum) {
    switch (button) {
        case kSetWriteProtection:
            return control.QZxWriteProtection(station, true);
        case kLiftWriteProtection:
            return control.QZxWriteProtection(station, false);
        case kSoftwareReset:
            return control.QZxResetSoftwareReq(station);
        case kChecksum:
            return control.QZxChecksumReq(station, checksum);
        case kTerminalBusReset:
            return control.QZxResetTerminalBusReq(station);
        default:
            return control.QZxFactorySettingReq(station);
    }
}

}  // namespace

std::string couplerServiceLabel(int button, int32_t result, int32_t checksum) {
    AppContext& c = varnak();
    if (button < 0 || button >= kCouplerServiceButtons) return "";
    const ButtonLabels& labels = kLabels[static_cast<size_t>(button)];
    if (result == 0) return labels.okText ? c.text(labels.okText) : std::to_string(checksum);
    if (result == kProtectionRefused && labels.refusedText) return c.text(labels.refusedText);
    return c.text(kTxtServiceNotOk);
}

std::string runCouplerServiceButton(int button) {
    if (button < 0 || button >= kCouplerServiceButtons) return "";
    AppContext& c = varnak();
    int32_t checksum = 0;
    const int32_t result = c.VarnakComOCX
                               ? runRequest(*c.VarnakComOCX, button, c.MultiPointAdr, checksum)
                               : kNoRegisterDeviceResult;
    return couplerServiceLabel(button, result, checksum);
}

}  // namespace varnak
