#include "model/device_description.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
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

constexpr std::string_view kValueSectionPrefix = "REGVALUE_TABLE";

bool endsWithLineEnd(const std::string& file) {
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    if (!in || in.tellg() <= 0) return true;  // an empty file is not a cut one
    in.seekg(-1, std::ios::end);
    const int last = in.get();
    return last == '\n' || last == '\r';
}

// n for the section the readers of table n read ("RegValue_Table<n>", in any letter case).
std::optional<int32_t> valueTable(const std::string& section) {
    const std::string name = upperAscii(section);
    if (!name.starts_with(kValueSectionPrefix)) return std::nullopt;
    const std::string number = name.substr(kValueSectionPrefix.size());
    if (number.empty() || number.size() > 3 ||
        number.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int32_t n = std::stoi(number);
    if (std::to_string(n) != number) return std::nullopt;
    return n;
}

}  // namespace

std::optional<int32_t> tableCutShort(const std::string& description) {
    if (endsWithLineEnd(description)) return std::nullopt;
    const std::vector<std::string> sections = ini::sectionNames(description);
    if (sections.empty()) return std::nullopt;
    return valueTable(sections.back());
}

bool descriptionCutShort(const std::string& description, const std::string& copy) {
    ini::IniRun run;
    const std::vector<std::string> sections = ini::sectionNames(description);
    const auto table0 = std::find_if(sections.begin(), sections.end(), [](const std::string& s) {
        return valueTable(s) == kChannelDefaultsTable;
    });
    if (table0 != sections.end() && std::next(table0) != sections.end()) return false;
    if (tableCutShort(description) == kChannelDefaultsTable) return true;
    const RegisterSet given = registersHeldIn(description, kChannelDefaultsTable);
    const RegisterSet held = registersHeldIn(copy, kChannelDefaultsTable);
    int32_t last = kLastRegister;
    while (last >= 0 && !given.test(static_cast<size_t>(last))) --last;
    for (int32_t r = std::max(last + 1, kFirstUserRegister); r < kLastUserRegister; ++r)
        if (held.test(static_cast<size_t>(r))) return true;
    return false;
}

int32_t newDeviceRefusal(const std::string& file, std::optional<int32_t> table) {
    if (descriptionState(file) == DescriptionState::Refused) return kStoreDescriptionRefused;
    const std::optional<int32_t> cut = tableCutShort(file);
    if (cut && (!table || cut == table)) return kStoreDescriptionCutShort;
    return kStoreOk;
}

std::string deviceDescriptionFile(std::string_view folder, const std::string& type) {
    return platform::resolveCaseInsensitive(
               platform::joinPath(
                   {gfVarnakProject()->FullPathResourceFolder(), folder, type + ".INI"}))
        .string();
}

std::string newDeviceRefusalText(int32_t result, const std::string& description) {
    if (result != kStoreDescriptionRefused && result != kStoreDescriptionCutShort)
        return storeResultMessage(result);
    return varnak().text(storeResultTextId(result)) + "\r\n\r\n" + description;
}

}  // namespace varnak
