#pragma once
// A direction's mapping list and its place in the coupler's tables: entry i lives in table
// base + i div 255, register i mod 255 (base 10 for inputs, 50 for outputs); register 255
// of each table carries a copy of the next table's register 0. 0xFFFF ends the list.
#include <array>
#include <cstdint>
#include <vector>

#include "mapping/mapping_layout.h"

namespace varnak {

class clsCoupler;

// Slots 0-3570: 14 tables of 255 entries and the last table's copy register.
inline constexpr int32_t kMappingListSlots = 3571;

class MappingList {
  public:
    // Zero-filled: every routine starts from an empty list.
    MappingList() { slots_.fill(0); }
    int32_t& operator[](int32_t index) { return slots_.at(static_cast<size_t>(index)); }
    int32_t operator[](int32_t index) const { return slots_.at(static_cast<size_t>(index)); }

  private:
    std::array<int32_t, kMappingListSlots> slots_;
};

// The first table of a direction's list: 10 or 50.
int32_t mappingListBase(MappingDirection direction);

// Writes the list into the coupler's tables up to its end mark at index end, each entry
// into its own register and, for indexes that start a table, also into the copy register
// 255 of the table before. Later registers and tables keep what they held. Every table
// written is marked initialised, so no lazy load from the project replaces the values.
// The tables must exist (railMappingLayout checks them).
void writeMappingList(clsCoupler& coupler, MappingDirection direction, const MappingList& list,
                      int32_t end);

// What a read of a direction's list came to: the list, or the table whose read from the
// device failed and the control's code.
struct MappingListRead {
    MappingList list;
    int32_t failedTable = 0;
    int32_t result = 0;  // 0: the list was read
};

// Reads the list from the coupler's tables, table by table and register by register, up to
// the first 0xFFFF (later tables are not read). Online each table is first read whole from
// the device. A failed read puts every table of the list back as it was (values and
// whether it was loaded) and ends the read: no part of the list is the device's, none is
// to be decoded. Every table of a list read whole is marked initialised, so no lazy load
// from the project replaces its values.
[[nodiscard]] MappingListRead readMappingList(clsCoupler& coupler, MappingDirection direction,
                                              bool online);

// The list's tables to send to the device, from the first up to the one whose entry
// registers 0-254 hold the end mark; empty when no table holds it (the list has no end).
std::vector<int32_t> mappingTablesToSend(clsCoupler& coupler, MappingDirection direction);

}  // namespace varnak
