#include "model/terminal_file_check.h"

#include <filesystem>
#include <optional>
#include <system_error>

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
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec) || !ini::hasKey(file, "Common", "Name"))
        return false;
    // An empty name with no register table is the empty terminal a position going online
    // found no description for: it loads as such and keeps its place. A file with registers
    // but no name has lost its type and stays unread.
    if (readKeyTextOrEmpty(file, "Common", "Name").empty() &&
        !ini::sectionKeys(file, "RegValue_Table0").empty())
        return false;
    for (const char* key : {"TermPos", "TermID", "CouplerID"})
        if (!ini::hasKey(file, "Config", key)) return false;
    const int32_t position = readKeyNumber(file, "Config", "TermPos");
    return position >= 1 && position <= kMaxTerminalsPerRail;
}

}  // namespace varnak
