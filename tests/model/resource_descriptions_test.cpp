// Checks the shipped resource folder: every device description is read the way the data
// model reads it, and its contents fit the dialogs, the online scan and the rail view
// that depend on it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "model/app_context.h"
#include "model/basConvert.h"
#include "model/clsTable.h"
#include "model/coupler_type_name.h"
#include "model/device_register_model.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "platform/unexamined_result.h"

namespace fs = std::filesystem;
namespace ini = varnak::ini;

namespace {

fs::path resources() {
    const char* dir = std::getenv("VARNAK_RESOURCE_DIR");
    return dir ? fs::path(dir) : fs::path("resources");
}

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool startsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

bool allOf(const std::string& s, int (*charClass)(int)) {
    return std::all_of(s.begin(), s.end(),
                       [&](char c) { return charClass(static_cast<unsigned char>(c)) != 0; });
}

// A decimal number as the program writes it: no blanks, no leading zeros, no plus sign.
std::optional<long> decimal(const std::string& text, bool allowSign) {
    std::string digits = allowSign && startsWith(text, "-") ? text.substr(1) : text;
    if (digits.empty() || digits.size() > 9 || !allOf(digits, std::isdigit)) return std::nullopt;
    if (digits[0] == '0' && (digits.size() > 1 || digits != text)) return std::nullopt;
    return std::stol(text);
}

// The number after prefix in a section or key name ("RegValue_Table" 100, "Reg" 7), when
// the rest of the name is a decimal number of at most three digits.
std::optional<int> numberAfter(const std::string& name, const std::string& prefix) {
    if (!startsWith(name, prefix) || name.size() > prefix.size() + 3) return std::nullopt;
    auto n = decimal(name.substr(prefix.size()), false);
    return n ? std::optional<int>(static_cast<int>(*n)) : std::nullopt;
}

// A type name with its four-character variant suffix: QT3002-0000, QI2301-B310.
bool isTypeName(const std::string& name) {
    return name.size() == 11 && name[0] == 'Q' &&
           std::isupper(static_cast<unsigned char>(name[1])) &&
           allOf(name.substr(2, 4), std::isdigit) && name[6] == '-' &&
           allOf(name.substr(7), std::isalnum);
}

// A register text as the register table's loader takes it (more than one character, the
// INI hex check, the conversion), and only in the form its save writes back, so that a
// copied description and a saved rail file hold the same text; a 16-bit value.
std::optional<long> registerValue(const std::string& text) {
    if (text.size() <= 1 || !varnak::gfIsHexValue(text)) return std::nullopt;
    auto value = varnak::gfHexValToLong(text);
    if (!value || *value < 0 || *value > 0xFFFF) return std::nullopt;
    if (varnak::gfValueToHex(*value) != text) return std::nullopt;
    return *value;
}

// One description file, read through the program's own INI layer.
class Description {
  public:
    explicit Description(fs::path file) : file_(std::move(file)) {}

    const fs::path& file() const { return file_; }
    std::string baseName() const { return file_.stem().string(); }

    std::vector<std::string> sections() const { return ini::sectionNames(file_.string()); }
    std::vector<std::string> keys(const std::string& section) const {
        return ini::sectionKeys(file_.string(), section);
    }
    bool has(const std::string& section, const std::string& key) const {
        auto k = keys(section);
        return std::find(k.begin(), k.end(), key) != k.end();
    }
    // The value as the data model's 100-character buffer delivers it, trimmed.
    std::string text(const std::string& section, const std::string& key) const {
        std::string s = ini::readString(file_.string(), section, key, "", 100);
        auto first = s.find_first_not_of(' ');
        if (first == std::string::npos) return "";
        return s.substr(first, s.find_last_not_of(' ') - first + 1);
    }
    // Register value of a table, or nullopt when the key is missing or malformed.
    std::optional<long> reg(int table, int index) const {
        std::string section = "RegValue_Table" + std::to_string(table);
        std::string key = "Reg" + std::to_string(index);
        if (!has(section, key)) return std::nullopt;
        return registerValue(text(section, key));
    }
    long regOr0(int table, int index) const { return reg(table, index).value_or(0); }
    std::map<int, long> table(int number) const {
        std::map<int, long> values;
        std::string section = "RegValue_Table" + std::to_string(number);
        for (const auto& key : keys(section)) {
            if (!startsWith(key, "Reg")) continue;
            auto index = numberAfter(key, "Reg");
            auto value = registerValue(text(section, key));
            if (index && value) values[static_cast<int>(*index)] = *value;
        }
        return values;
    }

