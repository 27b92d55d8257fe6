// The GSD files the export writes, read as a configuration tool reads them: by the keyword
// grammar, and with module lengths that match what each terminal of the station exchanges.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "comctl/gsd_generator.h"
#include "comctl/gsd_identification.h"
#include "model/basConvert.h"
#include "model/device_register_model.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "tests/comctl/gsd_fake_device.h"
#include "tests/comctl/gsd_grammar_reader.h"
#include "tests/support/station_from_rail.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace varnak::test {
namespace {

constexpr int kSerialFormatRegister = 34;  // bit 1: the alternative output format
constexpr int kSerialBytesRegister = 35;
constexpr int kProcessImage1Register = 3;    // coupler table 0
constexpr int kEvaluateComplexBit = 0x0004;  // the control/status byte goes with the data
constexpr int kDigitalBlockBytes = 16;

fs::path resources() {
    return fs::path(std::getenv("VARNAK_RESOURCE_DIR"));
}

fs::path descriptionOf(const std::string& type) {
    return platform::resolveCaseInsensitive(resources() / "Terminal" / (type + ".INI"));
}

ChannelLayout layoutOf(const std::string& type) {
    const std::string file = descriptionOf(type).string();
    auto reg = [&](int n) {
        return gfHexValToLong(ini::readString(file, "RegValue_Table0", "Reg" + std::to_string(n)))
            .value_or(0);
    };
    return decodeChannelLayout(reg(kPhysicalChannelsRegister), reg(kLogicalChannelsRegister),
                               reg(kChannelSizesRegister));
}

bool hasRegisterModel(const ChannelLayout& l) {
    return l.inputBits > 8 || l.outputBits > 8;
}

bool isSerialInterface(const std::string& type) {
    return type.starts_with("QT6001") || type.starts_with("QT6011") || type.starts_with("QT6021");
}

// The generator reads the simulated station's registers as the control would read them.
class StationRegisters : public gsd::GsdRegisterReader {
  public:
    explicit StationRegisters(const SimStation& station) : station_(station) {}
    int32_t readRegisters(int32_t railPos, int32_t table, int32_t first, int32_t,
                          std::span<int32_t> values) override {
        if (!station_.hasTable(railPos, table)) return 13;
        try {
            for (size_t i = 0; i < values.size(); ++i)
                values[i] = station_.reg(railPos, table, first + static_cast<int>(i));
        } catch (const std::out_of_range&) {
            return 13;
        }
        return 0;
    }

  private:
    const SimStation& station_;
};

struct Rail {
    std::string coupler;
    std::vector<std::string> terminals;
};

// What the station exchanges with the master, module by module: each terminal with a
// register model in rail order, then the digital inputs and outputs gathered into bytes in
// blocks of at most 16.
std::vector<GsdDataLengths> expectedModules(const Rail& rail, const SimStation& station,
                                            bool evaluateComplex) {
    std::vector<GsdDataLengths> modules;
    int inputBits = 0;
    int outputBits = 0;
    int position = 0;
    for (const std::string& type : rail.terminals) {
        if (type == kEndTerminalType) continue;
        ++position;
        const ChannelLayout l = layoutOf(type);
        if (!hasRegisterModel(l)) {
            inputBits += l.inputBits > 0 ? l.logicalChannels * l.logicalChannelBits : 0;
            outputBits += l.outputBits > 0 ? l.logicalChannels * l.logicalChannelBits : 0;
            continue;
        }
        const bool standardSerial =
            isSerialInterface(type) && (station.reg(position, 0, kSerialFormatRegister) & 2) == 0;
        if (standardSerial) {
            const int bytes = station.reg(position, 0, kSerialBytesRegister) + 1;
            modules.push_back({bytes, bytes});
            continue;
        }
        const int dropped = evaluateComplex ? 0 : 1;
        modules.push_back({l.logicalChannels * (l.inputBits / 8 - l.inputCSB * dropped),
                           l.logicalChannels * (l.outputBits / 8 - l.outputCSB * dropped)});
    }
    for (bool inputs : {true, false}) {
        for (int bytes = ((inputs ? inputBits : outputBits) + 7) / 8; bytes > 0;
             bytes -= kDigitalBlockBytes) {
            const int block = std::min(bytes, kDigitalBlockBytes);
            modules.push_back(inputs ? GsdDataLengths{block, 0} : GsdDataLengths{0, block});
        }
    }
    return modules;
}

std::vector<GsdDataLengths> lengthsOf(const GsdReading& reading) {
    std::vector<GsdDataLengths> lengths;
    for (const GsdModuleEntry& m : reading.modules) lengths.push_back(m.lengths);
    return lengths;
}

std::string describe(const std::vector<GsdDataLengths>& modules) {
    std::string text;
    for (const GsdDataLengths& m : modules)
        text += "(" + std::to_string(m.inputs) + "," + std::to_string(m.outputs) + ")";
    return text;
}

// 2- and 4-channel analog inputs and outputs, a serial interface with its default data
// bytes, digital inputs and outputs and the end terminal.
const std::vector<std::string> kMixedTerminals{"QT1104-0000", "QT3002-0000", "QT3004-0000",
                                               "QT4002-0000", "QT4034-0000", "QT6001-0000",
                                               "QT2114-0000", "QT9010-0000"};
const std::vector<std::string> kExportableCouplers{"QZ3000-0000", "QZ3010-0000", "QZ3100-0000",
                                                   "QZ3110-0000"};

class GsdGrammarTest : public ::testing::Test {
  protected:
    struct Generated {
        int32_t result = 0;
        std::string log;
        std::vector<std::pair<std::string, GsdReading>> files;  // .gse, .gsg
    };

