#pragma once
// The Ethernet couplers' network settings without a window: what the dialog shows for the
// registers of tables 100 (its settings), 0 (the YXM-Net-ID) and 121 (what the DHCP server
// gave) and for the coupler's answers (MAC id, DIP switches), and what OK stores back into
// table 100. A byte pair of a register is held low byte first.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "settingsforms/settings_form_spec.h"

namespace varnak {

class CouplerServices;

inline constexpr int32_t kEthernetStatusTable = 121;
// Register 0 of the status table once the DHCP server's address is taken.
inline constexpr int32_t kDhcpReadyMarker = 0x7C4E;
// The characters of the DHCP name OK stores (registers 4..13, the last byte 0).
inline constexpr size_t kDhcpNameLength = 19;

// What the coupler told at a load.
struct CouplerAnswers {
    std::string macText;                 // "" when the MAC id was not obtained
    std::optional<int32_t> dipSwitches;  // bit n - 1 = DIP switch n; nullopt: query failed
};

// Online the MAC id and then the DIP switches, asked the coupler by the Boolean members (a
// confirmed answer without a value gives 00-00-00-00-00-00 and DIP 0); offline nothing is
// asked and both count as not obtained.
CouplerAnswers askCoupler(CouplerServices& services, bool online);

// What a load starts from besides table 100.
struct EthernetLoadSource {
    CouplerAnswers coupler;
    std::optional<RegisterImage> general;  // table 0; nullopt: the rail has none
    std::optional<RegisterImage> status;   // table 121; nullopt: none, or its read failed
    bool statusReadFailed = false;         // the rail has table 121 but it could not be read
    std::optional<bool> classBBefore;      // the class options as the last load left them
};

// What a load in DHCP mode says about the server's address: nothing (it is shown, or the
// rail has no status table, where no Refresh can help), that the server has not answered
// yet, or that the status table could not be read (the line, not the server).
enum class DhcpNotice { None, Pending, NoCommunication };

// The byte fields as the form numbers them: 1..4 specific address (4 is the coupler's own
// last address byte, shown only), 5..8 specific mask, 9..12 DHCP address, 13..16 DHCP
// mask, 17..20 DNS server. An empty text is an emptied field.
using ByteFields = std::array<std::string, 21>;

struct EthernetView {
    std::string macText;
    std::string netIdText;
    bool dhcp = false;           // DIP switch 10: the coupler asks a DHCP server
    std::optional<bool> classB;  // DIP switch 9; nullopt: neither option selected
    ByteFields fields;
    bool speed100 = false;
    bool autoNegotiation = false;
    bool fullDuplex = false;
    std::string name;        // the DHCP name shown, one character per byte
    std::string loadedName;  // as the load showed it: a name left so stores nothing
    DhcpNotice notice = DhcpNotice::None;
};

EthernetView loadEthernetView(const RegisterImage& settings, const EthernetLoadSource& source);

// OK's store into table 100 (as loaded): registers 0..3 from fields 1..8, an emptied field
// keeping its byte; register 16's link bits 13, 12 and 8, the other bits kept; an edited
// DHCP name into registers 4..13.
void storeEthernetView(const EthernetView& view, RegisterImage& settings);

// An entry OK refuses: byte fields 1..8 take 0..255 or nothing, an edited DHCP name at most
// 19 characters 0x20..0x7E.
struct EthernetRefusal {
    int field = 0;  // 1..8, or 0 for the DHCP name
    std::string range;
};
std::optional<EthernetRefusal> firstRefusedEthernetEntry(const EthernetView& view);

}  // namespace varnak
