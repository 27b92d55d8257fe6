#include "model/string_table.h"

#include <algorithm>

#include "model/text_table_data.h"

namespace varnak {
namespace {

const TextTableEntry* findEntry(int id) {
    const TextTableEntry* begin = kTextTable;
    const TextTableEntry* end = kTextTable + kTextTableSize;
    auto it = std::lower_bound(begin, end, id,
                               [](const TextTableEntry& e, int key) { return e.id < key; });
    return (it != end && it->id == id) ? it : nullptr;
}

}  // namespace

std::string LoadResString(int resourceId) {
    if (resourceId < 0 || resourceId >= 2 * kEnglishBase) return {};
    bool english = resourceId >= kEnglishBase;
    const TextTableEntry* e = findEntry(english ? resourceId - kEnglishBase : resourceId);
    if (!e) return {};
    return english ? e->english : e->german;
}

bool HasResString(int resourceId) {
    if (resourceId < 0 || resourceId >= 2 * kEnglishBase) return false;
    return findEntry(resourceId % kEnglishBase) != nullptr;
}

}  // namespace varnak
