#include "online/script_lines.h"

#include <cctype>
#include <fstream>

#include "model/basFiles.h"
#include "platform/ini_file.h"

namespace varnak {
namespace {

constexpr const char* kTerminalSection = "Initialisierung";
constexpr int64_t kLowestValue = -32768;
constexpr int64_t kHighestValue = 65535;
// Enough for any line a script holds; a longer one is taken whole as well.
constexpr size_t kLineBuffer = 4096;
constexpr size_t kMostDigits = 11;

std::string_view trimmed(std::string_view t) {
    const size_t first = t.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return t.substr(first, t.find_last_not_of(" \t") - first + 1);
}

bool startsWithNoCase(std::string_view t, std::string_view prefix) {
    if (t.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(t[i])) != prefix[i]) return false;
    return true;
}

std::optional<int64_t> digits(std::string_view t, int base) {
    if (t.empty() || t.size() > kMostDigits) return std::nullopt;
    int64_t n = 0;
    for (char ch : t) {
        const int c = std::toupper(static_cast<unsigned char>(ch));
        int d = -1;
        if (c >= '0' && c <= '9') d = c - '0';
        if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
        if (d < 0 || d >= base) return std::nullopt;
        n = n * base + d;
    }
    return n;
}

std::string keyText(int32_t i) {
    return "Init" + std::to_string(i);
}

std::string lineName(std::string_view section, const std::string& key, std::string_view text) {
    return "[" + std::string(section) + "] " + key + "=" + std::string(text);
}

std::string readKey(const std::string& path, std::string_view section, const std::string& key) {
    std::string out;
    ini::GetPrivateProfileString(section, key, "", out, kLineBuffer, path);
    return out;
}

// A whole file that cannot be opened counts as missing.
bool readableFile(const std::string& path) {
    return gfFileExists(path) && std::ifstream(path).good();
}

// One key's line taken: a setting goes into lines, an invalid line's name into invalid;
// a line that does not split is passed over.
void takeLine(std::string_view section, const std::string& key, std::string_view text,
              int32_t lastOffset, std::vector<ScriptSetting>& lines,
              std::vector<std::string>& invalid) {
    const ScriptLineParts parts = SplitINIStringToOffsetValue(text);
    if (!parts.splits) return;
    if (!parts.offset || *parts.offset < 0 || *parts.offset > lastOffset || !parts.value ||
        *parts.value < kLowestValue || *parts.value > kHighestValue) {
        invalid.push_back(lineName(section, key, text));
        return;
    }
    lines.push_back({static_cast<int32_t>(*parts.offset),
                     static_cast<int32_t>(*parts.value & 0xFFFF), std::string(text)});
}

}  // namespace

std::optional<int64_t> scriptNumber(std::string_view text, bool hex0x) {
    const std::string_view t = trimmed(text);
    if (startsWithNoCase(t, "&H")) return digits(t.substr(2), 16);
    if (startsWithNoCase(t, "&O")) return digits(t.substr(2), 8);
    if (hex0x && startsWithNoCase(t, "0X")) return digits(t.substr(2), 16);
    const bool negative = !t.empty() && t[0] == '-';
    const bool sign = negative || (!t.empty() && t[0] == '+');
    const auto n = digits(t.substr(sign ? 1 : 0), 10);
    if (!n) return std::nullopt;
    return negative ? -*n : *n;
}

ScriptLineParts SplitINIStringToOffsetValue(std::string_view text) {
    ScriptLineParts parts;
    const size_t comma = text.find(',');
    if (comma == std::string_view::npos) return parts;
    const std::string_view rest = text.substr(comma + 1);
    if (rest.empty()) return parts;
    parts.splits = true;
    parts.offset = scriptNumber(text.substr(0, comma), false);
    parts.value = scriptNumber(rest, true);
    return parts;
}

TerminalScript readTerminalScript(const std::string& path) {
    TerminalScript script;
    script.readable = readableFile(path);
    if (!script.readable) return script;
    for (int32_t i = 1; i <= kTerminalScriptKeys; ++i) {
        const std::string key = keyText(i);
        const std::string text(trimmed(readKey(path, kTerminalSection, key)));
        if (!text.empty())
            takeLine(kTerminalSection, key, text, kTerminalScriptLastOffset, script.lines,
                     script.invalid);
    }
    return script;
}

int32_t couplerScriptKeys(int32_t table) {
    return table >= 120 && table <= 127 ? 40 : 255;
}

bool fCouplerScriptInit(const std::string& path, int32_t table, int32_t maxKeys,
                        CouplerScriptSection& section, std::vector<std::string>& invalid) {
    const std::string name = "Tab_" + std::to_string(table);
    std::string transfer(trimmed(readKey(path, name, "Transfer")));
    for (char& ch : transfer) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    if (transfer != "TRUE") return false;
    section.table = table;
    if (table > kCouplerScriptHighestTable) invalid.push_back("[" + name + "] Transfer=TRUE");
    for (int32_t i = 1; i <= maxKeys; ++i) {
        const std::string key = keyText(i);
        const std::string text(trimmed(readKey(path, name, key)));
        if (text.empty()) break;
        takeLine(name, key, text, kCouplerScriptLastOffset, section.lines, invalid);
    }
    return true;
}

CouplerScript readCouplerScript(const std::string& path) {
    CouplerScript script;
    script.readable = readableFile(path);
    if (!script.readable) return script;
    for (int32_t n = 0; n <= kCouplerScriptLastTable; ++n) {
        CouplerScriptSection section;
        if (fCouplerScriptInit(path, n, couplerScriptKeys(n), section, script.invalid))
            script.sections.push_back(std::move(section));
    }
    return script;
}

}  // namespace varnak