  private:
    fs::path file_;
};

std::vector<Description> descriptionsIn(const std::string& folder) {
    std::vector<Description> result;
    for (const auto& name : varnak::platform::listMatching(resources() / folder, "*.INI"))
        result.emplace_back(resources() / folder / name);
    return result;
}

std::vector<Description> typeDescriptionsIn(const std::string& folder) {
    std::vector<Description> result;
    for (auto& d : descriptionsIn(folder))
        if (d.baseName() != "Unknown") result.push_back(d);
    return result;
}

// Channel layout of a terminal description (registers 10-12 of table 0).
struct Layout {
    int channels = 0, channelBits = 0, inputBits = 0, outputBits = 0;
    bool registerModel() const { return inputBits > 8 || outputBits > 8; }
    int entriesPerChannel() const {
        if (channelBits <= 8) return channelBits;
        double bytes = channelBits / 8.0;
        return static_cast<int>(std::nearbyint(bytes));  // halves go to the even neighbour
    }
};

Layout layoutOf(const Description& d) {
    auto words = varnak::decodeChannelLayout(d.regOr0(0, 10), d.regOr0(0, 11), d.regOr0(0, 12));
    Layout l;
    l.channels = words.logicalChannels;
    l.channelBits = words.logicalChannelBits;
    l.inputBits = words.inputBits;
    l.outputBits = words.outputBits;
    return l;
}

std::optional<Description> findDescription(const std::string& folder, const std::string& name) {
    for (auto& d : descriptionsIn(folder))
        if (d.baseName() == name) return d;
    return std::nullopt;
}

// The six-character names the dialog pickers of the project tree know.
const std::vector<std::string> kCouplerPickerNames = {
    "QZ2000", "QZ2010", "QZ3000", "QZ3010", "QZ3100", "QZ3110", "QY3100", "QZ3500", "QL3100",
    "QZ4000", "QZ4010", "QZ5000", "QZ5110", "QZ5120", "QL5100", "QZ5100", "QZ5200", "QZ5210",
    "QL5200", "QZ7300", "QY7300", "QZ8000", "QZ8100", "QZ8010", "QZ8110", "QY9000", "QZ9000"};
const std::vector<std::string> kTerminalPickerNames = {
    "QT1501", "QT2502", "QT3002", "QT3004", "QT3012", "QT3014", "QT3022", "QT3024",
    "QT3042", "QT3052", "QT3062", "QT3064", "QT3202", "QT3302", "QT3312", "QT3332",
    "QT4002", "QT4004", "QT4012", "QT4014", "QT4022", "QT4032", "QT4034", "QT5001",
    "QT5101", "QT5111", "QT6001", "QT6011", "QT6021", "QT6051"};

bool isPngFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    char signature[8] = {};
    in.read(signature, 8);
    return in.gcount() == 8 && std::string(signature, 8) == "\x89PNG\r\n\x1a\n";
}

// --- the whole folder -------------------------------------------------------------------

TEST(ResourceFolder, HoldsTheFoldersTheProgramAddresses) {
    for (const char* folder :
         {"Coupler", "Terminal", "Graph", "Help", "Script", "Firmware", "Firmware/Loader"})
        EXPECT_TRUE(fs::is_directory(resources() / folder)) << folder;
    EXPECT_GE(typeDescriptionsIn("Coupler").size(), 20u);
    EXPECT_GE(typeDescriptionsIn("Terminal").size(), 40u);
}

TEST(ResourceFolder, DescriptionsCarryOnlyTheSectionsAndKeysOfADescription) {
    static const std::set<std::string> commonKeys = {"Name",    "Lang0_Desc", "Lang1_Desc",
                                                     "Picture", "PicSize",    "CurrentKBus"};
    for (const char* folder : {"Coupler", "Terminal"}) {
        for (const auto& d : descriptionsIn(folder)) {
            SCOPED_TRACE(d.file().string());
            auto sections = d.sections();
            ASSERT_FALSE(sections.empty());
            EXPECT_EQ(sections.front(), "Common");
            // [Config] and [Mapp_Table<c>] belong to the project's copies, never to a description.
            for (const auto& s : sections)
                EXPECT_TRUE(s == "Common" || numberAfter(s, "RegValue_Table") ||
                            numberAfter(s, "RegDesc_Table"))
                    << s;
            for (const auto& key : d.keys("Common"))
                EXPECT_TRUE(commonKeys.count(key)) << "unexpected key " << key;
            for (const auto& key : commonKeys) EXPECT_TRUE(d.has("Common", key)) << key;
        }
    }
}

TEST(ResourceFolder, DescriptionsHaveNoLineTheReaderWouldDropSilently) {
    // A repeated section or key is ignored by the reader (the first copy wins), and a line
    // that is neither a section nor a key is skipped: both would lose a value unnoticed.
    for (const char* folder : {"Coupler", "Terminal"}) {
        for (const auto& d : descriptionsIn(folder)) {
            SCOPED_TRACE(d.file().string());
            std::ifstream in(d.file());
            std::set<std::string> sections, keys;
            std::string section, line;
            int number = 0;
            while (std::getline(in, line)) {
                ++number;
                if (line.empty()) continue;
                auto equals = line.find('=');
                std::string key = line.substr(0, equals);
                bool keyName = !key.empty() && std::all_of(key.begin(), key.end(), [](char c) {
                    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
                });
                if (line.size() > 2 && line.front() == '[' && line.find(']') == line.size() - 1) {
                    section = upper(line.substr(1, line.size() - 2));
                    EXPECT_TRUE(sections.insert(section).second)
                        << "line " << number << ": " << line;
                } else if (equals != std::string::npos && keyName) {
                    EXPECT_FALSE(section.empty()) << "line " << number;
                    EXPECT_TRUE(keys.insert(section + "/" + upper(key)).second)
                        << "line " << number << ": " << line;
                } else {
                    ADD_FAILURE() << "line " << number << " is neither section nor key: " << line;
                }
            }
        }
    }
}

// --- [Common] ---------------------------------------------------------------------------

