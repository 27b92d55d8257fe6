#include "model/terminal_file_check.h"

#include <algorithm>
#include <initializer_list>
#include <set>

#include "model/clsTerminal.h"
#include "model/device_register_model.h"
#include "model/project_store.h"
#include "model/text_util.h"
#include "platform/ini_file.h"

namespace varnak {
namespace {

// The key names of one section, compared as the profile reader compares them.
class SectionKeys {
  public:
    SectionKeys(const std::string& file, const std::string& section) {
        for (const std::string& key : ini::sectionKeys(file, section))
            keys_.insert(upperAscii(key));
    }
    bool has(const std::string& key) const { return keys_.count(upperAscii(key)) != 0; }
    bool hasAll(std::initializer_list<const char*> keys) const {
        return std::all_of(keys.begin(), keys.end(), [this](const char* k) { return has(k); });
    }

  private:
    std::set<std::string> keys_;
};

bool mappingComplete(const std::string& file, int32_t channel, int32_t entries) {
    const SectionKeys keys(file, "Mapp_Table" + std::to_string(channel));
    if (!keys.hasAll({"InProcImage", "OutProcImage"})) return false;
    for (int32_t k = 0; k < entries; ++k) {
        const std::string n = std::to_string(k);
        if (!keys.has("Input_Adr" + n) || !keys.has("Output_Adr" + n)) return false;
    }
    return true;
}

bool channelTableComplete(const std::string& file, int32_t channel) {
    const SectionKeys keys(file, "RegValue_Table" + std::to_string(channel));
    for (int32_t r = 0; r <= kChannelTableLen; ++r)
        if (!keys.has("Reg" + std::to_string(r))) return false;
    return true;
}

}  // namespace

bool isOwnTerminalFileName(const std::string& name, int32_t couplerID) {
    const std::optional<int32_t> id = terminalIdFromFileName(name);
    return id && terminalFileName(couplerID, *id) == name;
}

bool terminalFileReadWhole(const clsTerminal& terminal, const std::string& file) {
    if (readKeyTextOrEmpty(file, "Common", "Name").empty()) return false;
    if (!SectionKeys(file, "Config").hasAll({"TermPos", "TermID", "CouplerID"})) return false;
    const int32_t position = terminal.ConfRailPosition();
    if (position < 1 || position > kMaxTerminalsPerRail) return false;
    for (int32_t c = 0; c < terminal.InfoNrLogSigChnl(); ++c) {
        if (!mappingComplete(file, c, terminal.MappingEntryCount())) return false;
        if (terminal.InfoTermRegisterModell() && !channelTableComplete(file, c)) return false;
    }
    return true;
}

}  // namespace varnak
