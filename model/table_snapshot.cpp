#include "model/table_snapshot.h"

#include "model/clsTable.h"

namespace varnak {

void TableSnapshot::take(clsTable& table) {
    // Before the values: reading them loads the table.
    loaded_ = table.bInitDone();
    // Every register: a transfer may reach past TableLen.
    for (int32_t r = 0; r < kRegistersPerTable; ++r)
        values_[static_cast<size_t>(r)] = table.ConfRegisterValue(r);
    changed_ = table.ValueChanged();
}

void TableSnapshot::restore(clsTable& table) const {
    for (int32_t r = 0; r < kRegistersPerTable; ++r)
        table.setConfRegisterValue(r, values_[static_cast<size_t>(r)]);
    table.setValueChanged(changed_);
    table.setbInitDone(loaded_);
}

int32_t uploadOrKeep(clsTable& table, int32_t first, int32_t count) {
    TableSnapshot before;
    before.take(table);
    const int32_t result = table.ConfUpload(first, count);
    if (result != 0) before.restore(table);
    return result;
}

}  // namespace varnak
