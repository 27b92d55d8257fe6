#include "app/name_rules.h"

#include <cstdio>
#include <string_view>

#include "app/menu_texts.h"
#include "model/app_context.h"
#include "model/clsProject.h"
#include "model/project_store.h"

namespace varnak {
namespace {

// Beyond the project object's characters: those no file system of the users would take.
constexpr std::string_view kNotPortable = ":*?\"'<>|";

// The character as a message names it: quoted when it shows, by its code when not.
std::string shownCharacter(char c) {
    const auto code = static_cast<unsigned char>(c);
    if (code < 0x20 || code == 0x7F) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02X", code);
        return hex;
    }
    return c == '\'' ? std::string("\"'\"") : "'" + std::string(1, c) + "'";
}

std::string namingCharacter(int textId, char c) {
    std::string text = varnak().text(textId);
    const size_t at = text.find("%1");
    if (at != std::string::npos) text.replace(at, 2, shownCharacter(c));
    return text;
}

}  // namespace

bool validProjectName(const std::string& name) {
    return clsProject::gfValidProjName(name) && refusedNameCharacter(name) == 0;
}

bool validRailName(const std::string& name) {
    return clsProject::gfValidRailName(name) && refusedNameCharacter(name) == 0;
}

char refusedNameCharacter(const std::string& name) {
    for (char c : name) {
        const auto code = static_cast<unsigned char>(c);
        if (c == '.' || c == '/' || c == '\\' || code < 0x20 || code == 0x7F ||
            kNotPortable.find(c) != std::string_view::npos)
            return c;
    }
    return 0;
}

std::string railNameRefusal(const std::string& name) {
    const char c = refusedNameCharacter(name);
    return c ? namingCharacter(kTxtRailNameHoldsCharacter, c) : varnak().text(kTxtRailNameEmpty);
}

std::string projectNameRetry(const std::string& name) {
    const char c = refusedNameCharacter(name);
    return c && c != '.' ? namingCharacter(kTxtTryWithoutCharacter, c)
                         : varnak().text(kTxtTryWithoutDot);
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
    // A cut that ends in a blank would leave it in the folder's name but not in the name
    // the rail file gives back.
    return trimBlanks(name.substr(0, std::min(pos, name.size())));
}

}  // namespace varnak
