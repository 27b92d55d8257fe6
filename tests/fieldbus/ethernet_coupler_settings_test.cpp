// The Ethernet couplers' settings without a window: golden cases for what a load shows and
// what OK stores, the refused entries, and over random register images what a load and
// store may change.
#include "fieldbus/ethernet_coupler_settings.h"

#include <gtest/gtest.h>

#include <random>

namespace varnak {
namespace {

// Table 100 as the QY9000 description ships it: 192.168.1.20 / 255.255.255.0, "QY9000",
// link 0x3100.
RegisterImage shippedSettings() {
    RegisterImage r{};
    r[0] = 0xA8C0;
    r[1] = 0x1401;
    r[2] = 0xFFFF;
    r[3] = 0x00FF;
    r[4] = 0x5951;
    r[5] = 0x3039;
    r[6] = 0x3030;
    r[16] = 0x3100;
    return r;
}

RegisterImage netId(int32_t r33, int32_t r34, int32_t r35) {
    RegisterImage r{};
    r[33] = r33;
    r[34] = r34;
    r[35] = r35;
    return r;
}

EthernetLoadSource withDip(std::optional<int32_t> dip) {
    EthernetLoadSource s;
    s.coupler = {"00-01-05-1A-2B-3C", dip};
    s.general = netId(0xA8C0, 0x1401, 0x0101);
    s.status = RegisterImage{};
    return s;
}

std::vector<std::string> fields(const EthernetView& v, int first, int last) {
    return {v.fields.begin() + first, v.fields.begin() + last + 1};
}

TEST(EthernetCouplerSettings, TheSpecificAddressTakesTheCouplersOwnLastByte) {
    EthernetLoadSource source = withDip(0);
    source.general = netId(0xA8C0, 0x0501, 0x0101);
    EthernetView view = loadEthernetView(shippedSettings(), source);
    EXPECT_EQ(view.netIdText, "192.168.1.5.1.1");
    EXPECT_EQ(fields(view, 1, 8),
              (std::vector<std::string>{"192", "168", "1", "5", "255", "255", "255", "0"}));
    EXPECT_EQ(fields(view, 9, 20), std::vector<std::string>(12, ""));
    EXPECT_FALSE(view.dhcpPending);
    RegisterImage stored = shippedSettings();
    storeEthernetView(view, stored);
    EXPECT_EQ(stored[1], 0x0501);  // byte 4 from the coupler's own address, not the table
    view.fields[3] = "2";
    view.fields[5] = " 255 ";
    view.fields[8] = "";  // emptied: the loaded byte stays
    stored = shippedSettings();
    storeEthernetView(view, stored);
    EXPECT_EQ((std::vector<int32_t>{stored[0], stored[1], stored[2], stored[3]}),
              (std::vector<int32_t>{0xA8C0, 0x0502, 0xFFFF, 0x00FF}));

    source.general.reset();  // a description without table 0: nothing to show or store
    view = loadEthernetView(shippedSettings(), source);
    EXPECT_EQ(view.netIdText, "");
    EXPECT_EQ(view.fields[4], "");
    storeEthernetView(view, stored = shippedSettings());
    EXPECT_EQ(stored, shippedSettings());
}

TEST(EthernetCouplerSettings, LinkBitsAreChangedInPlace) {
    struct Case {
        int32_t before;
        bool ticked;
        int32_t after;
    };
    for (const Case& c : {Case{0x0000, true, 0x3100}, Case{0xFFFF, false, 0xCEFF},
                          Case{0x3100, true, 0x3100}, Case{0x2001, false, 0x0001}}) {
        RegisterImage settings = shippedSettings();
        settings[16] = c.before;
        EthernetView view = loadEthernetView(settings, withDip(0));
        EXPECT_EQ(view.speed100, (c.before & 0x2000) != 0);
        view.speed100 = view.autoNegotiation = view.fullDuplex = c.ticked;
        storeEthernetView(view, settings);
        EXPECT_EQ(settings[16], c.after) << std::hex << c.before;
    }
}

TEST(EthernetCouplerSettings, TheDhcpNameShownAndStored) {
    EthernetView view = loadEthernetView(shippedSettings(), withDip(0x20C));
    EXPECT_EQ(view.name, "QY9000_12");
    EXPECT_EQ(loadEthernetView(shippedSettings(), withDip(std::nullopt)).name, "QY9000_0");
    RegisterImage settings = shippedSettings();
    settings[4] = 0x5A51;  // "QZ9000"
    EXPECT_EQ(loadEthernetView(settings, withDip(0x1FF)).name, "QZ9000_255");
    for (int32_t r = 4; r <= 14; ++r) settings[r] = 0x4241;  // 22 characters, no NUL
    EXPECT_EQ(loadEthernetView(settings, withDip(0)).name, "ABABABABABABABABABABAB");
    settings[6] = 0x0043;  // "ABABC" and then a NUL
    EXPECT_EQ(loadEthernetView(settings, withDip(0)).name, "ABABC");

    // Stored only when edited: the first 19 characters into registers 4..13, 14 untouched.
    settings = shippedSettings();
    settings[14] = 0x7777;
    storeEthernetView(view, settings);
    EXPECT_EQ(settings, [] {
        RegisterImage r = shippedSettings();
        r[14] = 0x7777;
        return r;
    }());
    view.name = "AB";
    storeEthernetView(view, settings);
    EXPECT_EQ(settings[4], 0x4241);
    for (int32_t r = 5; r <= 13; ++r) EXPECT_EQ(settings[r], 0) << r;
    view.name = "abcdefghijklmnopqrstuvwxy";
    storeEthernetView(view, settings);
    EXPECT_EQ(settings[4], 0x6261);
    EXPECT_EQ(settings[12], 0x7271);
    EXPECT_EQ(settings[13], 0x0073);  // the 19th character, then 0
    EXPECT_EQ(settings[14], 0x7777);
}

TEST(EthernetCouplerSettings, TheDipSwitchesChooseTheModeTheClassAndTheEmptiedFrame) {
    struct Case {
        const char* what;
        std::optional<int32_t> dip;
        std::optional<bool> classBBefore;
        bool dhcp;
        std::optional<bool> classB;
    };
    const Case cases[] = {
        {"DHCP, class C", 0x20C, std::nullopt, true, false},
        {"class B", 0x100, false, false, true},
        {"confirmed without a value (0)", 0, true, false, false},
        {"failed: the class options keep their state", std::nullopt, true, false, true},
        {"failed at the first load: neither selected", std::nullopt, std::nullopt, false,
         std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EthernetLoadSource source = withDip(c.dip);
        source.classBBefore = c.classBBefore;
        const EthernetView view = loadEthernetView(shippedSettings(), source);
        EXPECT_EQ(view.dhcp, c.dhcp);
        EXPECT_EQ(view.classB, c.classB);
        EXPECT_EQ(fields(view, 1, 8).front().empty(), c.dhcp);
        EXPECT_EQ(view.macText, "00-01-05-1A-2B-3C");
    }
}

TEST(EthernetCouplerSettings, TheDhcpFieldsFollowTheReadyMarker) {
    RegisterImage status{};
    status[0] = 0x7C4E;
    status[2] = 0x000A;
    status[3] = 0x0700;
    status[4] = 0xFFFF;
    status[5] = 0x00FF;
    status[8] = 0x000A;
    status[9] = 0x0100;
    EthernetLoadSource source = withDip(0x20C);
    source.status = status;
    EthernetView view = loadEthernetView(shippedSettings(), source);
    EXPECT_FALSE(view.dhcpPending);
    EXPECT_EQ(fields(view, 9, 20), (std::vector<std::string>{"10", "0", "0", "7", "255", "255",
                                                             "255", "0", "10", "0", "0", "1"}));
    EXPECT_EQ(fields(view, 1, 8), std::vector<std::string>(8, ""));

    status[0] = 0x17C4E;  // only the low 16 bits count
    source.status = status;
    EXPECT_FALSE(loadEthernetView(shippedSettings(), source).dhcpPending);
    status[0] = 0;
    source.status = status;
    view = loadEthernetView(shippedSettings(), source);
    EXPECT_TRUE(view.dhcpPending);
    EXPECT_EQ(fields(view, 9, 20), std::vector<std::string>(12, "0"));
    source.status.reset();  // no status table, or its read failed: nothing known
    view = loadEthernetView(shippedSettings(), source);
    EXPECT_TRUE(view.dhcpPending);
    EXPECT_EQ(fields(view, 9, 20), std::vector<std::string>(12, ""));

    // OK in DHCP mode: the emptied specific fields keep registers 0..3 as loaded.
    view.fields[9] = "1";
    RegisterImage stored = shippedSettings();
    storeEthernetView(view, stored);
    EXPECT_EQ(stored, shippedSettings());
}

TEST(EthernetCouplerSettings, RefusedEntries) {
    const EthernetView loaded = loadEthernetView(shippedSettings(), withDip(0x20C));
    struct Case {
        int field;  // 0: the name
        std::string entry;
        bool refused;
    };
    const Case cases[] = {
        {1, "300", true},
        {2, "-1", true},
        {3, "abc", true},
        {8, "1.5", true},
        {5, "", false},
        {6, "  ", false},
        {7, "255", false},
        {1, " 0 ", false},
        {0, "Halle 3", false},
        {0, "", false},
        {0, "Halle\t3", true},
        {0,
         "Stra\xDF"
         "e",
         true},
        {0, "a\x7F", true},
        {0, std::string(19, 'x'), false},
        {0, std::string(20, 'x'), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.field) + " " + c.entry);
        EthernetView view = loaded;
        (c.field ? view.fields[c.field] : view.name) = c.entry;
        const auto refused = firstRefusedEthernetEntry(view);
        ASSERT_EQ(refused.has_value(), c.refused);
        if (!refused) continue;
        EXPECT_EQ(refused->field, c.field);
        EXPECT_EQ(refused->range,
                  c.field ? "0 .. 255" : "at most 19 characters, codes 0x20 .. 0x7E");
    }
    // A name left as loaded is never refused, whatever the coupler holds.
    RegisterImage odd = shippedSettings();
    odd[4] = 0x01FF;
    EthernetView view = loadEthernetView(odd, withDip(0));
    EXPECT_EQ(view.name,
              "\xFF\x01"
              "9000");
    EXPECT_FALSE(firstRefusedEthernetEntry(view));
}

TEST(EthernetCouplerSettings, ALoadAndStoreChangesOnlyWhatTheFormStandsFor) {
    std::mt19937 rng(23);
    auto word = [&] { return static_cast<int32_t>(rng() & 0xFFFF); };
    auto image = [&] {
        RegisterImage r{};
        for (int32_t& v : r) v = word();
        return r;
    };
    for (int round = 0; round < 500; ++round) {
        SCOPED_TRACE(round);
        EthernetLoadSource source;
        if (rng() % 4) source.coupler.dipSwitches = word();
        if (rng() % 4) source.general = image();
        if (rng() % 2) source.status = image();
        const RegisterImage before = image();
        EthernetView view = loadEthernetView(before, source);
        view.speed100 = rng() & 1;
        view.autoNegotiation = rng() & 1;
        view.fullDuplex = rng() & 1;
        if (rng() & 1) {
            view.name.clear();
            for (size_t n = rng() % 20; n > 0; --n)
                view.name += static_cast<char>(0x20 + rng() % 95);
        }
        ASSERT_FALSE(firstRefusedEthernetEntry(view));
        RegisterImage after = before;
        storeEthernetView(view, after);
        for (size_t r = 0; r < after.size(); ++r) {
            if (r > 16 || r == 14 || r == 15) {
                EXPECT_EQ(after[r], before[r]) << r;
            }
        }
        EXPECT_EQ(after[16] & ~0x3100, before[16] & ~0x3100);
        EXPECT_EQ(after[0], before[0]);
        EXPECT_EQ(after[2], before[2]);
        EXPECT_EQ(after[3], before[3]);
        EXPECT_EQ(after[1] & 0xFF, before[1] & 0xFF);
        if (view.dhcp || !source.general) {
            EXPECT_EQ(after[1], before[1]);
        }
        if (view.name == view.loadedName) {
            for (size_t r = 4; r <= 13; ++r) EXPECT_EQ(after[r], before[r]) << r;
        }
    }
}

}  // namespace
}  // namespace varnak
