#include "couplercfg/general_settings_editor.h"

#include <filesystem>

#include "couplercfg/coupler_settings_texts.h"
#include "model/app_context.h"
#include "model/clsColTables.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "model/clsTable.h"
#include "model/device_register_model.h"
#include "platform/paths.h"
#include "platform/unexamined_result.h"
#include "settingsforms/settings_messages.h"

namespace varnak {
namespace {

bool isFile(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

int generalNumberCaption(int field) {
    static constexpr int kCaptions[] = {kTxtMasterSlave, kTxtSlaveMaster, kTxtWaitAfterSync0,
                                        kTxtWaitAfterSync1};
    return kCaptions[field];
}

bool GeneralSettingsEditor::open() {
    CouplerTable found = activeCouplerTable(kGeneralSettingsTable);
    online_ = gfVarnakProject()->Online();
    if (found.table && online_)
        lastResult_ = found.table->ConfUpload(0, found.table->TableLen() + 1);
    if (!found.table || (online_ && lastResult_ != 0)) {
        showNoCommunication();
        return false;
    }
    table_ = found.table;
    type_ = found.coupler->InfoName();
    railSave_.bind(found.coupler);
    opened_.take(*table_);
    form_ = openGeneralSettings(registers(), type_);
    return true;
}

GeneralRegisters GeneralSettingsEditor::registers() const {
    GeneralRegisters r{};
    for (int i = kGeneralFirstRegister; i <= kGeneralLastRegister; ++i)
        r[static_cast<size_t>(i)] = table_->ConfRegisterValue(i);
    return r;
}

void GeneralSettingsEditor::fill() {
    fLoadGeneralSettings(form_, registers(), type_);
}

GeneralTabs GeneralSettingsEditor::tabs() const {
    return generalSettingsTabs(type_, varnak().text(kTxtProcessImage));
}

void GeneralSettingsEditor::clickAutoconfiguration(int image, bool ticked) {
    setAutoconfiguration(form_, image, ticked, type_);
}

void GeneralSettingsEditor::restoreDefaults() {
    if (!table_) return;
    const std::filesystem::path file = platform::resolveCaseInsensitive(platform::joinPath(
        {gfVarnakProject()->FullPathResourceFolder(), "Coupler", type_ + ".INI"}));
    // The description loader falls back to the unknown coupler's: such values are no
    // defaults of this coupler.
    std::shared_ptr<clsTable> defaults;
    if (isFile(file)) {
        auto description = std::make_shared<clsCoupler>();
        ignoreLoadResult(description->ConfRetrieveData(file.string()));
        defaults = description->clsColTables()->Item(kGeneralSettingsTable);
    }
    if (!defaults) {
        showUnusableDescription(file.string());
        return;
    }
    for (int i = kGeneralFirstRegister; i <= kGeneralLastRegister; ++i)
        table_->setConfRegisterValue(i, defaults->ConfRegisterValue(i));
    fill();
}

bool GeneralSettingsEditor::ok() {
    if (!table_) return true;
    if (const auto refused = firstRefusedNumber(form_)) {
        showRefusedEntry(varnak().text(generalNumberCaption(*refused)), kNumberFieldRange);
        return false;
    }
    const GeneralRegisters r = fStoreGeneralSettings(form_);
    for (int i = kGeneralFirstRegister; i <= kGeneralLastRegister; ++i)
        table_->setConfRegisterValue(i, r[static_cast<size_t>(i)]);
    lastResult_ =
        sendSettings(*table_, 0, table_->TableLen() + 1, online_, railSave_, AfterFailure::Stop);
    if (lastResult_ == 0) return true;
    // The device may hold part of the values now: the table keeps them, to be saved.
    table_->setValueChanged(true);
    stored_.take(*table_);
    okFailed_ = true;
    return false;
}

void GeneralSettingsEditor::cancel() {
    if (table_) (okFailed_ ? stored_ : opened_).restore(*table_);
}

}  // namespace varnak
