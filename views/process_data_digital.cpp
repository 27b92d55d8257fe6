#include "views/process_data_digital.h"

#include "model/app_context.h"
#include "model/basLookup.h"
#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "model/clsTable.h"
#include "model/device_register_model.h"
#include "windowkit/dialog_support.h"

namespace varnak {
namespace {

constexpr int32_t kPassRegisters = 4;
constexpr const char* kScopeMessage =
    "Sorry, scope function is implemented for only one QP Module (without QP-Link)";

}  // namespace

DigitalModule digitalModuleOf(const std::string& name) {
    DigitalModule m;
    const std::string kind = name.size() >= 4 ? name.substr(2, 2) : std::string();
    auto outputsFrom = [&m](int row) {
        for (int r = row; r < kDigitalRows; ++r) m.outputBit[static_cast<size_t>(r)] = r;
    };
    if (kind == "10") {
        m.inputs = 8;
    } else if (kind == "20") {
        m.outputs = 8;
        outputsFrom(0);
    } else if (kind == "23") {
        m.inputs = 4;
        m.outputs = 4;
        outputsFrom(4);
    } else if (kind == "24") {
        m.inputs = 8;
        m.outputs = 8;
        outputsFrom(0);
    }
    return m;
}

DigitalProcessData::OpenResult DigitalProcessData::open() {
    if (!gfVarnakProject()->Online()) return OpenResult::Offline;
    AppContext& c = varnak();
    std::shared_ptr<clsCoupler> coupler;
    if (!gfGetActiveCoupler(coupler) || !coupler) {
        showNoCommunication();
        return OpenResult::NoCoupler;
    }
    if (coupler->clsColTerminals()->Count() > 1) {
        c.ui->messageBox(kScopeMessage, vbCritical, "");
        return OpenResult::MoreThanOneModule;
    }
    input_ = coupler->clsColTables()->Item(InputImageTable(0));
    output_ = coupler->clsColTables()->Item(OutputImageTable(0));
    module_ = digitalModuleOf(coupler->InfoName());
    return OpenResult::Opened;
}

std::optional<int32_t> DigitalProcessData::readWord(clsTable& table, int32_t& result) {
    result = table.ConfUpload(0, kPassRegisters);
    if (result != 0) return std::nullopt;
    return table.ConfRegisterValue(0) & 0xFFFF;
}

void DigitalProcessData::pass() {
    health_.beginPass();
    int32_t result = 0;
    auto update = [&](const std::shared_ptr<clsTable>& table, std::optional<int32_t>& shown) {
        if (!table) return;
        if (const auto word = readWord(*table, result)) shown = word;
        health_.take(result);
    };
    if (module_.inputs > 0) update(input_, inputWord_);
    if (module_.outputs > 0) update(output_, outputWord_);
    health_.endPass();
}

bool DigitalProcessData::force(int bit, bool on) {
    if (!output_ || bit < 0 || bit > 15) return false;
    int32_t result = 0;
    const auto read = readWord(*output_, result);
    if (!read) return false;
    outputWord_ = read;
    const int32_t before = output_->ConfRegisterValue(0);
    const int32_t w = on ? (before | (1 << bit)) : (before & ~(1 << bit));
    output_->setConfRegisterValue(0, w & 0xFFFF);
    if (output_->ConfDownload(0, 1) == 0) return true;
    // The table shows the device's word, not the one that did not get there.
    output_->setConfRegisterValue(0, before);
    return false;
}

}  // namespace varnak
