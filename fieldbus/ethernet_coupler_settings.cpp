#include "fieldbus/ethernet_coupler_settings.h"

#include "couplerservices/coupler_services.h"
#include "settingsforms/settings_codec.h"

namespace varnak {
namespace {

constexpr int32_t kNetIdFirstRegister = 33;
constexpr int32_t kNameFirstRegister = 4;
constexpr int32_t kNameLoadRegisters = 11;   // 4..14: 22 characters
constexpr int32_t kNameStoreRegisters = 10;  // 4..13
constexpr int32_t kLinkRegister = 16;
constexpr int32_t kSpeed100 = 0x2000;
constexpr int32_t kAutoNegotiation = 0x1000;
constexpr int32_t kFullDuplex = 0x0100;
constexpr int32_t kDipDhcp = 0x200;       // DIP switch 10
constexpr int32_t kDipClassB = 0x100;     // DIP switch 9
constexpr int32_t kDipNameNumber = 0xFF;  // DIP switches 1..8
constexpr char kPrintableFirst = 0x20;
constexpr char kPrintableLast = 0x7E;

// The first specific field, the first DHCP field, and the registers of table 121 that fill
// the DHCP fields two by two.
constexpr int kSpecificFirst = 1;
constexpr int kSpecificLast = 8;
constexpr int kOwnAddressByteField = 4;
constexpr int kDhcpFirst = 9;
constexpr int kDhcpLast = 20;
constexpr int32_t kStatusRegisters[] = {2, 3, 4, 5, 8, 9};

const char* const kBytesRange = "0 .. 255";
const char* const kNameRange = "at most 19 characters, codes 0x20 .. 0x7E";

int32_t lowByte(int32_t word) {
    return word & 0xFF;
}
int32_t highByte(int32_t word) {
    return (word >> 8) & 0xFF;
}

// The two fields from field `first` on showing a register's low and high byte.
void showWord(ByteFields& fields, int first, int32_t word) {
    fields[first] = std::to_string(lowByte(word));
    fields[first + 1] = std::to_string(highByte(word));
}

std::string netIdText(const RegisterImage& general) {
    std::string text;
    for (int32_t r = kNetIdFirstRegister; r < kNetIdFirstRegister + 3; ++r)
        for (int32_t byte : {lowByte(general[r]), highByte(general[r])})
            text += (text.empty() ? "" : ".") + std::to_string(byte);
    return text;
}

// The name in registers 4..14 up to its first NUL; a name the coupler completes itself
// ("QY9000", "QZ9000") shows the number of DIP switches 1..8 it completes it with.
std::string shownName(const RegisterImage& settings, int32_t dipSwitches) {
    std::string name;
    for (int32_t i = 0; i < 2 * kNameLoadRegisters; ++i) {
        const int32_t word = settings[kNameFirstRegister + i / 2];
        const int32_t byte = i % 2 == 0 ? lowByte(word) : highByte(word);
        if (byte == 0) break;
        name += static_cast<char>(byte);
    }
    for (const char* own : {"QY9000", "QZ9000"})
        if (name.starts_with(own))
            return std::string(own) + "_" + std::to_string(dipSwitches & kDipNameNumber);
    return name;
}

void storeName(const std::string& name, RegisterImage& settings) {
    std::array<uint8_t, 2 * kNameStoreRegisters + 1> bytes{};
    for (size_t i = 0; i < name.size() && i < kDhcpNameLength; ++i)
        bytes[i] = static_cast<uint8_t>(name[i]);
    for (int32_t k = 0; k < kNameStoreRegisters; ++k)
        settings[kNameFirstRegister + k] = bytes[2 * k + 1] * 256 + bytes[2 * k];
}

// A byte field's value; nullopt for an emptied field, and for one OK refuses.
std::optional<int32_t> byteOf(const std::string& text) {
    const std::optional<int64_t> v = parseWholeNumber(text);
    if (!v || *v < 0 || *v > 0xFF) return std::nullopt;
    return static_cast<int32_t>(*v);
}

bool isEmptied(const std::string& text) {
    return text.find_first_not_of(" \t") == std::string::npos;
}

bool printable(const std::string& name) {
    for (char ch : name)
        if (ch < kPrintableFirst || ch > kPrintableLast) return false;
    return true;
}

int32_t withBit(int32_t value, int32_t bit, bool set) {
    return set ? value | bit : value & ~bit;
}

}  // namespace

CouplerAnswers askCoupler(CouplerServices& services, bool online) {
    CouplerAnswers answers;
    if (!online) return answers;
    int32_t company = 0, mac = 0;
    if (services.fCouplerGetMacId(company, mac))
        answers.macText = CouplerServices::GetHumanMacIdString(company, mac);
    int32_t dip = 0;
    if (services.fCouplerFktDipSwitchValue(dip)) answers.dipSwitches = dip;
    return answers;
}

EthernetView loadEthernetView(const RegisterImage& settings, const EthernetLoadSource& source) {
    EthernetView view;
    view.macText = source.coupler.macText;
    const std::optional<int32_t> dip = source.coupler.dipSwitches;
    view.classB = dip ? std::optional<bool>((*dip & kDipClassB) != 0) : source.classBBefore;
    view.dhcp = dip && (*dip & kDipDhcp) != 0;

    ByteFields& f = view.fields;
    if (source.general) {
        view.netIdText = netIdText(*source.general);
        f[kOwnAddressByteField] =
            std::to_string(highByte((*source.general)[kNetIdFirstRegister + 1]));
    }
    f[1] = std::to_string(lowByte(settings[0]));
    f[2] = std::to_string(highByte(settings[0]));
    f[3] = std::to_string(lowByte(settings[1]));
    showWord(f, 5, settings[2]);
    showWord(f, 7, settings[3]);

    const int32_t link = settings[kLinkRegister];
    view.speed100 = (link & kSpeed100) != 0;
    view.autoNegotiation = (link & kAutoNegotiation) != 0;
    view.fullDuplex = (link & kFullDuplex) != 0;

    view.name = view.loadedName = shownName(settings, dip.value_or(0));

    if (view.dhcp) {
        const std::optional<RegisterImage>& status = source.status;
        if (status && ((*status)[0] & 0xFFFF) == kDhcpReadyMarker) {
            int field = kDhcpFirst;
            for (int32_t r : kStatusRegisters) {
                showWord(f, field, (*status)[r]);
                field += 2;
            }
        } else if (status) {
            view.notice = DhcpNotice::Pending;
            for (int i = kDhcpFirst; i <= kDhcpLast; ++i) f[i] = "0";
        } else {
            // Without the status table nothing is known: the fields stay empty.
            view.notice = source.statusReadFailed ? DhcpNotice::NoCommunication : DhcpNotice::None;
            for (int i = kDhcpFirst; i <= kDhcpLast; ++i) f[i].clear();
        }
        for (int i = kSpecificFirst; i <= kSpecificLast; ++i) f[i].clear();
    } else {
        for (int i = kDhcpFirst; i <= kDhcpLast; ++i) f[i].clear();
    }
    return view;
}

void storeEthernetView(const EthernetView& view, RegisterImage& settings) {
    // Each register from its two fields, low byte first; an emptied field (or one refused
    // before) keeps the loaded byte.
    for (int field = kSpecificFirst; field < kSpecificLast; field += 2) {
        int32_t& reg = settings[(field - 1) / 2];
        const int32_t low = byteOf(view.fields[field]).value_or(lowByte(reg));
        const int32_t high = byteOf(view.fields[field + 1]).value_or(highByte(reg));
        reg = high * 256 + low;
    }
    int32_t& link = settings[kLinkRegister];
    link = withBit(link, kSpeed100, view.speed100);
    link = withBit(link, kAutoNegotiation, view.autoNegotiation);
    link = withBit(link, kFullDuplex, view.fullDuplex);
    if (view.name != view.loadedName) storeName(view.name, settings);
}

std::optional<EthernetRefusal> firstRefusedEthernetEntry(const EthernetView& view) {
    for (int field = kSpecificFirst; field <= kSpecificLast; ++field) {
        const std::string& text = view.fields[field];
        if (!isEmptied(text) && !byteOf(text)) return EthernetRefusal{field, kBytesRange};
    }
    if (view.name != view.loadedName &&
        (view.name.size() > kDhcpNameLength || !printable(view.name)))
        return EthernetRefusal{0, kNameRange};
    return std::nullopt;
}

}  // namespace varnak
