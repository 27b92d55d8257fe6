#include "app/unsaved_rail.h"

#include "app/shell_texts.h"
#include "mapping/mapping_texts.h"
#include "model/app_context.h"
#include "model/clsColCouplers.h"
#include "model/clsProject.h"
#include "model/project_store.h"

namespace varnak {
namespace {

bool userDropsUnsavedRail(int32_t result, const clsColCouplers& couplers,
                          const std::string& title) {
    AppContext& c = varnak();
    const std::string question = withValues(c.text(kTxtDropUnsavedRail), {couplers.RailName()});
    // No is the default: Enter must not throw changes away.
    return c.ui->messageBox(storeResultMessage(result) + "\r\n\r\n" + question,
                            vbYesNo | vbExclamation | vbDefaultButton2, title) == vbYes;
}

}  // namespace

std::optional<int32_t> takeRoadDroppingLoadedRail(const std::function<int32_t()>& road,
                                                  const std::string& title) {
    auto couplers = gfVarnakProject()->clsColCouplers();
    const uint64_t failedBefore = couplers->FailedSaves();
    const int32_t result = road();
    if (result == kStoreOk || couplers->FailedSaves() == failedBefore || couplers->Count() == 0)
        return result;
    if (!userDropsUnsavedRail(result, *couplers, title)) return std::nullopt;
    couplers->fDropColCouplers();
    return road();
}

}  // namespace varnak