TEST(DescriptionCommon, NameIsTheFileNameAndTextsExistInBothLanguages) {
    for (const char* folder : {"Coupler", "Terminal"}) {
        for (const auto& d : descriptionsIn(folder)) {
            SCOPED_TRACE(d.file().string());
            EXPECT_EQ(d.file().extension().string(), ".INI");
            std::string name = d.text("Common", "Name");
            EXPECT_EQ(name, d.baseName());
            if (name != "Unknown") {
                EXPECT_TRUE(isTypeName(name)) << name;
            }
            for (const char* key : {"Lang0_Desc", "Lang1_Desc"}) {
                std::string raw = ini::readString(d.file().string(), "Common", key, "", 1000);
                EXPECT_GT(d.text("Common", key).size(), 1u) << key;  // one character is ignored
                EXPECT_LT(raw.size(), 100u) << key << " would be cut by the 100-character buffer";
            }
            EXPECT_NE(d.text("Common", "Lang0_Desc"), d.text("Common", "Lang1_Desc"));
            auto picSize = decimal(d.text("Common", "PicSize"), false);
            ASSERT_TRUE(picSize.has_value());
            EXPECT_GE(*picSize, 1);
            EXPECT_TRUE(decimal(d.text("Common", "CurrentKBus"), true).has_value());
        }
    }
}

TEST(DescriptionCommon, PicturesNamedByDescriptionsExistAsPng) {
    for (const char* folder : {"Coupler", "Terminal"}) {
        for (const auto& d : descriptionsIn(folder)) {
            SCOPED_TRACE(d.file().string());
            std::string picture = d.text("Common", "Picture");
            ASSERT_FALSE(picture.empty());
            // Exact spelling: a case-insensitive look-up would hide a mismatch on a
            // case-sensitive file system only as long as no second spelling exists.
            EXPECT_TRUE(fs::is_regular_file(resources() / "Graph" / picture)) << picture;
            EXPECT_TRUE(isPngFile(resources() / "Graph" / picture)) << picture;
        }
    }
}

TEST(DescriptionCommon, CouplerTypeListAndTerminalInsertDialogShowEveryType) {
    // The coupler-type list takes files by their first letters (QZ/QY, QL, QI/QP); the
    // insert dialog lists "QT*.INI" without the QTD and QTU groups.
    for (const auto& d : typeDescriptionsIn("Coupler")) {
        std::string prefix = d.baseName().substr(0, 2);
        EXPECT_TRUE(prefix == "QZ" || prefix == "QY" || prefix == "QL" || prefix == "QI" ||
                    prefix == "QP")
            << d.file();
    }
    for (const auto& d : typeDescriptionsIn("Terminal")) {
        std::string name = upper(d.baseName());
        if (startsWith(name, "QT")) {
            EXPECT_FALSE(startsWith(name, "QTD") || startsWith(name, "QTU")) << d.file();
        } else {
            // Only the box modules' own channels are named outside the QT series: the online
            // scan and a new box-module rail add them, the insert dialog need not offer them.
            EXPECT_TRUE(startsWith(name, "QP") || startsWith(name, "QI")) << d.file();
        }
    }
}

// --- register sections ----------------------------------------------------------------

TEST(DescriptionRegisters, EveryValueAndDescriptionKeyReadsAsTheModelReadsIt) {
    for (const char* folder : {"Coupler", "Terminal"}) {
        for (const auto& d : descriptionsIn(folder)) {
            SCOPED_TRACE(d.file().string());
            for (const auto& section : d.sections()) {
                if (startsWith(section, "RegValue_Table")) {
                    for (const auto& key : d.keys(section)) {
                        auto index = numberAfter(key, "Reg");
                        ASSERT_TRUE(index.has_value()) << section << " " << key;
                        EXPECT_LE(*index, 255) << section << " " << key;
                        EXPECT_TRUE(registerValue(d.text(section, key)).has_value())
                            << section << " " << key << "=" << d.text(section, key);
                    }
                } else if (startsWith(section, "RegDesc_Table")) {
                    std::string valueSection = "RegValue_Table" + section.substr(13);
                    std::map<int, int> languages;
                    for (const auto& key : d.keys(section)) {
                        auto german = numberAfter(key, "Lang0_Reg");
                        auto english = numberAfter(key, "Lang1_Reg");
                        ASSERT_TRUE(german || english) << section << " " << key;
                        languages[german ? *german : *english] |= german ? 1 : 2;
                        EXPECT_GT(d.text(section, key).size(), 1u) << section << " " << key;
                        EXPECT_LT(ini::readString(d.file().string(), section, key, "", 1000).size(),
                                  100u)
                            << section << " " << key;
                    }
                    for (const auto& [index, mask] : languages) {
                        EXPECT_EQ(mask, 3)
                            << section << " register " << index << " lacks a language";
                        EXPECT_TRUE(d.has(valueSection, "Reg" + std::to_string(index)))
                            << section << " describes register " << index << " without a value";
                    }
                }
            }
        }
    }
}

