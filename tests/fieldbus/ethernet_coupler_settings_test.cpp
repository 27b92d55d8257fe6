// The Ethernet couplers' settings without a window: golden cases for what a load shows and
// what OK stores, the refused entries, and over random register images what a load and
// store may change.
#include "fieldbus/ethernet_coupler_settings.h"

#include <gtest/gtest.h>

#include <random>

namespace varnak {
namespace {

RegisterImage registers(std::initializer_list<std::pair<size_t, int32_t>> values) {
    RegisterImage r{};
    for (const auto& [reg, value] : values) r[reg] = value;
    return r;
}

// Table 100 as the QY9000 description ships it: 192.168.1.20 / 255.255.255.0, "QY9000".
const RegisterImage kShipped = registers({{0, 0xA8C0},
                                          {1, 0x1401},
                                          {2, 0xFFFF},
                                          {3, 0x00FF},
                                          {4, 0x5951},
                                          {5, 0x3039},
                                          {6, 0x3030},
                                          {16, 0x3100}});
const RegisterImage kLease = registers(
    {{0, 0x7C4E}, {2, 0x000A}, {3, 0x0700}, {4, 0xFFFF}, {5, 0x00FF}, {8, 0x000A}, {9, 0x0100}});

EthernetLoadSource source(std::optional<int32_t> dip, std::optional<RegisterImage> status = {},
                          std::optional<bool> classBBefore = {}, bool statusReadFailed = false) {
    return {{"00-01-05-1A-2B-3C", dip},
            registers({{33, 0xA8C0}, {34, 0x0501}, {35, 0x0101}}),
            status,
            statusReadFailed,
            classBBefore};
}

std::string joined(const EthernetView& v, int first, int last) {
    std::string s;
    for (int i = first; i <= last; ++i) s += (i > first ? "." : "") + v.fields[i];
    return s;
}

TEST(EthernetCouplerSettings, WhatALoadShows) {
    struct Case {
        const char* what;
        EthernetLoadSource from;
        bool dhcp;
        std::optional<bool> classB;
        const char* specific;    // fields 1..8
        const char* dhcpFields;  // fields 9..20
        const char* name;
        DhcpNotice notice;
    };
    const Case cases[] = {
        {"specific address, byte 4 the coupler's own", source(0), false, false,
         "192.168.1.5.255.255.255.0", "...........", "QY9000_0", DhcpNotice::None},
        {"DHCP without the marker", source(0x20C, RegisterImage{}), true, false, ".......",
         "0.0.0.0.0.0.0.0.0.0.0.0", "QY9000_12", DhcpNotice::Pending},
        {"DHCP with the server's address", source(0x30C, kLease), true, true, ".......",
         "10.0.0.7.255.255.255.0.10.0.0.1", "QY9000_12", DhcpNotice::None},
        {"DHCP without the status table", source(0x2FF), true, false, ".......", "...........",
         "QY9000_255", DhcpNotice::None},
        {"DHCP, the status table not read", source(0x20C, std::nullopt, {}, true), true, false,
         ".......", "...........", "QY9000_12", DhcpNotice::NoCommunication},
        {"specific address, the status table not read", source(0x00C, std::nullopt, {}, true),
         false, false, "192.168.1.5.255.255.255.0", "...........", "QY9000_12", DhcpNotice::None},
        {"switches not read: the class kept", source(std::nullopt, kLease, true), false, true,
         "192.168.1.5.255.255.255.0", "...........", "QY9000_0", DhcpNotice::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const EthernetView v = loadEthernetView(kShipped, c.from);
        EXPECT_EQ(v.netIdText, "192.168.1.5.1.1");
        EXPECT_EQ(v.macText, "00-01-05-1A-2B-3C");
        EXPECT_EQ(v.dhcp, c.dhcp);
        EXPECT_EQ(v.classB, c.classB);
        EXPECT_EQ(joined(v, 1, 8), c.specific);
        EXPECT_EQ(joined(v, 9, 20), c.dhcpFields);
        EXPECT_EQ(v.name, c.name);
        EXPECT_EQ(v.notice, c.notice);
    }
    RegisterImage named = kShipped;
    for (int32_t r = 4; r <= 14; ++r) named[r] = 0x4241;
    EXPECT_EQ(loadEthernetView(named, source(0)).name, "ABABABABABABABABABABAB");
    named[6] = 0x0043;
    EXPECT_EQ(loadEthernetView(named, source(0)).name, "ABABC");  // up to the first NUL
    EthernetLoadSource noGeneral = source(0);
    noGeneral.general.reset();
    const EthernetView v = loadEthernetView(kShipped, noGeneral);
    EXPECT_EQ(v.netIdText + v.fields[4], "");
}

TEST(EthernetCouplerSettings, WhatOkStores) {
    EthernetView v = loadEthernetView(kShipped, source(0));
    RegisterImage r = kShipped;
    storeEthernetView(v, r);
    EXPECT_EQ(r[1], 0x0501);  // byte 4 from the coupler's own address
    v.fields[3] = "2";
    v.fields[8] = "";  // emptied: the loaded byte stays
    storeEthernetView(v, r = kShipped);
    EXPECT_EQ((std::vector<int32_t>{r[0], r[1], r[2], r[3]}),
              (std::vector<int32_t>{0xA8C0, 0x0502, 0xFFFF, 0x00FF}));

    // DHCP mode: the emptied specific fields keep registers 0..3; an unedited name stays.
    storeEthernetView(loadEthernetView(kShipped, source(0x20C, kLease)), r = kShipped);
    EXPECT_EQ(r, kShipped);

    using Link = std::tuple<int32_t, bool, int32_t>;  // before, all ticked or none, after
    for (const auto& [before, ticked, after] : std::initializer_list<Link>{
             {0x0000, true, 0x3100}, {0xFFFF, false, 0xCEFF}, {0x2001, false, 0x0001}}) {
        v.speed100 = v.autoNegotiation = v.fullDuplex = ticked;
        r[16] = before;
        storeEthernetView(v, r);
        EXPECT_EQ(r[16], after) << before;
    }

    r = kShipped;
    r[14] = 0x7777;
    v.name = "AB";
    storeEthernetView(v, r);
    EXPECT_EQ(r[4], 0x4241);
    for (int32_t k = 5; k <= 13; ++k) EXPECT_EQ(r[k], 0) << k;
    v.name = "abcdefghijklmnopqrstuvwxy";
    storeEthernetView(v, r);
    EXPECT_EQ((std::vector<int32_t>{r[4], r[12], r[13], r[14]}),
              (std::vector<int32_t>{0x6261, 0x7271, 0x0073, 0x7777}));  // 19 characters, then 0
}

TEST(EthernetCouplerSettings, RefusedEntries) {
    const EthernetView loaded = loadEthernetView(kShipped, source(0));
    const char* const kName = "at most 19 characters, codes 0x20 .. 0x7E";
    const std::tuple<int, std::string, const char*> cases[] = {
        {1, "300", "0 .. 255"},
        {2, "-1", "0 .. 255"},
        {8, "1.5", "0 .. 255"},
        {5, "", nullptr},
        {6, " 7 ", nullptr},
        {0, "Halle 3", nullptr},
        {0, "", nullptr},
        {0, "Halle\t3", kName},
        {0,
         "Stra\xDF"
         "e",
         kName},
        {0, std::string(19, '~'), nullptr},
        {0, std::string(20, 'x'), kName},
    };
    for (const auto& [field, entry, range] : cases) {
        SCOPED_TRACE(entry);
        EthernetView v = loaded;
        (field ? v.fields[field] : v.name) = entry;
        const auto refused = firstRefusedEthernetEntry(v);
        ASSERT_EQ(refused.has_value(), range != nullptr);
        if (refused) {
            EXPECT_EQ(std::pair(refused->field, refused->range),
                      std::pair(field, std::string(range)));
        }
    }
    // A name left as loaded is never refused, whatever the coupler holds.
    RegisterImage odd = kShipped;
    odd[4] = 0x01FF;
    EXPECT_FALSE(firstRefusedEthernetEntry(loadEthernetView(odd, source(0))));
}

TEST(EthernetCouplerSettings, ALoadAndStoreChangesOnlyWhatTheFormStandsFor) {
    std::mt19937 rng(23);
    auto image = [&] {
        RegisterImage r{};
        for (int32_t& v : r) v = static_cast<int32_t>(rng() & 0xFFFF);
        return r;
    };
    for (int round = 0; round < 500; ++round) {
        SCOPED_TRACE(round);
        EthernetLoadSource from;
        if (rng() % 4) from.coupler.dipSwitches = static_cast<int32_t>(rng() & 0xFFFF);
        if (rng() % 4) from.general = image();
        if (rng() % 2) from.status = image();
        const RegisterImage before = image();
        EthernetView v = loadEthernetView(before, from);
        v.speed100 = rng() & 1;
        v.autoNegotiation = rng() & 1;
        v.fullDuplex = rng() & 1;
        if (rng() & 1) v.name = std::string(rng() % 20, static_cast<char>(0x20 + rng() % 95));
        ASSERT_FALSE(firstRefusedEthernetEntry(v));
        RegisterImage after = before;
        storeEthernetView(v, after);
        for (size_t r = 0; r < after.size(); ++r) {
            const bool named = r <= 13 || r == 16;
            const bool nameKept = r >= 4 && r <= 13 && v.name == v.loadedName;
            const bool wordKept =
                r == 0 || r == 2 || r == 3 || (r == 1 && (v.dhcp || !from.general));
            if (!named || nameKept || wordKept) {
                EXPECT_EQ(after[r], before[r]) << r;
            }
        }
        EXPECT_EQ(after[1] & 0xFF, before[1] & 0xFF);
        EXPECT_EQ(after[16] & ~0x3100, before[16] & ~0x3100);
    }
}

}  // namespace
}  // namespace varnak
