#include "app/name_rules.h"

#include <string_view>

#include "model/clsProject.h"
#include "model/project_store.h"

namespace varnak {
namespace {

bool portableFolderName(const std::string& name) {
    constexpr std::string_view refused = ":*?\"'<>|";
    return name.find_first_of(refused) == std::string::npos;
}

}  // namespace

bool validProjectName(const std::string& name) {
    return clsProject::gfValidProjName(name) && portableFolderName(name);
}

bool validRailName(const std::string& name) {
    return clsProject::gfValidRailName(name) && portableFolderName(name);
}

std::string railNameFromInput(const std::string& input) {
    std::string name = trimBlanks(input);
    // Counted in characters, as the user sees them.
    size_t chars = 0, pos = 0;
    while (pos < name.size() && chars < kRailNameLength) {
        unsigned char c = static_cast<unsigned char>(name[pos]);
        size_t len = c < 0x80           ? 1
                     : (c >> 5) == 0x6  ? 2
                     : (c >> 4) == 0xE  ? 3
                     : (c >> 3) == 0x1E ? 4
                                        : 1;
        pos += len;
        ++chars;
    }
    return name.substr(0, std::min(pos, name.size()));
}

}  // namespace varnak
