#include "tests/comctl/gsd_grammar_reader.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <sstream>

namespace varnak::test {
namespace {

enum class Kind { Boolean, Number, Text };

struct Keyword {
    const char* name;
    Kind kind;
    long min;
    long max;      // for a text: its longest length
    int revision;  // the first GSD_Revision that knows the keyword
};

constexpr long kU16 = 0xFFFF;

// The general and DP slave keywords this reader knows, with their value ranges.
constexpr std::array kKeywords{
    Keyword{"GSD_Revision", Kind::Number, 0, 255, 1},
    Keyword{"Vendor_Name", Kind::Text, 0, 32, 0},
    Keyword{"Model_Name", Kind::Text, 0, 32, 0},
    Keyword{"Revision", Kind::Text, 0, 32, 0},
    Keyword{"Revision_Number", Kind::Number, 1, 63, 1},
    Keyword{"Ident_Number", Kind::Number, 0, kU16, 0},
    Keyword{"Protocol_Ident", Kind::Number, 0, 0, 0},  // 0: DP
    Keyword{"Station_Type", Kind::Number, 0, 0, 0},    // 0: DP slave
    Keyword{"FMS_supp", Kind::Boolean, 0, 1, 0},
    Keyword{"Hardware_Release", Kind::Text, 0, 32, 0},
    Keyword{"Software_Release", Kind::Text, 0, 32, 0},
    Keyword{"Redundancy", Kind::Boolean, 0, 1, 0},
    Keyword{"Repeater_Ctrl_Sig", Kind::Number, 0, 2, 0},
    Keyword{"24V_Pins", Kind::Number, 0, 2, 0},
    Keyword{"Implementation_Type", Kind::Text, 0, 32, 0},
    Keyword{"Bitmap_Device", Kind::Text, 0, 8, 0},
    Keyword{"Freeze_Mode_supp", Kind::Boolean, 0, 1, 0},
    Keyword{"Sync_Mode_supp", Kind::Boolean, 0, 1, 0},
    Keyword{"Auto_Baud_supp", Kind::Boolean, 0, 1, 0},
    Keyword{"Set_Slave_Add_supp", Kind::Boolean, 0, 1, 0},
    Keyword{"User_Prm_Data_Len", Kind::Number, 0, 237, 0},
    Keyword{"Min_Slave_Intervall", Kind::Number, 1, kU16, 0},
    Keyword{"Modular_Station", Kind::Boolean, 0, 1, 0},
    Keyword{"Max_Module", Kind::Number, 1, 244, 0},
    Keyword{"Max_Input_Len", Kind::Number, 0, 244, 0},
    Keyword{"Max_Output_Len", Kind::Number, 0, 244, 0},
    Keyword{"Max_Data_Len", Kind::Number, 0, 488, 0},
    Keyword{"Max_Diag_Data_Len", Kind::Number, 6, 244, 0},
    Keyword{"Slave_Family", Kind::Number, 0, 255, 1},
    Keyword{"Fail_Safe", Kind::Boolean, 0, 1, 2},
};

struct BaudRate {
    const char* name;
    int revision;
};
constexpr std::array kBaudRates{
    BaudRate{"9.6", 0},   BaudRate{"19.2", 0},  BaudRate{"31.25", 2}, BaudRate{"45.45", 2},
    BaudRate{"93.75", 0}, BaudRate{"187.5", 0}, BaudRate{"500", 0},   BaudRate{"1.5M", 0},
    BaudRate{"3M", 1},    BaudRate{"6M", 1},    BaudRate{"12M", 1},
};

constexpr std::array kMandatory{
    "GSD_Revision",     "Vendor_Name",         "Model_Name",        "Revision",
    "Ident_Number",     "Protocol_Ident",      "Station_Type",      "Hardware_Release",
    "Software_Release", "Min_Slave_Intervall", "Max_Diag_Data_Len", "Slave_Family"};
constexpr std::array kMandatoryModular{"Max_Module", "Max_Input_Len", "Max_Output_Len",
                                       "Max_Data_Len"};

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string trim(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::optional<long> parseNumber(const std::string& text) {
    if (text.empty()) return std::nullopt;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string digits = hex ? text.substr(2) : text;
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    for (char c : digits) {
        if (hex ? !std::isxdigit(static_cast<unsigned char>(c))
                : !std::isdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
    }
    return std::stol(digits, nullptr, hex ? 16 : 10);
}

// A quoted text of printable ASCII characters; nullopt when the value is no such text.
std::optional<std::string> parseText(const std::string& value, std::string* rest = nullptr) {
    if (value.empty() || value[0] != '"') return std::nullopt;
    const size_t close = value.find('"', 1);
    if (close == std::string::npos) return std::nullopt;
    std::string text = value.substr(1, close - 1);
    for (char c : text)
        if (c < 0x20 || c > 0x7E) return std::nullopt;
    if (rest)
        *rest = trim(value.substr(close + 1));
    else if (!trim(value.substr(close + 1)).empty())
        return std::nullopt;
    return text;
}

// Statements: comments cut (a ';' outside quotes), continued lines joined, blank ones left
// out; each with the number of the line it starts on.
std::vector<std::pair<int, std::string>> statements(const std::string& text) {
    std::vector<std::pair<int, std::string>> result;
    std::istringstream in(text);
    std::string line;
    std::string pending;
    int number = 0;
    int start = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        bool quoted = false;
        for (size_t i = 0; i < line.size(); ++i) {
            if (line[i] == '"') quoted = !quoted;
            if (line[i] == ';' && !quoted) {
                line.erase(i);
                break;
            }
        }
        line = trim(line);
        if (pending.empty()) start = number;
        if (!line.empty() && line.back() == '\\') {
            pending += line.substr(0, line.size() - 1) + " ";
            continue;
        }
        pending += line;
        if (!trim(pending).empty()) result.emplace_back(start, trim(pending));
        pending.clear();
    }
    if (!trim(pending).empty()) result.emplace_back(start, trim(pending));
    return result;
}

const Keyword* findKeyword(const std::string& name) {
    for (const Keyword& k : kKeywords)
        if (lower(k.name) == lower(name)) return &k;
    return nullptr;
}

// "9.6_supp" or "MaxTsdr_9.6": the baud rate, else nullptr.
const BaudRate* baudRateOf(const std::string& name, bool& maxTsdr) {
    for (const BaudRate& rate : kBaudRates) {
        if (lower(name) == lower(std::string(rate.name) + "_supp")) {
            maxTsdr = false;
            return &rate;
        }
        if (lower(name) == lower(std::string("MaxTsdr_") + rate.name)) {
            maxTsdr = true;
            return &rate;
        }
    }
    return nullptr;
}

std::vector<int> parseConfigBytes(const std::string& text, bool& ok) {
    std::vector<int> bytes;
    std::string item;
    std::istringstream in(text);
    ok = true;
    while (in >> item) {
        std::istringstream parts(item);
        std::string part;
        while (std::getline(parts, part, ',')) {
            if (part.empty()) continue;
            std::optional<long> value = parseNumber(part);
            if (!value || *value > 255) ok = false;
            bytes.push_back(static_cast<int>(value.value_or(0)));
        }
    }
    return bytes;
}

class Reader {
  public:
    explicit Reader(GsdReading& reading) : r_(reading) {}

    void read(const std::string& text) {
        auto list = statements(text);
        if (list.empty() || lower(list.front().second) != "#profibus_dp") {
            fault(list.empty() ? 0 : list.front().first, "the first statement is not #Profibus_DP");
        } else {
            list.erase(list.begin());
        }
        bool inModule = false;
        for (const auto& [line, statement] : list) {
            if (lower(statement) == "endmodule") {
                if (!inModule) fault(line, "EndModule without Module");
                inModule = false;
                continue;
            }
            const size_t equals = statement.find('=');
            const std::string name = trim(statement.substr(0, equals));
            const std::string value =
                equals == std::string::npos ? std::string() : trim(statement.substr(equals + 1));
            if (inModule) {
                fault(line, "'" + statement + "' inside a module");
                continue;
            }
            if (equals == std::string::npos) {
                fault(line, "'" + statement + "' is no keyword = value");
            } else if (lower(name) == "module") {
                module(line, value);
                inModule = true;
            } else {
                keyword(line, name, value);
            }
        }
        if (inModule) fault(0, "the last module has no EndModule");
        checkWhole();
    }

  private:
    void fault(int line, const std::string& what) {
        r_.faults.push_back("line " + std::to_string(line) + ": " + what);
    }

    void module(int line, const std::string& value) {
        GsdModuleEntry entry;
        std::string rest;
        std::optional<std::string> name = parseText(value, &rest);
        if (!name || name->size() > 32)
            fault(line, "module name is no text of up to 32 characters");
        entry.name = name.value_or("");
        bool ok = false;
        entry.config = parseConfigBytes(rest, ok);
        std::optional<GsdDataLengths> lengths = decodeConfig(entry.config);
        if (!ok || entry.config.empty() || !lengths)
            fault(line, "module '" + entry.name + "' has no decodable configuration bytes");
        entry.lengths = lengths.value_or(GsdDataLengths{});
        r_.modules.push_back(entry);
    }

    void keyword(int line, const std::string& raw, const std::string& value) {
        bool maxTsdr = false;
        Keyword rate{nullptr, Kind::Boolean, 0, 1, 0};
        const Keyword* known = findKeyword(raw);
        std::string name = known ? known->name : raw;  // keywords ignore letter case
        if (const BaudRate* baud = baudRateOf(raw, maxTsdr)) {
            rate = maxTsdr ? Keyword{nullptr, Kind::Number, 1, kU16, baud->revision}
                           : Keyword{nullptr, Kind::Boolean, 0, 1, baud->revision};
            known = &rate;
            name =
                maxTsdr ? std::string("MaxTsdr_") + baud->name : std::string(baud->name) + "_supp";
        }
        if (!known) {
            fault(line, "unknown keyword " + raw);
            return;
        }
        if (r_.keywords.count(name)) fault(line, name + " twice");
        r_.keywords[name] = value;
        revisions_[name] = {line, known->revision};
        if (known->kind == Kind::Text) {
            std::optional<std::string> text = parseText(value);
            if (!text || static_cast<long>(text->size()) > known->max)
                fault(line,
                      name + " is no text of up to " + std::to_string(known->max) + " characters");
            return;
        }
        std::optional<long> number = parseNumber(value);
        if (!number || *number < known->min || *number > known->max)
            fault(line, name + " = " + value + " outside " + std::to_string(known->min) + ".." +
                            std::to_string(known->max));
    }

    void checkWhole() {
        const long revision = r_.number("GSD_Revision").value_or(0);
        for (const auto& [name, where] : revisions_) {
            if (where.second > revision)
                fault(where.first, name + " needs GSD_Revision " + std::to_string(where.second));
        }
        for (const char* name : kMandatory)
            if (!r_.keywords.count(name)) fault(0, std::string("no ") + name);
        bool anyRate = false;
        for (const BaudRate& rate : kBaudRates) {
            const std::string supp = std::string(rate.name) + "_supp";
            if (r_.number(supp).value_or(0) != 1) continue;
            anyRate = true;
            if (!r_.keywords.count(std::string("MaxTsdr_") + rate.name))
                fault(0, supp + " without MaxTsdr_" + rate.name);
        }
        if (!anyRate) fault(0, "no supported baud rate");
        if (r_.number("Modular_Station").value_or(0) == 1) {
            for (const char* name : kMandatoryModular)
                if (!r_.keywords.count(name)) fault(0, std::string("modular without ") + name);
            if (r_.modules.empty()) fault(0, "modular without a module");
            const long in = r_.number("Max_Input_Len").value_or(0);
            const long out = r_.number("Max_Output_Len").value_or(0);
            const long data = r_.number("Max_Data_Len").value_or(0);
            if (r_.keywords.count("Max_Data_Len") && (data < std::max(in, out) || data > in + out))
                fault(0, "Max_Data_Len does not fit Max_Input_Len and Max_Output_Len");
        }
    }

    GsdReading& r_;
    std::map<std::string, std::pair<int, int>> revisions_;  // keyword -> line, revision
};

}  // namespace

std::optional<long> GsdReading::number(const std::string& keyword) const {
    auto found = keywords.find(keyword);
    if (found == keywords.end()) return std::nullopt;
    return parseNumber(found->second);
}

std::optional<GsdDataLengths> decodeConfig(const std::vector<int>& bytes) {
    GsdDataLengths lengths;
    auto lengthOf = [](int byte) { return ((byte & 0x3F) + 1) * ((byte & 0x40) ? 2 : 1); };
    for (size_t i = 0; i < bytes.size(); ++i) {
        const int b = bytes[i];
        const int direction = (b >> 4) & 3;
        if (direction != 0) {  // general identifier: bits 0-3 length - 1, bit 6 words
            const int length = ((b & 0x0F) + 1) * ((b & 0x40) ? 2 : 1);
            if (direction & 1) lengths.inputs += length;
            if (direction & 2) lengths.outputs += length;
            continue;
        }
        // Special identifier: bits 6-7 tell which length bytes follow (outputs first), bits
        // 0-3 how many bytes of manufacturer data close it.
        const int follow = (b >> 6) & 3;
        size_t next = i + 1;
        if (follow & 2) {
            if (next >= bytes.size()) return std::nullopt;
            lengths.outputs += lengthOf(bytes[next++]);
        }
        if (follow & 1) {
            if (next >= bytes.size()) return std::nullopt;
            lengths.inputs += lengthOf(bytes[next++]);
        }
        next += static_cast<size_t>(b & 0x0F);
        if (next > bytes.size()) return std::nullopt;
        i = next - 1;
    }
    return lengths;
}

GsdReading readGsd(const std::string& text) {
    GsdReading reading;
    Reader(reading).read(text);
    return reading;
}

}  // namespace varnak::test
