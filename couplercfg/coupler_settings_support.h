#pragma once
// What the coupler settings dialogs (general settings, controller cycle time and flags,
// link terminals) share without their windows: the active coupler's table, the check of
// their number fields, the write of a table under lifted write protection with its error
// message and the re-read of a table (snapshots of a table: model/table_snapshot.h).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "couplerservices/protected_download.h"
#include "model/table_snapshot.h"

namespace varnak {

class OfflineRailSave;
class clsCoupler;
class clsTable;

// The active coupler and one of its tables; the table is null when there is no active
// coupler or it has no such table.
struct CouplerTable {
    std::shared_ptr<clsCoupler> coupler;
    std::shared_ptr<clsTable> table;
};
CouplerTable activeCouplerTable(int32_t tableNr);

// The range a number field takes, as its refusal names it.
inline constexpr const char* kNumberFieldRange = "0 .. 65535";
// A number field's text as a register word: a whole number 0..65535, blanks around it
// allowed; nullopt for any other text.
std::optional<int32_t> numberFieldValue(std::string_view text);

// "Error " and the code: OK button only, the program's title.
void showTransferError(int32_t code);
// What OK does with the values the dialog stored into the table: offline the rail is saved;
// online the registers are written under lifted protection and a failure is told. 0, or
// the first failing step's code.
[[nodiscard]] int32_t sendSettings(clsTable& table, int32_t first, int32_t count, bool online,
                                   OfflineRailSave& railSave, AfterFailure afterFailure);

// Reads the whole table from the device again; after a failure (which may have filled
// part of it) the table is as it was. The control's result code.
[[nodiscard]] int32_t uploadWholeTable(clsTable& table);

}  // namespace varnak
