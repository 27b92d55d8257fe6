#pragma once
// What the GSD generator knows of the connected coupler: its identification, its releases,
// its four property codes and its terminals as the coupler reported them.
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace varnak::gsd {

// Local time of the generation; replaceable so that generated files can be compared.
using GsdClock = std::function<std::tm()>;
std::tm localNow();

// One terminal of the coupler's terminal list (a TerminalListWord and what was read about it).
struct GsdTerminalEntry {
    uint16_t listWord = 0;
    bool flagA = false;
    bool flagB = false;
    uint8_t size = 255;  // 255 = none

    bool digital() const { return (listWord & 0x8000) != 0; }
    int bitCount() const { return (listWord >> 8) & 0x7F; }
    bool hasInputs() const { return (listWord & 0x0001) != 0; }
    bool hasOutputs() const { return (listWord & 0x0002) != 0; }
    int typeNumber() const { return listWord & 0x7FFF; }
};

// Property codes; each is also the bit that a selector mask tests.
enum GsdGroup { kGroupHighEnd = 0, kGroupEconomy, kGroupLowCost, kGroupConfigured, kGroupQp };
enum GsdAsic { kAsicSpc = 0, kAsicSpc3, kAsicSpc4, kAsicSpc41, kAsicDpc31 };
enum GsdBaud { kBaud1_5M = 0, kBaud12M };
enum GsdInterface { kInterfaceRs485 = 0, kInterfaceFibre };

class CGSDDatei {
  public:
    std::tm created{};
    std::string softwareRelease = "??";
    std::string hardwareRelease = "??";
    std::string name;
    std::string targetBaseName;
    int group = kGroupHighEnd;
    int asic = kAsicSpc3;
    int baudRate = kBaud1_5M;
    int interfaceKind = kInterfaceFibre;
    std::vector<GsdTerminalEntry> terminals;
};

// A coupler type the generator knows, by the type number of table 9 register 0.
struct GsdCouplerType {
    int typeNumber;
    std::string_view name;
    int group;
    int asic;
    int baudRate;
    int interfaceKind;
};

// The known type, or nullptr.
const GsdCouplerType* findCouplerType(int typeNumber);

// "SPC", "SPC3", ... for an ASIC code; empty for an unknown code.
std::string_view asicName(int asic);

}  // namespace varnak::gsd
