#include "fieldbus/coupler_settings_session.h"

#include "couplerservices/protected_download.h"
#include "model/app_context.h"
#include "model/basLookup.h"
#include "model/clsColTables.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "model/clsTable.h"
#include "model/device_register_model.h"
#include "settingsforms/description_defaults.h"
#include "settingsforms/settings_messages.h"
#include "windowkit/shared_texts.h"

namespace varnak {

CouplerSettingsSession::OpenResult CouplerSettingsSession::open(
    const std::vector<BoundTable>& tables) {
    std::shared_ptr<clsCoupler> rail;
    if (!gfGetActiveCoupler(rail) || !rail) {
        showNoCommunication();
        return OpenResult::NoCommunication;
    }
    rail_ = rail;
    online_ = gfVarnakProject()->Online();
    bindRail(rail);
    tables_.clear();
    uploads_.clear();
    settings_ = rail->clsColTables()->Item(kFieldbusSettingsTable);
    if (!settings_) {
        AppContext& c = varnak();
        c.ui->messageBox(c.text(kTxtUseRegisterDialog), vbInformation, "");
        return OpenResult::NoDialog;
    }
    for (const BoundTable& bound : tables) {
        std::shared_ptr<clsTable> t = rail->clsColTables()->Item(bound.table);
        if (!t) continue;
        tables_[bound.table] = t;
        if (!online_) continue;
        lastResult_ = t->ConfUpload(0, t->TableLen() + 1);
        uploads_[bound.table] = lastResult_;
        if (lastResult_ != 0 && bound.mustRead) {
            showNoCommunication();
            return OpenResult::NoCommunication;
        }
    }
    return OpenResult::Opened;
}

std::shared_ptr<clsTable> CouplerSettingsSession::boundTable(int32_t table) const {
    auto it = tables_.find(table);
    return it == tables_.end() ? nullptr : it->second;
}

int32_t CouplerSettingsSession::uploadResult(int32_t table) const {
    auto it = uploads_.find(table);
    return it == uploads_.end() ? 0 : it->second;
}

const std::string& CouplerSettingsSession::type() const {
    return rail_->InfoName();
}

std::string CouplerSettingsSession::title(const std::string& caption) const {
    return caption + (online_ ? " (Online)" : " (Offline)");
}

bool CouplerSettingsSession::loadDefaults() {
    const std::string file = descriptionPath("Coupler", type());
    return takeDefaults(file, couplerDescriptionTable(file, kFieldbusSettingsTable));
}

void CouplerSettingsSession::apply(const RegisterImage& image) {
    write(image, *settings_, 0, kLastRegister);
}

int32_t CouplerSettingsSession::transfer() {
    if (!gfVarnakProject()->Online()) return 0;
    // Protection is set again whatever the steps before answered; the first failure counts.
    const int32_t first =
        writeUnderLiftedProtection(*settings_, 0, settings_->TableLen() + 1, AfterFailure::GoOn);
    lastResult_ = first;
    if (first != 0) showTransferFailed(first);
    return first;
}

}  // namespace varnak