TEST(DescriptionRegisters, RegisterTablesLoadEveryShippedValueAndTextInBothLanguages) {
    // Through the program's register table: a coupler table with the length its directory
    // gives, a terminal's channel-0 set with the channel table length 63.
    varnak::AppContext context;
    varnak::ContextScope scope{context};
    auto check = [&](const Description& d, int number, int len) {
        std::map<int, long> expected = d.table(number);
        std::string descSection = "RegDesc_Table" + std::to_string(number);
        for (int language : {0, 1}) {
            context.LanguageNr = language;
            varnak::clsTable t;
            t.setTableNr(number);
            t.setTableLen(len);
            varnak::ignoreLoadResult(t.ConfRetrieveData(d.file().string()));
            for (int r = 0; r <= len; ++r) {
                long want = expected.count(r) ? expected[r] : 0;
                EXPECT_EQ(t.ConfRegisterValue(r), want) << "table " << number << " register " << r;
                std::string key = "Lang" + std::to_string(language) + "_Reg" + std::to_string(r);
                EXPECT_EQ(t.InfoRegisterDesc(r),
                          d.has(descSection, key) ? d.text(descSection, key) : "")
                    << "table " << number << " " << key;
            }
        }
    };
    for (const auto& d : descriptionsIn("Coupler")) {
        SCOPED_TRACE(d.file().string());
        auto directory = d.table(127);
        for (const auto& section : d.sections()) {
            auto number = numberAfter(section, "RegValue_Table");
            if (number && directory.count(*number))
                check(d, *number, static_cast<int>(directory[*number]));
        }
    }
    for (const auto& d : descriptionsIn("Terminal")) {
        SCOPED_TRACE(d.file().string());
        check(d, 0, 63);
    }
}

TEST(DescriptionRegisters, CouplerDirectoryCoversEveryTableTheDescriptionCarries) {
    for (const auto& d : descriptionsIn("Coupler")) {
        SCOPED_TRACE(d.file().string());
        auto directory = d.table(127);
        ASSERT_FALSE(directory.empty());
        for (const auto& [table, len] : directory) {
            EXPECT_LE(table, 130) << "directory registers above 130 are never read";
            EXPECT_GE(len, 1);
            EXPECT_LE(len, 255) << "table " << table;
        }
        // Rail view and online scan read table 0, the online scan table 9, the dialogs
        // table 100, the mapping editors tables 8, 10-23 and 50-63.
        std::vector<int> needed = {0, 8, 9, 99, 100, 127};
        for (int t = 10; t <= 23; ++t) needed.push_back(t);
        for (int t = 50; t <= 63; ++t) needed.push_back(t);
        for (int t : needed) EXPECT_TRUE(directory.count(t)) << "table " << t;
        for (int t = 10; t <= 23; ++t) EXPECT_EQ(directory[t], 255) << "mapping table " << t;
        for (int t = 50; t <= 63; ++t) EXPECT_EQ(directory[t], 255) << "mapping table " << t;

        for (const auto& section : d.sections()) {
            if (!startsWith(section, "RegValue_Table")) continue;
            int table = std::stoi(section.substr(14));
            ASSERT_TRUE(directory.count(table)) << section << " is not in the directory";
            auto values = d.table(table);
            ASSERT_FALSE(values.empty()) << section;
            EXPECT_LE(values.rbegin()->first, directory[table])
                << section << " holds registers beyond its length";
            // Only these tables are loaded from a coupler description; the others stay zero.
            EXPECT_TRUE(table == 0 || table == 1 || table == 98 || table == 100 || table == 127)
                << section;
        }
        bool controller = startsWith(d.baseName(), "QY");
        EXPECT_EQ(directory.count(1) == 1, controller) << "controller settings table 1";
        EXPECT_EQ(directory.count(98) == 1, controller) << "cycle-time table 98";
    }
}

// --- couplers -------------------------------------------------------------------------

TEST(CouplerDescriptions, IdentificationRegistersNameTheirOwnFile) {
    for (const auto& d : typeDescriptionsIn("Coupler")) {
        SCOPED_TRACE(d.file().string());
        // Going online names the coupler from these registers and the type number it
        // reports, and then loads the description of that name.
        int typeNumber = std::stoi(d.baseName().substr(2, 4));
        EXPECT_EQ(varnak::couplerTypeName(
                      typeNumber, [&](int32_t n) { return static_cast<int32_t>(d.regOr0(0, n)); }),
                  d.baseName());
        // The kinds 2 and 32 mark a box module: the online scan adds no end terminal and the
        // rail view draws one terminal less. Every other coupler must keep them out of the
        // low byte of register 246.
        long kind = d.regOr0(0, 246) & 0xFF;
        bool box = startsWith(d.baseName(), "QP") || startsWith(d.baseName(), "QI");
        EXPECT_EQ(kind == 2 || kind == 32, box);
    }
}

// A register value survives the settings dialog unchanged when OK is pressed without an
// edit; that is what makes a default valid.
using CouplerCheck = std::function<void(const std::string& type, const Description& d)>;

void expectKeeps(const Description& d, int table, int reg, const std::function<bool(long)>& ok,
                 const char* what) {
    long v = d.regOr0(table, reg);
    EXPECT_TRUE(ok(v)) << "table " << table << " register " << reg << " = " << v << ": " << what;
}

