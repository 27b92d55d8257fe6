#include "model/terminal_file_check.h"

#include <algorithm>
#include <initializer_list>

#include "model/clsTerminal.h"
#include "model/device_register_model.h"
#include "model/project_store.h"
#include "platform/ini_file.h"

namespace varnak {
namespace {

bool hasKeys(const std::string& file, const std::string& section,
             std::initializer_list<const char*> keys) {
    return std::all_of(keys.begin(), keys.end(),
                       [&](const char* key) { return ini::hasKey(file, section, key); });
}

bool mappingComplete(const std::string& file, int32_t channel, int32_t entries) {
    const std::string section = "Mapp_Table" + std::to_string(channel);
    if (!hasKeys(file, section, {"InProcImage", "OutProcImage"})) return false;
    for (int32_t k = 0; k < entries; ++k) {
        const std::string n = std::to_string(k);
        if (!ini::hasKey(file, section, "Input_Adr" + n) ||
            !ini::hasKey(file, section, "Output_Adr" + n))
            return false;
    }
    return true;
}

bool channelTableComplete(const std::string& file, int32_t channel) {
    const std::string section = "RegValue_Table" + std::to_string(channel);
    for (int32_t r = 0; r <= kChannelTableLen; ++r)
        if (!ini::hasKey(file, section, "Reg" + std::to_string(r))) return false;
    return true;
}

}  // namespace

bool isOwnTerminalFileName(const std::string& name, int32_t couplerID) {
    const std::optional<int32_t> id = terminalIdFromFileName(name);
    return id && terminalFileName(couplerID, *id) == name;
}

bool terminalFileReadWhole(const clsTerminal& terminal, const std::string& file) {
    // Only reads follow: the file is looked at on disk once, not once per section.
    ini::IniRun run;
    if (readKeyTextOrEmpty(file, "Common", "Name").empty()) return false;
    if (!hasKeys(file, "Config", {"TermPos", "TermID", "CouplerID"})) return false;
    const int32_t position = terminal.ConfRailPosition();
    if (position < 1 || position > kMaxTerminalsPerRail) return false;
    for (int32_t c = 0; c < terminal.InfoNrLogSigChnl(); ++c) {
        if (!mappingComplete(file, c, terminal.MappingEntryCount())) return false;
        if (terminal.InfoTermRegisterModell() && !channelTableComplete(file, c)) return false;
    }
    return true;
}

}  // namespace varnak
