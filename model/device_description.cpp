#include "model/device_description.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "model/app_context.h"
#include "model/clsProject.h"
#include "model/clsTable.h"
#include "model/device_register_model.h"
#include "model/project_store.h"
#include "model/text_util.h"
#include "platform/ini_file.h"
#include "platform/paths.h"

namespace fs = std::filesystem;

namespace varnak {

bool usableDescription(const std::string& file) {
    std::error_code ec;
    return fs::is_regular_file(file, ec) && !readKeyTextOrEmpty(file, "Common", "Name").empty();
}

DescriptionState descriptionState(const std::string& file) {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) return DescriptionState::Missing;
    return usableDescription(file) ? DescriptionState::Usable : DescriptionState::Refused;
}

namespace {

constexpr const char* kChannelDefaultsSection = "RegValue_Table0";

bool endsWithLineEnd(const std::string& file) {
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    if (!in || in.tellg() <= 0) return true;  // an empty file is not a cut one
    in.seekg(-1, std::ios::end);
    const int last = in.get();
    return last == '\n' || last == '\r';
}

}  // namespace

bool descriptionCutShort(const std::string& description, const std::string& copy) {
    if (!endsWithLineEnd(description)) return true;
    ini::IniRun run;
    const std::vector<std::string> sections = ini::sectionNames(description);
    const auto table0 = std::find_if(sections.begin(), sections.end(), [](const std::string& s) {
        return upperAscii(s) == upperAscii(kChannelDefaultsSection);
    });
    if (table0 != sections.end() && std::next(table0) != sections.end()) return false;
    const RegisterSet given = registersHeldIn(description, 0);
    const RegisterSet held = registersHeldIn(copy, 0);
    int32_t last = kLastRegister;
    while (last >= 0 && !given.test(static_cast<size_t>(last))) --last;
    for (int32_t r = std::max(last + 1, kFirstUserRegister); r < kLastUserRegister; ++r)
        if (held.test(static_cast<size_t>(r))) return true;
    return false;
}

std::string deviceDescriptionFile(std::string_view folder, const std::string& type) {
    return platform::resolveCaseInsensitive(
               platform::joinPath(
                   {gfVarnakProject()->FullPathResourceFolder(), folder, type + ".INI"}))
        .string();
}

std::string descriptionRefusedText(const std::string& file) {
    return varnak().text(storeResultTextId(kStoreDescriptionRefused)) + "\r\n\r\n" + file;
}

}  // namespace varnak