const std::map<std::string, CouplerCheck>& couplerChecks() {
    static const std::map<std::string, CouplerCheck> checks = {
        {"QZ2000",
         [](const std::string&, const Description& d) {
             for (int r = 0; r < 4; ++r)
                 expectKeeps(
                     d, 100, r, [](long v) { return (v & 0x8000) ? (v & 0x7000) == 0 : v == 0; },
                     "an inactive interrupt is stored as 0, bits 12-14 as 0");
         }},
        {"QZ3000",
         [](const std::string& type, const Description& d) {
             long modes = (type == "QZ3000" || type == "QZ3010")   ? 1
                          : (type == "QZ3100" || type == "QZ3110") ? 3
                                                                   : 0;
             expectKeeps(
                 d, 100, 0, [&](long v) { return modes == 0 ? v <= 2 : v < modes; },
                 "an operation mode the list offers");
             expectKeeps(
                 d, 100, 1, [](long v) { return v >= 11 && v <= 255; }, "min TSDR 11-255");
             expectKeeps(
                 d, 100, 2, [](long v) { return v >= 16 && v <= 64 && v % 8 == 0; },
                 "a listed diagnostic length");
         }},
        {"QZ4000",
         [](const std::string&, const Description& d) {
             expectKeeps(
                 d, 100, 0, [](long v) { return (v & ~0xFL) == 0; }, "mode bits 0-3");
             expectKeeps(
                 d, 100, 1, [](long v) { return v <= 1; }, "device diagnostics bit 0");
         }},
        {"QZ5000",
         [](const std::string&, const Description& d) {
             expectKeeps(
                 d, 100, 0, [](long v) { return v <= 7; }, "baud-rate code 0-7");
             expectKeeps(
                 d, 100, 1, [](long v) { return v == 0 || v == 2; }, "node class 0 or 2");
             expectKeeps(
                 d, 100, 3, [](long v) { return v <= 255; }, "life-time factor 0-255");
             if (d.regOr0(100, 1) == 0) {
                 EXPECT_EQ(d.regOr0(100, 2), 0);
                 EXPECT_EQ(d.regOr0(100, 3), 0);
             }
         }},
        {"QZ5110",
         [](const std::string&, const Description& d) {
             for (int r = 0; r < 4; ++r)
                 expectKeeps(
                     d, 100, r, [](long v) { return v <= 8; }, "baud-rate code 0-8");
         }},
        {"QZ5100",
         [](const std::string&, const Description& d) {
             for (int r = 0; r < 4; ++r) {
                 expectKeeps(
                     d, 100, 34 + r, [](long v) { return v <= 8; }, "baud-rate code 0-8");
                 // The coupler services decode registers 0-3 for the same four settings.
                 EXPECT_EQ(d.regOr0(100, r), d.regOr0(100, 34 + r)) << "register " << r;
             }
         }},
        {"QZ5200",
         [](const std::string&, const Description& d) {
             auto produced = [](long v) { return v == 0x0504 || v == 0x0604 || v == 0x0404; };
             expectKeeps(d, 100, 0, produced, "a poll data set");
             expectKeeps(d, 100, 4, produced, "a change-of-state data set");
             expectKeeps(
                 d, 100, 1, [](long v) { return v == 0x0204 || v == 0x0304 || v == 0x0104; },
                 "a consumed data set");
         }},
        {"QZ7300",
         [](const std::string&, const Description& d) {
             static const std::set<long> frames = {0x0003, 0x1003, 0x000B, 0x100B, 0x0001,
                                                   0x0007, 0x1007, 0x0009, 0x000F, 0x100F};
             expectKeeps(
                 d, 100, 1, [](long v) { return v <= 1; }, "RTU or ASCII");
             expectKeeps(
                 d, 100, 2, [](long v) { return frames.count(v) == 1; }, "a listed frame");
             expectKeeps(
                 d, 100, 3, [](long v) { return (v & 0x7FFF) <= 8; }, "a listed baud rate");
         }},
        {"QZ8000",
         [](const std::string&, const Description& d) {
             for (int r = 0; r < 3; ++r) EXPECT_TRUE(d.reg(100, r).has_value()) << "register " << r;
         }},
        {"QY9000",
         [](const std::string& type, const Description& d) {
             // The DHCP name is stored as at most 19 characters; a name beginning with the
             // type is shown with the DIP-switch number appended.
             std::string name;
             for (int r = 4; r <= 13; ++r) {
                 long v = d.regOr0(100, r);
                 for (long c : {v & 0xFF, v >> 8}) {
                     if (c == 0) break;
                     EXPECT_TRUE(c >= 0x20 && c < 0x7F) << "register " << r;
                     name += static_cast<char>(c);
                 }
                 if ((v & 0xFF) == 0 || (v >> 8) == 0) break;
             }
             EXPECT_EQ(d.regOr0(100, 13) >> 8, 0);
             EXPECT_TRUE(startsWith(name, type)) << name;
             EXPECT_TRUE(d.has("RegValue_Table127", "Reg121")) << "Ethernet status table 121";
         }},
    };
    return checks;
}

