#include "windowkit/offline_rail_save.h"

#include "model/app_context.h"
#include "model/clsColCouplers.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "model/project_store.h"
#include "windowkit/shared_texts.h"

namespace varnak {

std::shared_ptr<clsCoupler> OfflineRailSave::projectRail() const {
    std::shared_ptr<clsCoupler> rail = rail_.lock();
    auto project = gfVarnakProject();
    if (!rail || project->Online()) return nullptr;
    // A rail dropped meanwhile (another rail or project opened) was saved when it went.
    if (project->clsColCouplers()->ItemID(rail->ConfSymbolicID()) != rail) return nullptr;
    return rail;
}

void OfflineRailSave::changed() {
    if (projectRail()) changed_ = true;
}

int32_t OfflineRailSave::save() {
    if (!changed_) return kStoreOk;
    changed_ = false;
    std::shared_ptr<clsCoupler> rail = projectRail();
    if (!rail) return kStoreOk;
    const int32_t result = rail->ConfSaveData();
    if (result != kStoreOk) {
        AppContext& c = varnak();
        c.ui->messageBox(storeResultMessage(result), vbCritical, kProgramTitle);
    }
    return result;
}

}  // namespace varnak
