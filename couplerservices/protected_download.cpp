#include "couplerservices/protected_download.h"

#include "comctl/QZcomOCX.h"
#include "model/app_context.h"
#include "model/clsTable.h"
#include "model/register_device.h"

namespace varnak {

int32_t couplerWriteProtection(bool set) {
    AppContext& c = varnak();
    return c.VarnakComOCX ? c.VarnakComOCX->QZxWriteProtection(c.MultiPointAdr, set)
                          : kNoRegisterDeviceResult;
}

int32_t writeUnderLiftedProtection(clsTable& table, int32_t first, int32_t count,
                                   AfterFailedLift afterFailedLift) {
    const int32_t lifted = couplerWriteProtection(false);
    if (lifted != 0 && afterFailedLift == AfterFailedLift::Stop) return lifted;
    const int32_t written = table.ConfDownload(first, count);
    const int32_t set = couplerWriteProtection(true);
    for (int32_t code : {lifted, written, set})
        if (code != 0) return code;
    return 0;
}

}  // namespace varnak
