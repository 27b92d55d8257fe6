#include "model/terminal_file_check.h"

#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

#include "model/project_store.h"
#include "model/text_util.h"
#include "platform/ini_file.h"

namespace varnak {

bool isOwnTerminalFileName(const std::string& name, int32_t couplerID) {
    const std::optional<int32_t> id = terminalIdFromFileName(name);
    return id && upperAscii(terminalFileName(couplerID, *id)) == upperAscii(name);
}

namespace {

// A "RegValue_Table<c>" or "Mapp_Table<c>" section that holds keys.
bool holdsChannelSections(const std::string& file) {
    for (const std::string& section : ini::sectionNames(file)) {
        const std::string name = upperAscii(section);
        for (const std::string_view prefix : {"REGVALUE_TABLE", "MAPP_TABLE"}) {
            if (!name.starts_with(prefix) || name.size() == prefix.size()) continue;
            if (name.find_first_not_of("0123456789", prefix.size()) != std::string::npos) continue;
            if (!ini::sectionKeys(file, section).empty()) return true;
        }
    }
    return false;
}

}  // namespace

bool terminalFileUsable(const std::string& file) {
    // Only reads follow: the file is looked at on disk once, not once per key.
    ini::IniRun run;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec) || !ini::hasKey(file, "Common", "Name"))
        return false;
    // An empty name in a file without register tables and mapping records is the empty
    // terminal a position going online found no description for (its save writes neither):
    // it loads as such and keeps its place. A file with either but no name has lost its
    // type and stays unread.
    if (readKeyTextOrEmpty(file, "Common", "Name").empty() && holdsChannelSections(file))
        return false;
    for (const char* key : {"TermPos", "TermID", "CouplerID"})
        if (!ini::hasKey(file, "Config", key)) return false;
    const int32_t position = readKeyNumber(file, "Config", "TermPos");
    return position >= 1 && position <= kMaxTerminalsPerRail;
}

}  // namespace varnak