    std::unique_ptr<SimStation> station(const Rail& rail) {
        return makeRailStation(resources(), {rail.coupler, rail.terminals}, gsd::kGsdStation);
    }

    static void evaluateComplexTerminals(SimStation& s, bool on) {
        const uint16_t word = s.reg(0, kGeneralSettingsTable, kProcessImage1Register);
        s.setRegister(0, kGeneralSettingsTable, kProcessImage1Register,
                      on ? word | kEvaluateComplexBit : word & ~kEvaluateComplexBit);
    }

    Generated generate(const SimStation& s) {
        StationRegisters registers(s);
        gsd::GsdOptions options{dir_ / "GSD.LOG", gsdTestTime};
        Generated g;
        g.result = gsd::createGsdFiles(registers, (dir_ / "station.GSD").string(),
                                       resources().string(), options);
        g.log = readFile(dir_ / "GSD.LOG");
        for (const char* name : {"station.gse", "station.gsg"}) {
            const std::string text = readFile(dir_ / name);
            if (!text.empty()) g.files.emplace_back(name, readGsd(text));
        }
        return g;
    }

    // Generates the files of a rail and checks that both read by the grammar with the
    // modules the station's terminals call for.
    void expectModules(const Rail& rail, bool evaluateComplex) {
        auto s = station(rail);
        evaluateComplexTerminals(*s, evaluateComplex);
        const std::vector<GsdDataLengths> expected = expectedModules(rail, *s, evaluateComplex);
        Generated g = generate(*s);
        const std::string what =
            rail.coupler + (evaluateComplex ? " with" : " without") + " control/status bytes";
        EXPECT_EQ(g.result, 0) << what;
        EXPECT_EQ(g.log.find("[WARN]"), std::string::npos) << what << "\n" << g.log;
        ASSERT_EQ(g.files.size(), 2u) << what;
        for (const auto& [name, reading] : g.files) {
            EXPECT_TRUE(reading.faults.empty())
                << what << " " << name << ": " << testing::PrintToString(reading.faults);
            EXPECT_EQ(describe(lengthsOf(reading)), describe(expected)) << what << " " << name;
        }
    }

