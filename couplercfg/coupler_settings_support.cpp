#include "couplercfg/coupler_settings_support.h"

#include <charconv>

#include "model/app_context.h"
#include "model/basLookup.h"
#include "model/clsColTables.h"
#include "model/clsCoupler.h"
#include "model/clsTable.h"
#include "model/text_util.h"
#include "platform/unexamined_result.h"
#include "windowkit/offline_rail_save.h"
#include "windowkit/shared_texts.h"

namespace varnak {
namespace {

constexpr int32_t kLargestWord = 65535;

}  // namespace

CouplerTable activeCouplerTable(int32_t tableNr) {
    CouplerTable found;
    if (!gfGetActiveCoupler(found.coupler) || !found.coupler) return {};
    found.table = found.coupler->clsColTables()->Item(tableNr);
    return found;
}

std::optional<int32_t> numberFieldValue(std::string_view text) {
    const std::string_view digits = trimBlankView(text);
    if (digits.empty() || digits.size() > 5) return std::nullopt;
    int32_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    // from_chars takes a leading "-"; a register word has none.
    if (error != std::errc{} || end != digits.data() + digits.size() || digits[0] == '-' ||
        value > kLargestWord)
        return std::nullopt;
    return value;
}

void showTransferError(int32_t code) {
    varnak().ui->messageBox("Error " + std::to_string(code), vbOKOnly, kProgramTitle);
}

int32_t sendSettings(clsTable& table, int32_t first, int32_t count, bool online,
                     OfflineRailSave& railSave, AfterFailure afterFailure) {
    if (!online) {
        railSave.changed();
        failureAlreadyShown(railSave.save());
        return 0;
    }
    const int32_t result = writeUnderLiftedProtection(table, first, count, afterFailure);
    if (result != 0) showTransferError(result);
    return result;
}

int32_t uploadWholeTable(clsTable& table) {
    return uploadOrKeep(table, 0, table.TableLen() + 1);
}

}  // namespace varnak
