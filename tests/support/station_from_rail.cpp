#include "tests/support/station_from_rail.h"

#include <algorithm>
#include <cctype>

#include "model/basConvert.h"
#include "model/device_register_model.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "tests/support/station_controller.h"
#include "tests/support/station_process_images.h"
#include "tests/support/station_profile.h"

namespace varnak::test {
namespace {

constexpr int kNameExtensionRegister = 29;  // of channel table 0

std::string descriptionOf(const std::filesystem::path& resources, const char* folder,
                          const std::string& type) {
    return platform::resolveCaseInsensitive(resources / folder / (type + ".INI")).string();
}

// A terminal variant without a description of its own ("QT3102-0016") is its type's
// "-0000" description with its own name extension: the station has a terminal the
// program knows no description for.
std::string terminalDescriptionOf(const std::filesystem::path& resources, const std::string& type) {
    const std::string own = descriptionOf(resources, "Terminal", type);
    const size_t dash = type.find('-');
    if (std::filesystem::exists(own) || dash == std::string::npos) return own;
    return descriptionOf(resources, "Terminal", type.substr(0, dash) + "-0000");
}

// Register n of section RegValue_Table<table> ("0x" hex), 0 when absent or not hex.
int32_t descriptionRegister(const std::string& file, int table, int n) {
    const std::string text =
        ini::readString(file, "RegValue_Table" + std::to_string(table), "Reg" + std::to_string(n));
    if (!gfIsHexValue(text)) return 0;
    return gfHexValToLong(text).value_or(0);
}

void fillTable(SimStation& station, int position, int table, size_t registers,
               const std::string& file, int section) {
    station.addTable(position, table, registers);
    for (size_t r = 0; r < registers; ++r)
        station.setRegister(
            position, table, static_cast<int>(r),
            static_cast<uint16_t>(descriptionRegister(file, section, static_cast<int>(r))));
}

// The number in a type name after its letters and before "-" ("QZ3100-0000" gives 3100,
// "QP2008-B310" 2008); after "-" the suffix's digits ("B310" gives 310).
int32_t numberAt(const std::string& name, size_t from) {
    int32_t n = 0;
    for (size_t i = from; i < name.size() && std::isdigit(static_cast<unsigned char>(name[i])); ++i)
        n = n * 10 + (name[i] - '0');
    return n;
}
int32_t typeNumber(const std::string& name) {
    return numberAt(name, 2);
}
int32_t suffixNumber(const std::string& name) {
    const size_t dash = name.find('-');
    if (dash == std::string::npos) return 0;
    size_t i = dash + 1;
    while (i < name.size() && !std::isdigit(static_cast<unsigned char>(name[i]))) ++i;
    return numberAt(name, i);
}

// The newer identification of a coupler type: family and variant by the name's prefix.
void identify(SimStation& station, const std::string& coupler) {
    const std::string prefix = coupler.substr(0, 2);
    struct Family {
        const char* prefix;
        uint16_t family;
        uint16_t variant;
    };
    static constexpr Family kFamilies[] = {{"QZ", 1, 0},  {"QL", 1, 2},  {"QY", 256, 0},
                                           {"QF", 8, 0},  {"QC", 16, 0}, {"QX", 4, 0},
                                           {"QI", 32, 0}, {"QP", 2, 0}};
    uint16_t family = 1, variant = 0;
    for (const Family& f : kFamilies)
        if (prefix == f.prefix) family = f.family, variant = f.variant;
    station.setRegister(0, kActualTerminalList, kTypeNumberRegister,
                        static_cast<uint16_t>(typeNumber(coupler)));
    station.setRegister(0, kGeneralSettingsTable, kIdentFormat, kIdentMagic);
    station.setRegister(0, kGeneralSettingsTable, kIdentFamily, family);
    station.setRegister(0, kGeneralSettingsTable, kIdentVariant, variant);
    station.setRegister(
        0, kGeneralSettingsTable, kIdentSuffix,
        prefix == "QP" || prefix == "QI" ? 0 : static_cast<uint16_t>(suffixNumber(coupler)));
    station.setRegister(0, kGeneralSettingsTable, kIdentProductNumber,
                        static_cast<uint16_t>(typeNumber(coupler)));
    station.setRegister(0, kGeneralSettingsTable, kIdentProductVariant,
                        static_cast<uint16_t>(suffixNumber(coupler)));
}

bool hasRegisterModel(const std::string& file) {
    const int32_t reg12 = descriptionRegister(file, 0, kChannelSizesRegister);
    return channelInputBits(reg12) > 8 || channelOutputBits(reg12) > 8;
}

}  // namespace

uint16_t terminalListWord(const std::string& typeName, const std::string& file) {
    if (typeName == kEndTerminalType) return 0;
    if (hasRegisterModel(file)) return static_cast<uint16_t>(typeNumber(typeName) & 0x7FFF);
    const ChannelLayout layout =
        decodeChannelLayout(descriptionRegister(file, 0, kPhysicalChannelsRegister),
                            descriptionRegister(file, 0, kLogicalChannelsRegister),
                            descriptionRegister(file, 0, kChannelSizesRegister));
    TerminalListEntry entry;
    entry.digital = true;
    entry.bits = layout.logicalChannels * layout.logicalChannelBits;
    entry.hasInputs = layout.inputBits > 0;
    entry.hasOutputs = layout.outputBits > 0;
    return static_cast<uint16_t>(encodeTerminalListWord(entry));
}

std::unique_ptr<SimStation> makeRailStation(const std::filesystem::path& resources,
                                            const RailStationSpec& spec, uint8_t address) {
    std::vector<std::string> listed;
    for (const std::string& t : spec.terminals)
        if (t != kEndTerminalType) listed.push_back(t);
    auto station = std::make_unique<SimStation>(address, static_cast<int>(listed.size()));

    const std::string coupler = descriptionOf(resources, "Coupler", spec.coupler);
    for (int n = 0; n <= kDirectoryLastTable; ++n) {
        const auto len = directoryTableLen(descriptionRegister(coupler, kTableDirectory, n));
        if (!len || n == kCommandTable || n == kTableDirectory) continue;
        fillTable(*station, 0, n, static_cast<size_t>(*len) + 1, coupler, n);
    }
    // What going online reads whatever the directory says: the identification registers,
    // the terminal list and the directory itself.
    fillTable(*station, 0, kGeneralSettingsTable, kRegistersPerTable, coupler,
              kGeneralSettingsTable);
    fillTable(*station, 0, kTableDirectory, kRegistersPerTable, coupler, kTableDirectory);
    station->addTable(0, kActualTerminalList, kRegistersPerTable);
    identify(*station, spec.coupler);
    applyCouplerProfile(*station, couplerProfile(spec.coupler));
    applyControllerProfile(*station, spec.coupler);
    addProcessImages(*station);

    for (size_t i = 0; i < listed.size(); ++i) {
        const int position = static_cast<int>(i) + 1;
        const std::string file = terminalDescriptionOf(resources, listed[i]);
        station->setRegister(0, kActualTerminalList, position, terminalListWord(listed[i], file));
        if (!hasRegisterModel(file)) continue;
        const int channels = highByte(descriptionRegister(file, 0, kLogicalChannelsRegister));
        for (int c = 0; c < channels; ++c)
            fillTable(*station, position, c, kChannelTableLen + 1, file, 0);
        station->setRegister(position, 0, kNameExtensionRegister,
                             static_cast<uint16_t>(suffixNumber(listed[i])));
    }
    return station;
}

}  // namespace varnak::test