// The dialog form each picker name opens, by the name the checks are filed under.
std::string couplerForm(const std::string& six) {
    static const std::map<std::string, std::string> forms = {
        {"QZ2000", "QZ2000"}, {"QZ2010", "QZ2000"}, {"QZ3000", "QZ3000"}, {"QZ3010", "QZ3000"},
        {"QZ3100", "QZ3000"}, {"QZ3110", "QZ3000"}, {"QY3100", "QZ3000"}, {"QZ3500", "QZ3000"},
        {"QL3100", "QZ3000"}, {"QZ4000", "QZ4000"}, {"QZ4010", "QZ4000"}, {"QZ5000", "QZ5000"},
        {"QZ5110", "QZ5110"}, {"QZ5120", "QZ5110"}, {"QL5100", "QZ5110"}, {"QZ5100", "QZ5100"},
        {"QZ5200", "QZ5200"}, {"QZ5210", "QZ5200"}, {"QL5200", "QZ5200"}, {"QZ7300", "QZ7300"},
        {"QY7300", "QZ7300"}, {"QZ8000", "QZ8000"}, {"QZ8100", "QZ8000"}, {"QZ8010", "QZ8000"},
        {"QZ8110", "QZ8000"}, {"QY9000", "QY9000"}, {"QZ9000", "QY9000"}};
    auto it = forms.find(six);
    return it == forms.end() ? "" : it->second;
}

TEST(CouplerDescriptions, FieldbusDefaultsAreValuesTheirDialogKeeps) {
    int checked = 0;
    for (const auto& d : typeDescriptionsIn("Coupler")) {
        std::string six = d.baseName().substr(0, 6);
        std::string form = couplerForm(six);
        if (form.empty()) continue;
        SCOPED_TRACE(d.file().string());
        couplerChecks().at(form)(six, d);
        ++checked;
    }
    EXPECT_GE(checked, static_cast<int>(kCouplerPickerNames.size()));
}

TEST(CouplerDescriptions, GeneralAndControllerDefaultsAreValuesTheirDialogKeeps) {
    for (const auto& d : descriptionsIn("Coupler")) {
        SCOPED_TRACE(d.file().string());
        expectKeeps(
            d, 0, 1, [](long v) { return (v & ~7L) == 0 && (v & 6) != 4; },
            "PLC interface and a selectable diagnostic route");
        expectKeeps(
            d, 0, 2, [](long v) { return (v & ~7L) == 0; }, "bits 0-2");
        for (int r = 3; r <= 6; ++r)
            expectKeeps(
                d, 0, r,
                [](long v) {
                    return (v & 0xF000) == 0 && (v & 0x0300) != 0x0300 && (v & 0x0C00) != 0x0C00;
                },
                "a process-image word the dialog can show");
        expectKeeps(
            d, 0, 11, [](long v) { return v <= 1; }, "bit 0");
        if (d.has("RegValue_Table127", "Reg1")) {
            expectKeeps(
                d, 1, 14, [](long v) { return (v & 0x000C) != 0x000C; },
                "a terminal-bus update order");
            for (int r = 4; r <= 11; ++r)
                expectKeeps(
                    d, 1, r,
                    [](long v) {
                        for (int k = 0; k < 16; k += 2)
                            if (((v >> k) & 3) == 1) return false;
                        return true;
                    },
                    "assignment codes 0, 2 or 3");
        }
    }
}

// --- terminals ------------------------------------------------------------------------

TEST(TerminalDescriptions, ChannelLayoutFitsTheMappingGridsAndTheRegisterModel) {
    for (const auto& d : descriptionsIn("Terminal")) {
        SCOPED_TRACE(d.file().string());
        for (int r : {10, 11, 12}) ASSERT_TRUE(d.reg(0, r).has_value()) << "register " << r;
        Layout l = layoutOf(d);
        EXPECT_LE(l.inputBits, l.channelBits);
        EXPECT_LE(l.outputBits, l.channelBits);
        if (l.channels > 0) {
            EXPECT_TRUE(l.inputBits > 0 || l.outputBits > 0);
        }
        // The mapping grids have columns 8-20 for bits and 7-20 for bytes.
        if (l.registerModel()) {
            EXPECT_GE(l.channelBits, 8);
            EXPECT_LE(l.entriesPerChannel(), 14);
            // With a register model the terminal's own registers and the user registers
            // are all set: every channel table starts from this set.
            EXPECT_TRUE(d.reg(0, 29).has_value()) << "name extension";
            for (int r = 31; r <= 63; ++r) EXPECT_TRUE(d.reg(0, r).has_value()) << "register " << r;
            EXPECT_EQ(d.regOr0(0, 31), 0) << "the code word is never a default";
        } else {
            EXPECT_LT(l.channelBits, 8);
            EXPECT_LE(l.entriesPerChannel(), 13);
            EXPECT_EQ(d.table(0).rbegin()->first, 12) << "only the layout registers";
        }
        // Channel tables are registers 0-63.
        EXPECT_LE(d.table(0).rbegin()->first, 63);
    }
}

bool isPickerTerminal(const std::string& name) {
    return std::find(kTerminalPickerNames.begin(), kTerminalPickerNames.end(), name.substr(0, 6)) !=
           kTerminalPickerNames.end();
}

TEST(TerminalDescriptions, SettingsDialogFamiliesHaveARegisterModelAndDigitalOnesNone) {
    for (const auto& d : typeDescriptionsIn("Terminal")) {
        SCOPED_TRACE(d.file().string());
        Layout l = layoutOf(d);
        if (isPickerTerminal(d.baseName())) {
            EXPECT_TRUE(l.registerModel());
            EXPECT_GE(l.channels, 1);
        }
        char group = d.baseName()[2];
        if (group == '1' || group == '2') {
            // Digital terminals (the counter and the pulse-width terminal excepted) carry no
            // channel tables; their tree shows channel nodes without children.
            bool complex =
                d.baseName().substr(0, 6) == "QT1501" || d.baseName().substr(0, 6) == "QT2502";
            EXPECT_EQ(l.registerModel(), complex);
        }
    }
}

