#include "model/terminal_file_check.h"

#include <optional>

#include "model/device_description.h"
#include "model/project_store.h"
#include "model/text_util.h"
#include "platform/ini_file.h"

namespace varnak {

bool isOwnTerminalFileName(const std::string& name, int32_t couplerID) {
    const std::optional<int32_t> id = terminalIdFromFileName(name);
    return id && upperAscii(terminalFileName(couplerID, *id)) == upperAscii(name);
}

bool terminalFileUsable(const std::string& file) {
    // Only reads follow: the file is looked at on disk once, not once per key.
    ini::IniRun run;
    if (!usableDescription(file)) return false;
    for (const char* key : {"TermPos", "TermID", "CouplerID"})
        if (!ini::hasKey(file, "Config", key)) return false;
    const int32_t position = readKeyNumber(file, "Config", "TermPos");
    return position >= 1 && position <= kMaxTerminalsPerRail;
}

}  // namespace varnak
