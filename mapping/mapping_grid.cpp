#include "mapping/mapping_grid.h"

#include <charconv>

namespace varnak {
namespace {

int32_t number(const std::string& text) {
    int32_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

bool inside(const MappingGrid& grid, int row, int column) {
    return row >= 0 && static_cast<size_t>(row) < grid.rows.size() && column >= 0 &&
           column < kMappingColumnCount;
}

}  // namespace

MappingRowFlags MappingGrid::flags(int row) const {
    if (!inside(*this, row, 0)) return {};
    const Row& r = rows[static_cast<size_t>(row)];
    return {r[kMappingColumnHidden] == "True", number(r[kMappingColumnDType]),
            number(r[kMappingColumnMapData])};
}

const std::string& MappingGrid::cell(int row, int column) const {
    static const std::string empty;
    return inside(*this, row, column) ? rows[static_cast<size_t>(row)][column] : empty;
}

void MappingGrid::setCell(int row, int column, std::string text) {
    if (inside(*this, row, column)) rows[static_cast<size_t>(row)][column] = std::move(text);
}

std::vector<std::vector<std::string>> MappingGrid::texts(int lastColumn) const {
    std::vector<std::vector<std::string>> out;
    const int last = std::min(lastColumn, kMappingColumnLast);
    for (const Row& r : rows) out.emplace_back(r.begin(), r.begin() + last + 1);
    return out;
}

}  // namespace varnak
