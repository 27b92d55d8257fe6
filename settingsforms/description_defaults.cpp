#include "settingsforms/description_defaults.h"

#include <memory>

#include "model/basConvert.h"
#include "model/clsColTables.h"
#include "model/clsTable.h"
#include "model/clsTerminal.h"
#include "model/device_description.h"
#include "model/device_register_model.h"
#include "model/text_util.h"
#include "platform/ini_file.h"
#include "platform/unexamined_result.h"
#include "settingsforms/register_image.h"

namespace varnak {

std::string descriptionPath(const char* folder, const std::string& type) {
    return deviceDescriptionFile(folder, type);
}

std::optional<RegisterImage> couplerDescriptionTable(const std::string& file, int32_t table) {
    if (!usableDescription(file)) return std::nullopt;
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
    ignoreLoadResult(defaults.ConfRetrieveData(file));
    return imageOf(defaults);
}

std::optional<RegisterImage> terminalDescriptionChannel(const std::string& file, int32_t channel,
                                                        const std::string& terminalFile) {
    if (!usableDescription(file) || descriptionCutShort(file, terminalFile)) return std::nullopt;
    auto terminal = std::make_shared<clsTerminal>();
    ignoreLoadResult(terminal->InfoRetrieveData(file));
    if (!terminal->InfoTermRegisterModell()) return std::nullopt;
    std::shared_ptr<clsTable> table = terminal->clsColTables()->Item(channel);
    if (!table) return std::nullopt;
    return imageOf(*table);
}

}  // namespace varnak
