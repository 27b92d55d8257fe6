#include "settingsforms/description_defaults.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>

#include "model/basConvert.h"
#include "model/clsColTables.h"
#include "model/clsProject.h"
#include "model/clsTable.h"
#include "model/clsTerminal.h"
#include "model/device_register_model.h"
#include "model/text_util.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "settingsforms/register_image.h"

namespace fs = std::filesystem;

namespace varnak {
namespace {

bool readable(const std::string& file) {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) return false;
    std::ifstream in(file, std::ios::binary);
    return in.good();
}

}  // namespace

std::string descriptionPath(const char* folder, const std::string& type) {
    return platform::resolveCaseInsensitive(
               platform::joinPath(
                   {gfVarnakProject()->FullPathResourceFolder(), folder, type + ".INI"}))
        .string();
}

std::optional<RegisterImage> couplerDescriptionTable(const std::string& file, int32_t table) {
    if (!readable(file)) return std::nullopt;
    const std::string entry = ini::readString(
        file, "RegValue_Table" + std::to_string(kTableDirectory), "Reg" + std::to_string(table));
    const std::string text = trimBlanks(entry);
    if (!gfIsHexValue(text)) return std::nullopt;
    const std::optional<int32_t> len = directoryTableLen(gfHexValToLong(text).value_or(0));
    if (!len) return std::nullopt;
    clsTable defaults;
    defaults.setTableNr(table);
    defaults.setTableLen(*len);
    defaults.setbInitDone(true);
    defaults.ConfRetrieveData(file);
    return imageOf(defaults);
}

std::optional<RegisterImage> terminalDescriptionChannel(const std::string& file, int32_t channel) {
    if (!readable(file)) return std::nullopt;
    auto terminal = std::make_shared<clsTerminal>();
    terminal->InfoRetrieveData(file);
    if (!terminal->InfoTermRegisterModell()) return std::nullopt;
    std::shared_ptr<clsTable> table = terminal->clsColTables()->Item(channel);
    if (!table) return std::nullopt;
    return imageOf(*table);
}

}  // namespace varnak