using TerminalCheck = std::function<void(const Description& d)>;

const std::map<std::string, TerminalCheck>& terminalChecks() {
    static const auto onlyBits = [](long mask) {
        return [mask](long v) { return (v & ~mask) == 0; };
    };
    static const std::map<std::string, TerminalCheck> checks = {
        {"QT1501",
         [](const Description& d) {
             expectKeeps(
                 d, 0, 32,
                 [](long v) {
                     long mode = v & 0x0700;
                     return (v & ~0x0702L) == 0 &&
                            (mode == 0x100 || mode == 0x200 || mode == 0x400);
                 },
                 "one counter mode and the output-format bit");
         }},
        {"QT2502",
         [](const Description& d) {
             expectKeeps(
                 d, 0, 32,
                 [](long v) {
                     long code = v & 0xF000;
                     return (v & 0x0FF8) == 0 && (code == 0 || code == 0x2000 || code == 0x6000 ||
                                                  code == 0xA000 || code == 0xE000);
                 },
                 "a listed mode and feature bits 0-2");
         }},
        {"QT3002",
         [](const Description& d) { expectKeeps(d, 0, 32, onlyBits(0x1F1F), "feature bits"); }},
        {"QT3202",
         [](const Description& d) {
             expectKeeps(
                 d, 0, 32,
                 [](long v) {
                     long code = v >> 12;
                     return (v & 0x0AE0) == 0 && (code <= 6 || code == 0xE || code == 0xF);
                 },
                 "a listed sensor and feature bits");
         }},
        {"QT3302",
         [](const Description& d) {
             expectKeeps(
                 d, 0, 32,
                 [](long v) {
                     long code = v >> 12;
                     return (v & 0x0AE0) == 0 && (code <= 9 || code == 0xF);
                 },
                 "a listed sensor and feature bits");
         }},
        {"QT4002",
         [](const Description& d) { expectKeeps(d, 0, 32, onlyBits(0x012F), "feature bits"); }},
        {"QT5001",
         [](const Description& d) {
             expectKeeps(d, 0, 32, onlyBits(0x001F), "feature bits 0-4");
             expectKeeps(
                 d, 0, 33, [](long v) { return v >= 1 && v <= 4; }, "a shown transfer rate");
             expectKeeps(
                 d, 0, 34, [](long v) { return v <= 32; }, "data length 0-32");
         }},
        {"QT5101",
         [](const Description& d) {
             expectKeeps(
                 d, 0, 32, [](long v) { return (v & ~0x8C10L) == 0 && (v & 0x0C00) != 0x0C00; },
                 "an evaluation mode and bits 4 and 15");
         }},
        {"QT6001",
         [](const Description& d) {
             expectKeeps(
                 d, 0, 32, [](long v) { return v >= 1 && v <= 7; }, "a listed baud rate");
             expectKeeps(
                 d, 0, 33, [](long v) { return (v & ~0xFL) == 0 && (v & 7) >= 1 && (v & 7) <= 5; },
                 "a listed data format");
             expectKeeps(d, 0, 34, onlyBits(0x003F), "feature bits 0-5");
             // The terminal keeps six address texts per channel: one control byte and at
             // most five data bytes.
             expectKeeps(
                 d, 0, 35, [](long v) { return v >= 1 && v <= 5; }, "1-5 data bytes");
         }},
        {"QT6051",
         [](const Description& d) { expectKeeps(d, 0, 32, onlyBits(0x000F), "feature bits 0-3"); }},
    };
    return checks;
}

std::string terminalForm(const std::string& six) {
    static const std::map<std::string, std::string> forms = {
        {"QT1501", "QT1501"}, {"QT2502", "QT2502"}, {"QT3002", "QT3002"}, {"QT3004", "QT3002"},
        {"QT3012", "QT3002"}, {"QT3014", "QT3002"}, {"QT3022", "QT3002"}, {"QT3024", "QT3002"},
        {"QT3042", "QT3002"}, {"QT3052", "QT3002"}, {"QT3062", "QT3002"}, {"QT3064", "QT3002"},
        {"QT3202", "QT3202"}, {"QT3302", "QT3302"}, {"QT3312", "QT3302"}, {"QT3332", "QT3302"},
        {"QT4002", "QT4002"}, {"QT4004", "QT4002"}, {"QT4012", "QT4002"}, {"QT4014", "QT4002"},
        {"QT4022", "QT4002"}, {"QT4032", "QT4002"}, {"QT4034", "QT4002"}, {"QT5001", "QT5001"},
        {"QT5101", "QT5101"}, {"QT5111", "QT5101"}, {"QT6001", "QT6001"}, {"QT6011", "QT6001"},
        {"QT6021", "QT6001"}, {"QT6051", "QT6051"}};
    auto it = forms.find(six);
    return it == forms.end() ? "" : it->second;
}

TEST(TerminalDescriptions, UserRegisterDefaultsAreValuesTheirDialogKeeps) {
    int checked = 0;
    for (const auto& d : typeDescriptionsIn("Terminal")) {
        std::string form = terminalForm(d.baseName().substr(0, 6));
        if (form.empty()) continue;
        SCOPED_TRACE(d.file().string());
        terminalChecks().at(form)(d);
        ++checked;
    }
    EXPECT_GE(checked, static_cast<int>(kTerminalPickerNames.size()));
}

