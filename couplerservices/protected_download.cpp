#include "couplerservices/protected_download.h"

#include "comctl/QZcomOCX.h"
#include "model/app_context.h"
#include "model/clsTable.h"
#include "model/register_device.h"
#include "windowkit/control_requests.h"

namespace varnak {
namespace {

constexpr int kTxtLiftUnknown = 1930;  // followed by the code

}  // namespace

int32_t couplerWriteProtection(bool set) {
    AppContext& c = varnak();
    return c.VarnakComOCX ? c.VarnakComOCX->QZxWriteProtection(c.MultiPointAdr, set)
                          : kNoRegisterDeviceResult;
}

bool liftOutcomeUnknown(int32_t liftResult) {
    return unansweredRequest(liftResult);
}

std::string liftUnknownText(int32_t liftResult) {
    return varnak().text(kTxtLiftUnknown) + std::to_string(liftResult);
}

int32_t writeUnderLiftedProtection(clsTable& table, int32_t first, int32_t count,
                                   AfterFailure afterFailure) {
    const bool stop = afterFailure == AfterFailure::Stop;
    const int32_t lifted = couplerWriteProtection(false);
    if (lifted != 0 && stop) return lifted;
    const int32_t written = table.ConfDownload(first, count);
    if (written != 0 && stop) return written;
    const int32_t set = couplerWriteProtection(true);
    for (int32_t code : {lifted, written, set})
        if (code != 0) return code;
    return 0;
}

}  // namespace varnak
