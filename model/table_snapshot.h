#pragma once
// A register table as it was, to be put back when what changed it did not go through: its
// values, its change flag and whether it was loaded from its file.
#include <array>
#include <cstdint>

#include "model/device_register_model.h"

namespace varnak {

class clsTable;

class TableSnapshot {
  public:
    // Takes the table's loaded values (a table not loaded yet is loaded first).
    void take(clsTable& table);
    // Puts the values, the change flag and the loaded flag back.
    void restore(clsTable& table) const;

  private:
    std::array<int32_t, kRegistersPerTable> values_{};
    bool changed_ = false;
    bool loaded_ = false;
};

// Reads registers first .. first + count - 1 of the table from the device. A read that
// fails leaves the table as it was, although its telegrams before the failing one filled
// their part: the table never holds a mixture of the device's values and its own. The
// control's result code.
[[nodiscard]] int32_t uploadOrKeep(clsTable& table, int32_t first, int32_t count);

}  // namespace varnak