// --- what other parts of the program look up -------------------------------------------

TEST(ResourceLookups, EveryNameTheDialogPickersKnowHasADescription) {
    auto hasPrefix = [](const std::string& folder, const std::string& six) {
        for (const auto& d : typeDescriptionsIn(folder))
            if (d.baseName().substr(0, 6) == six) return true;
        return false;
    };
    for (const auto& six : kCouplerPickerNames) EXPECT_TRUE(hasPrefix("Coupler", six)) << six;
    for (const auto& six : kTerminalPickerNames) EXPECT_TRUE(hasPrefix("Terminal", six)) << six;
}

TEST(ResourceLookups, OnlineScanFindsADescriptionForEveryDigitalListWord) {
    struct Row {
        long word;
        const char* name;
    };
    // The naming table of the online scan (word -> type name) and the end terminal.
    const Row rows[] = {{0x8403, "QT2212-0000"}, {0x8407, "QT1212-0000"}, {0x8201, "QT1002-0000"},
                        {0x8401, "QT1104-0000"}, {0x8202, "QT2012-0000"}, {0x8402, "QT2114-0000"},
                        {0x8403, "QT2212-0000"}, {0x8803, "QP2008-Bxx0"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto d = findDescription("Terminal", row.name);
        ASSERT_TRUE(d.has_value());
        Layout l = layoutOf(*d);
        EXPECT_FALSE(l.registerModel());
        // The terminal the word stands for has the description's bits and directions.
        auto entry = varnak::decodeTerminalListWord(static_cast<int32_t>(row.word));
        EXPECT_TRUE(entry.digital);
        EXPECT_EQ(entry.bits, l.channels * l.channelBits);
        EXPECT_EQ(entry.hasInputs, l.inputBits > 0);
        EXPECT_EQ(entry.hasOutputs, l.outputBits > 0);
    }
    auto end = findDescription("Terminal", "QT9010-0000");
    ASSERT_TRUE(end.has_value());
    EXPECT_EQ(layoutOf(*end).channels, 0);
    ASSERT_TRUE(findDescription("Terminal", "QT9400-0000").has_value());
    EXPECT_GT(std::stol(findDescription("Terminal", "QT9400-0000")->text("Common", "CurrentKBus")),
              0)
        << "the power feed supplies the terminal bus";
}

TEST(ResourceLookups, UnknownDescriptionsStandInForMissingOnes) {
    auto terminal = findDescription("Terminal", "Unknown");
    ASSERT_TRUE(terminal.has_value());
    Layout l = layoutOf(*terminal);
    // Going online borrows channel table 0 of the stand-in to read name extensions.
    EXPECT_EQ(l.channels, 1);
    EXPECT_TRUE(l.registerModel());
    EXPECT_EQ(terminal->text("Common", "Picture"), "QTdummy.png");
    // That scratch terminal is loaded from the name of type number 0, which must not exist.
    EXPECT_FALSE(fs::exists(
        varnak::platform::resolveCaseInsensitive(resources() / "Terminal" / "QT0-0000.INI")));

    auto coupler = findDescription("Coupler", "Unknown");
    ASSERT_TRUE(coupler.has_value());
    EXPECT_EQ(coupler->text("Common", "Picture"), "Qzdummy.png");
    auto directory = coupler->table(127);
    for (int t : {0, 9, 100, 127}) EXPECT_TRUE(directory.count(t)) << "table " << t;
}

TEST(ResourceLookups, StartupCleanUpNeverDeletesAShippedDescription) {
    // The clean-up deletes old-form names of exactly ten characters (QT3002.INI) when the
    // suffixed twin exists: no shipped description may have that form.
    for (const auto& d : descriptionsIn("Terminal")) {
        std::string name = d.file().filename().string();
        EXPECT_FALSE(name.size() == 10 && startsWith(upper(name), "QT")) << name;
    }
    for (const auto& d : descriptionsIn("Coupler")) {
        std::string name = upper(d.file().filename().string());
        EXPECT_FALSE(name.size() == 10 && (startsWith(name, "QZ") || startsWith(name, "QY")))
            << name;
    }
}

TEST(ResourceLookups, GraphHoldsTheFallbackEditionAndSearchPictures) {
    for (const char* picture :
         {"QTdummy.png", "Qzdummy.png", "HWelcome.png", "hlogo.png", "PWelcome.png", "plogo.png"}) {
        EXPECT_TRUE(isPngFile(resources() / "Graph" / picture)) << picture;
    }
    EXPECT_TRUE(fs::is_regular_file(resources() / "Graph" / "Findfile.gif"));
    for (const auto& entry : fs::directory_iterator(resources() / "Graph")) {
        if (entry.path().extension() == ".png") {
            EXPECT_TRUE(isPngFile(entry.path())) << entry.path();
        }
    }
}

TEST(ResourceLookups, HelpHasAnHtmlPagePerLanguage) {
    for (const char* page : {"Varnak_de.html", "Varnak_en.html"}) {
        std::ifstream in(resources() / "Help" / page);
        ASSERT_TRUE(in.good()) << page;
        std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_NE(content.find("<html"), std::string::npos) << page;
        EXPECT_NE(content.find("</html>"), std::string::npos) << page;
    }
}

}  // namespace
