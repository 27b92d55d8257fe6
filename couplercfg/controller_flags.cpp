#include "couplercfg/controller_flags.h"

#include "couplercfg/coupler_settings_support.h"
#include "couplercfg/cycle_time_measurement.h"
#include "model/clsProject.h"
#include "model/clsTable.h"
#include "model/device_register_model.h"
#include "settingsforms/settings_messages.h"

namespace varnak {
namespace {

// The bit of each box.
constexpr std::array<int, kControllerFlagBoxes> kBoxBits{0, 1, 4, 5, 6, 7, 8, 9, 11};
constexpr int kOrderShift = 2;
constexpr int32_t kOrderMask = 3 << kOrderShift;
constexpr int kNoOrder = 3;

}  // namespace

ControllerFlags loadControllerFlags(int32_t value, std::optional<int> previousOrder) {
    ControllerFlags flags;
    for (int b = 0; b < kControllerFlagBoxes; ++b)
        flags.boxes[static_cast<size_t>(b)] =
            ((value >> kBoxBits[static_cast<size_t>(b)]) & 1) != 0;
    const int order = static_cast<int>((value & kOrderMask) >> kOrderShift);
    flags.updateOrder = order == kNoOrder ? previousOrder : std::optional<int>(order);
    return flags;
}

int32_t storeControllerFlags(const ControllerFlags& flags, int32_t value) {
    for (int b = 0; b < kControllerFlagBoxes; ++b) {
        if (b == kCycleTimeSetBox) continue;
        const int32_t bit = 1 << kBoxBits[static_cast<size_t>(b)];
        value = flags.boxes[static_cast<size_t>(b)] ? (value | bit) : (value & ~bit);
    }
    if (flags.updateOrder) value = (value & ~kOrderMask) | (*flags.updateOrder << kOrderShift);
    return value;
}

bool ControllerFlagsEditor::open() {
    CouplerTable found = activeCouplerTable(kControllerSettingsTable);
    online_ = gfVarnakProject()->Online();
    if (found.table && online_) lastResult_ = found.table->ConfUpload(kControllerFlagsRegister, 1);
    if (!found.table || (online_ && lastResult_ != 0)) {
        showNoCommunication();
        return false;
    }
    table_ = found.table;
    railSave_.bind(found.coupler);
    load();
    return true;
}

void ControllerFlagsEditor::load() {
    flags_ = loadControllerFlags(table_->ConfRegisterValue(kControllerFlagsRegister),
                                 flags_.updateOrder);
}

bool ControllerFlagsEditor::ok() {
    if (!table_) return true;
    table_->setConfRegisterValue(
        kControllerFlagsRegister,
        storeControllerFlags(flags_, table_->ConfRegisterValue(kControllerFlagsRegister)));
    lastResult_ =
        sendSettings(*table_, kControllerFlagsRegister, 1, online_, railSave_, AfterFailure::GoOn);
    return lastResult_ == 0;
}

void ControllerFlagsEditor::refresh() {
    if (!table_) return;
    if (online_) {
        lastResult_ = uploadWholeTable(*table_);
        if (lastResult_ != 0) return;
    }
    load();
}

}  // namespace varnak
