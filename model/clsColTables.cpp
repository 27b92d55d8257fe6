#include "model/clsColTables.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace varnak {

std::vector<clsColTables::Entry>::const_iterator clsColTables::find(int32_t lTableNr) const {
    return std::find_if(tables_.begin(), tables_.end(),
                        [&](const Entry& e) { return e.first == lTableNr; });
}

std::shared_ptr<clsTable> clsColTables::Add(int32_t lTableNr) {
    if (find(lTableNr) != tables_.end())
        throw std::invalid_argument("table " + std::to_string(lTableNr) + " already present");
    auto table = std::make_shared<clsTable>();
    tables_.emplace_back(lTableNr, table);
    return table;
}

std::shared_ptr<clsTable> clsColTables::Item(int32_t lTableNr) const {
    auto at = find(lTableNr);
    return at == tables_.end() ? nullptr : at->second;
}

void clsColTables::Remove(int32_t lTableNr) {
    auto at = find(lTableNr);
    if (at == tables_.end())
        throw std::invalid_argument("table " + std::to_string(lTableNr) + " not present");
    tables_.erase(at);
}

}  // namespace varnak
