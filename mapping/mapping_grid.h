#pragma once
// The rows of a mapping grid, one per logical channel of the rail in list order, each of 21
// text cells: what both mapping dialogs show and the mapping report prints.
//
//   0 position (a terminal's first row)   1 Hidden   2 DType   3 MapData   4 type name
//   5 channel (from 1)   6 image   7 control/status byte   8-20 further entries
//
// Hidden is "True" when the channel has no data in this direction; DType is 8 for a
// byte-oriented channel (entries in columns 7, 8, ...) and 1 for a bit-oriented one
// (entries in columns 8, 9, ...); MapData is the channel's number of entries.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace varnak {

inline constexpr int kMappingColumnCount = 21;
inline constexpr int kMappingColumnNr = 0;
inline constexpr int kMappingColumnHidden = 1;
inline constexpr int kMappingColumnDType = 2;
inline constexpr int kMappingColumnMapData = 3;
inline constexpr int kMappingColumnType = 4;
inline constexpr int kMappingColumnChannel = 5;
inline constexpr int kMappingColumnImage = 6;
inline constexpr int kMappingColumnCS = 7;
inline constexpr int kMappingColumnRef0 = 8;
inline constexpr int kMappingColumnLast = 20;

inline constexpr int32_t kDTypeBit = 1;
inline constexpr int32_t kDTypeByte = 8;

// What the editor's key and cell checks need to know of a row.
struct MappingRowFlags {
    bool hidden = false;
    int32_t dtype = 0;
    int32_t mapData = 0;
};

// The column of entry k of a row.
constexpr int mappingEntryColumn(bool byteOriented, int32_t k) {
    return (byteOriented ? kMappingColumnCS : kMappingColumnRef0) + static_cast<int>(k);
}

struct MappingGrid {
    using Row = std::array<std::string, kMappingColumnCount>;
    std::vector<Row> rows;

    // The flags of a row (an unknown row: no flags).
    MappingRowFlags flags(int row) const;
    // The cell's text; empty outside the grid.
    const std::string& cell(int row, int column) const;
    // Sets a cell inside the grid; outside it nothing happens.
    void setCell(int row, int column, std::string text);
    // Rows as lists of cells: columns 0 to lastColumn.
    std::vector<std::vector<std::string>> texts(int lastColumn) const;
    bool operator==(const MappingGrid&) const = default;
};

}  // namespace varnak