    TempDir dir_;
};

TEST_F(GsdGrammarTest, EveryFileOfEachExportableCouplerReadsByTheGrammar) {
    for (const std::string& coupler : kExportableCouplers) {
        for (const auto& terminals : {std::vector<std::string>{}, kMixedTerminals}) {
            auto s = station({coupler, terminals});
            Generated g = generate(*s);
            const std::string what = coupler + (terminals.empty() ? " (catalogue)" : "");
            EXPECT_EQ(g.result, 0) << what;
            EXPECT_NE(g.log.find("0 Fehler, 0 Warnung(en)"), std::string::npos) << what << g.log;
            ASSERT_EQ(g.files.size(), 2u) << what;
            for (const auto& [name, reading] : g.files) {
                SCOPED_TRACE(what + " " + name);
                EXPECT_TRUE(reading.faults.empty()) << testing::PrintToString(reading.faults);
                EXPECT_EQ(reading.number("Ident_Number"),
                          std::stol(coupler.substr(2, 4), nullptr, 16));
                long inputs = 0, outputs = 0;
                for (const GsdModuleEntry& m : reading.modules) {
                    inputs += m.lengths.inputs;
                    outputs += m.lengths.outputs;
                    EXPECT_LE(m.lengths.inputs, reading.number("Max_Input_Len")) << m.name;
                    EXPECT_LE(m.lengths.outputs, reading.number("Max_Output_Len")) << m.name;
                }
                if (terminals.empty()) {  // a catalogue: each module once
                    std::set<std::string> names;
                    for (const GsdModuleEntry& m : reading.modules)
                        EXPECT_TRUE(names.insert(m.name).second) << m.name << " twice";
                    continue;
                }
                EXPECT_LE(static_cast<long>(reading.modules.size()), reading.number("Max_Module"));
                EXPECT_LE(inputs, reading.number("Max_Input_Len"));
                EXPECT_LE(outputs, reading.number("Max_Output_Len"));
                EXPECT_LE(inputs + outputs, reading.number("Max_Data_Len"));
            }
        }
    }
}

TEST_F(GsdGrammarTest, ModuleLengthsFollowTheChannelsAndSizesOfTheDescriptions) {
    const Rail rail{"QZ3100-0000", kMixedTerminals};
    for (bool evaluateComplex : {false, true}) expectModules(rail, evaluateComplex);

    // As a configuration tool sees it: the modules of the analog terminals and the serial
    // interface, in rail order.
    auto s = station(rail);
    const auto modules = generate(*s).files.at(0).second.modules;
    ASSERT_GE(modules.size(), 5u);
    const GsdDataLengths qt3002 = modules[0].lengths, qt3004 = modules[1].lengths;
    const GsdDataLengths qt4002 = modules[2].lengths, qt4034 = modules[3].lengths;
    EXPECT_EQ(qt3004.inputs, 2 * qt3002.inputs);
    EXPECT_EQ(qt4034.outputs, 2 * qt4002.outputs);
    EXPECT_EQ(modules[4].name, "QT6001 Serial 3 data bytes");
    EXPECT_EQ(modules[4].lengths, (GsdDataLengths{4, 4}));  // control/status and 3 data bytes
}

TEST_F(GsdGrammarTest, EveryTerminalTypeWithARegisterModelGetsItsModule) {
    Rail rail{"QZ3100-0000", {}};
    for (const std::string& file : platform::listMatching(resources() / "Terminal", "*.INI")) {
        const std::string type = fs::path(file).stem().string();
        if (type.starts_with("QT") && hasRegisterModel(layoutOf(type)))
            rail.terminals.push_back(type);
    }
    ASSERT_GT(rail.terminals.size(), 20u);
    // Every data length a serial interface allows (1-5 data bytes) and its alternative
    // format, for each of its types.
    struct Serial {
        int position;
        int format;
        int bytes;
    };
    std::vector<Serial> serials;
    for (const char* type : {"QT6001-0000", "QT6011-0000", "QT6021-0000"}) {
        for (int bytes = 1; bytes <= 6; ++bytes) {
            rail.terminals.push_back(type);
            const int position = static_cast<int>(rail.terminals.size());
            serials.push_back(bytes <= 5 ? Serial{position, 0, bytes} : Serial{position, 2, 3});
        }
    }
    ASSERT_LE(rail.terminals.size(), 64u);
    for (bool evaluateComplex : {false, true}) {
        auto s = station(rail);
        for (const Serial& serial : serials) {
            s->setRegister(serial.position, 0, kSerialFormatRegister, serial.format);
            s->setRegister(serial.position, 0, kSerialBytesRegister, serial.bytes);
        }
        evaluateComplexTerminals(*s, evaluateComplex);
        const auto expected = expectedModules(rail, *s, evaluateComplex);
        Generated g = generate(*s);
        EXPECT_EQ(g.log.find("[WARN]"), std::string::npos) << g.log;
        ASSERT_EQ(g.files.size(), 2u);
        for (const auto& [name, reading] : g.files) {
            EXPECT_TRUE(reading.faults.empty()) << testing::PrintToString(reading.faults);
            EXPECT_EQ(describe(lengthsOf(reading)), describe(expected))
                << name << (evaluateComplex ? " with" : " without") << " control/status bytes";
        }
    }
}

TEST(GsdGrammarReader, FindsWhatAConfigurationToolRefuses) {
    const std::string valid =
        "#Profibus_DP\n; comment\nGSD_Revision = 2\nVendor_Name = \"V\"\nModel_Name = \"M\"\n"
        "Revision = \"1\"\nIdent_Number = 0x3100\nProtocol_Ident = 0\nStation_Type = 0\n"
        "Hardware_Release = \"00\"\nSoftware_Release = \"12\"\nSlave_Family = 3\n"
        "1.5M_supp = 1\nMaxTsdr_1.5M = 150\nMin_Slave_Intervall = 1\nMax_Diag_Data_Len = 16\n"
        "Fail_Safe = 1\nModular_Station = 1\nMax_Module = 4\nMax_Input_Len = 8\n"
        "Max_Output_Len = 8\nMax_Data_Len = 16\nModule = \"a\" 0x51\nEndModule\n";
    EXPECT_TRUE(readGsd(valid).faults.empty()) << testing::PrintToString(readGsd(valid).faults);

    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = valid;
        return text.replace(text.find(from), from.size(), to);
    };
    const struct {
        std::string text;
        std::string fault;
    } cases[] = {
        {replaced("#Profibus_DP", "#Device_Description"), "not #Profibus_DP"},
        {replaced("1.5M_supp = 1\n", "1.5M_supp = 1\n12M_supp = 1\n"),
         "12M_supp without MaxTsdr_12M"},
        {replaced("Slave_Family", "Physical_Interface"), "unknown keyword Physical_Interface"},
        {replaced("Min_Slave_Intervall = 1\n", ""), "no Min_Slave_Intervall"},
        {replaced("Max_Data_Len = 16\n", ""), "modular without Max_Data_Len"},
        {replaced("GSD_Revision = 2", "GSD_Revision = 1"), "Fail_Safe needs GSD_Revision 2"},
        {replaced("Max_Input_Len = 8", "Max_Input_Len = 245"), "Max_Input_Len = 245 outside"},
        {replaced("\"a\"", "\"a name longer than thirty-two chars\""), "module name"},
        {replaced("0x51", "0xC0"), "no decodable configuration bytes"},
    };
    for (const auto& c : cases) {
        const auto faults = readGsd(c.text).faults;
        EXPECT_TRUE(std::any_of(faults.begin(), faults.end(),
                                [&](const std::string& f) { return f.find(c.fault) != f.npos; }))
            << c.fault << " in " << testing::PrintToString(faults);
    }

    // General identifiers count bytes or words; special ones carry length bytes (outputs
    // first) and manufacturer data.
    const struct {
        std::vector<int> bytes;
        GsdDataLengths lengths;
    } configs[] = {
        {{0x10}, {1, 0}},
        {{0x2F}, {0, 16}},
        {{0x51}, {4, 0}},
        {{0xB5}, {6, 6}},
        {{0xF1}, {4, 4}},
        {{0x13, 0x21}, {4, 2}},
        {{0x00}, {0, 0}},
        {{0xC0, 0x83, 0x41}, {4, 4}},
        {{0x42, 0x45, 1, 2}, {12, 0}},
    };
    for (const auto& c : configs)
        EXPECT_EQ(decodeConfig(c.bytes), c.lengths) << testing::PrintToString(c.bytes);
    EXPECT_EQ(decodeConfig({0xC0, 0x05}), std::nullopt);  // the input length byte is missing
}

}  // namespace
}  // namespace varnak::test
