#include "mapping/mapping_list.h"

#include <stdexcept>
#include <string>
#include <utility>

#include "model/clsColTables.h"
#include "model/clsCoupler.h"
#include "model/clsTable.h"
#include "model/device_register_model.h"
#include "model/table_snapshot.h"

namespace varnak {
namespace {

std::shared_ptr<clsTable> listTable(clsCoupler& coupler, int32_t table) {
    auto t = coupler.clsColTables()->Item(table);
    // The callers checked the tables first; a missing one is a broken promise, not input.
    if (!t) throw std::logic_error("mapping table " + std::to_string(table) + " missing");
    return t;
}

void setListRegister(clsCoupler& coupler, int32_t table, int32_t reg, int32_t value) {
    auto t = listTable(coupler, table);
    t->setbInitDone(true);
    t->setConfRegisterValue(reg, value);
}

}  // namespace

int32_t mappingListBase(MappingDirection direction) {
    return direction == MappingDirection::Input ? kProgrammedInputImageMap
                                                : kProgrammedOutputImageMap;
}

void writeMappingList(clsCoupler& coupler, MappingDirection direction, const MappingList& list,
                      int32_t end) {
    const int32_t base = mappingListBase(direction);
    for (int32_t i = 0; i <= end; ++i) {
        const RegisterAddress at = mappingListAddress(base, i);
        // The copy first, as a table-by-table pass writes it; then the entry's own register,
        // which a list ending exactly at a table's start would otherwise leave stale.
        if (at.reg == 0 && i > 0) setListRegister(coupler, at.table - 1, kLastRegister, list[i]);
        if (at.table < base + kMappingListTables)
            setListRegister(coupler, at.table, at.reg, list[i]);
    }
}

MappingListRead readMappingList(clsCoupler& coupler, MappingDirection direction, bool online) {
    MappingListRead read;
    const int32_t base = mappingListBase(direction);
    std::vector<std::pair<std::shared_ptr<clsTable>, TableSnapshot>> before;
    for (int32_t t = 0; t < kMappingListTables; ++t) {
        auto table = listTable(coupler, base + t);
        if (online) {
            before.emplace_back(table, TableSnapshot{});
            before.back().second.take(*table);
            read.result = table->ConfUpload(0, table->TableLen() + 1);
            if (read.result != 0) {
                for (const auto& [each, snapshot] : before) snapshot.restore(*each);
                read.failedTable = base + t;
                return read;
            }
        }
        bool ended = false;
        for (int32_t r = 0; r <= kLastRegister && !ended; ++r) {
            const int32_t value = table->ConfRegisterValue(r);
            read.list[t * kMappingEntriesPerTable + r] = value;
            ended = value == kMappingListEnd;
        }
        table->setbInitDone(true);
        if (ended) return read;
    }
    return read;
}

std::vector<int32_t> mappingTablesToSend(clsCoupler& coupler, MappingDirection direction) {
    const int32_t base = mappingListBase(direction);
    std::vector<int32_t> tables;
    for (int32_t t = base; t < base + kMappingListTables; ++t) {
        auto table = coupler.clsColTables()->Item(t);
        if (!table) return {};
        tables.push_back(t);
        for (int32_t r = 0; r < kMappingEntriesPerTable; ++r)
            if (table->ConfRegisterValue(r) == kMappingListEnd) return tables;
    }
    return {};
}

}  // namespace varnak
