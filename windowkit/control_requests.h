#pragma once
// The control's register requests on the current context's station, for the windows that
// address a device directly instead of through a register table (the process-data view,
// the script runs). Without a control they fail as a table's transfer does.
#include <cstdint>
#include <span>

#include "comctl/QZcomOCX.h"
#include "model/app_context.h"
#include "model/register_device.h"

namespace varnak {

// The request's answer never came (a time-out) or the request could not be sent whole: the
// device may or may not have done what it asked, and the next request would likely wait
// as long.
inline bool unansweredRequest(int32_t code) {
    return code == qzcom::ComErrTimeout1 || code == qzcom::ComErrTimeout2 ||
           code == qzcom::ComErrSendTel;
}

[[nodiscard]] inline int32_t controlReadRegisters(int32_t railPosition, int32_t table,
                                                  int32_t first, int32_t count,
                                                  std::span<int32_t> values) {
    AppContext& c = varnak();
    if (!c.VarnakComOCX) return kNoRegisterDeviceResult;
    return c.VarnakComOCX->QZxRegSyncReadReq(railPosition, table, first, count, c.MultiPointAdr,
                                             values);
}

[[nodiscard]] inline int32_t controlWriteRegisters(int32_t railPosition, int32_t table,
                                                   int32_t first, int32_t count,
                                                   std::span<const int32_t> values) {
    AppContext& c = varnak();
    if (!c.VarnakComOCX) return kNoRegisterDeviceResult;
    return c.VarnakComOCX->QZxRegSyncWriteReq(railPosition, table, first, count, c.MultiPointAdr,
                                              values);
}

// Sets (true) or lifts (false) the coupler's write protection.
[[nodiscard]] inline int32_t controlWriteProtection(bool set) {
    AppContext& c = varnak();
    if (!c.VarnakComOCX) return kNoRegisterDeviceResult;
    return c.VarnakComOCX->QZxWriteProtection(c.MultiPointAdr, set);
}

[[nodiscard]] inline int32_t controlSoftwareReset() {
    AppContext& c = varnak();
    if (!c.VarnakComOCX) return kNoRegisterDeviceResult;
    return c.VarnakComOCX->QZxResetSoftwareReq(c.MultiPointAdr);
}

}  // namespace varnak
