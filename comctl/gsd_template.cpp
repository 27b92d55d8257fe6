#include "comctl/gsd_template.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <ctime>

namespace varnak::gsd {

namespace {

// Names the name test accepts; other names are reported but still compared.
constexpr std::array<std::string_view, 22> kKnownNames{
    "QZ3000", "QZ3010", "QZ3500", "QZ3100", "QZ3110", "QZ3120", "QL3100", "QN3000",
    "QP10XX", "QP15XX", "QP20XX", "QP23XX", "QP25XX", "QP31XX", "QP41XX", "QP50XX",
    "QP51XX", "QP60XX", "QP31YY", "QP41YY", "QP50YY", "QP60YY"};

constexpr int kMaxMask = 0x1F;
constexpr int kMaxPadding = 98;

std::string upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool isUpper(char c) {
    return c >= 'A' && c <= 'Z';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Selectors at the start of the line: ":code[param]:" each. An empty selector "::" ends the
// list and stays in the line, so that a variable may follow the selectors directly.
std::vector<std::string> splitSelectors(const std::string& line, std::string& rest) {
    std::vector<std::string> selectors;
    size_t pos = 0;
    while (pos < line.size() && line[pos] == ':') {
        size_t close = line.find(':', pos + 1);
        if (close == std::string::npos || close == pos + 1) break;
        selectors.push_back(line.substr(pos + 1, close - pos - 1));
        pos = close + 1;
    }
    rest = line.substr(pos);
    return selectors;
}

std::string formatDate(const std::tm& time, const char* format) {
    char text[32] = "";
    std::strftime(text, sizeof text, format, &time);
    return text;
}

}  // namespace

GsdTemplateEngine::GsdTemplateEngine(const CGSDDatei& coupler, const GsdLanguage& language,
                                     GsdLog& log, GsdLineWriter& out)
    : coupler_(coupler), language_(language), log_(log), out_(out) {}

void GsdTemplateEngine::processLine(const std::string& line) {
    if (line.size() > kTraditionalLineLimit) log_.warning(kLineTooLongWarning);
    std::string rest;
    std::vector<std::string> selectors = splitSelectors(line, rest);
    if (selectors.empty()) {
        log_.warning(line.empty() ? "Leerzeile" : "kein Zeilenselektor");
        writeLine(line);
        return;
    }
    bool keep = true;
    for (const std::string& selector : selectors) keep = applySelector(selector, rest, keep);
    if (keep) {
        writeLine(replaceVariables(rest));
    } else {
        previousDropped_ = true;
    }
}

void GsdTemplateEngine::writeLine(const std::string& line) {
    out_.writeLine(line);
    log_.info(line);
    previousDropped_ = false;
}

bool GsdTemplateEngine::testMask(int propertyCode, const std::string& parameter, bool keep) {
    if (parameter.empty()) {
        log_.warning("Leerer Selektorparameter");
        return false;
    }
    std::optional<uint32_t> mask = parseNumber(parameter, 16, kMaxMask);
    if (!mask) {
        log_.warning("Unbekannter/ ungueltiger Selektorparameter '" + parameter + "'");
        return false;
    }
    return keep && ((*mask >> propertyCode) & 1) != 0;
}

bool GsdTemplateEngine::applySelector(const std::string& selector, const std::string& rest,
                                      bool keep) {
    if (selector == "ELSE") return keep && previousDropped_;
    std::string code = selector.substr(0, 2);
    std::string parameter = selector.size() > 2 ? selector.substr(2) : std::string();
    bool hasTerminals = !coupler_.terminals.empty();

    if (code == "AA") return true;
    if (code == "BA") return keep;
    if (code == "BB") return testMask(coupler_.group, parameter, keep);
    if (code == "BC") return testMask(coupler_.asic, parameter, keep);
    if (code == "BD") return testMask(coupler_.baudRate, parameter, keep);
    if (code == "BE") return testMask(coupler_.interfaceKind, parameter, keep);
    if (code == "KN" || code == "KE") {
        if (!parameter.empty()) {
            log_.warning("In :" + code + ": kein Parameter erlaubt");
            return false;
        }
        if (code == "KN") return keep && !hasTerminals;
        modules_.assign(coupler_.terminals, out_, log_);
        return false;
    }
    if (code == "KD" || code == "KA") {
        if (!keep || !hasTerminals) return keep;
        if (code == "KD") {
            modules_.registerDigital(parameter, replaceVariables(rest));
        } else {
            modules_.registerAnalog(parameter, replaceVariables(rest));
        }
        return false;
    }
    if (code == "NT") {
        std::string name = upper(parameter);
        if (std::find(kKnownNames.begin(), kKnownNames.end(), name) == kKnownNames.end()) {
            log_.warning("Unbekannter Namens-Test-Parameter " + parameter + "'.");
        }
        return keep && name == upper(coupler_.name);
    }
    log_.warning("Unbekannter Zeilenselektor :" + selector + ":");
    return false;
}

std::string GsdTemplateEngine::replaceVariables(std::string_view line) {
    std::string result;
    size_t pos = 0;
    while (true) {
        size_t open = line.find("::", pos);
        size_t close = open == std::string_view::npos ? open : line.find("::", open + 2);
        if (close == std::string_view::npos) {
            result += line.substr(pos);
            return result;
        }
        result += line.substr(pos, open - pos);
        result += valueOf(std::string(line.substr(open + 2, close - open - 2)), result.size());
        pos = close + 2;
    }
}

std::string GsdTemplateEngine::valueOf(const std::string& name, size_t column) {
    if (!name.empty() && isUpper(name[0])) return builtInValue(name, column);
    std::optional<std::string> text = language_.lookup(name);
    if (!text) {
        log_.warning("Unbekannter Variablen-Bezeichner '" + name + "'");
        return {};
    }
    return *text;
}

std::string GsdTemplateEngine::builtInValue(const std::string& name, size_t column) {
    if (name == "DATE") return formatDate(coupler_.created, "%m.%d.%y");
    if (name == "NAME") return coupler_.name;
    if (name == "HWREL") return coupler_.hardwareRelease;
    if (name == "SWREL") return coupler_.softwareRelease;
    if (name == "ASIC") return std::string(asicName(coupler_.asic));
    if (name.size() == 5 && name.starts_with("COL") && isDigit(name[3]) && isDigit(name[4])) {
        int target = (name[3] - '0') * 10 + (name[4] - '0');
        int padding = target - static_cast<int>(column) - 1;
        if (padding < 0) {
            log_.warning("Die (der Warnung folgende) Zeile konnte nicht ausgerichtet werden.");
            return {};
        }
        return std::string(static_cast<size_t>(std::min(padding, kMaxPadding)), ' ');
    }
    return {};
}

}  // namespace varnak::gsd
