#include "comctl/gsd_identification.h"

#include <gtest/gtest.h>

#include <string>

#include "comctl/gsd_generator.h"
#include "tests/comctl/gsd_fake_device.h"
#include "tests/support/temp_dir.h"

namespace varnak::gsd {
namespace {

using test::GsdFakeDevice;
using test::readFile;
using test::TempDir;

class GsdIdentificationTest : public ::testing::Test {
  protected:
    GsdIdentificationTest() { log_.create(dir_ / "GSD.LOG"); }

    int32_t identify() { return identifyCoupler(device_, log_, test::gsdTestTime, coupler_); }
    std::string logText() { return readFile(dir_ / "GSD.LOG"); }

    TempDir dir_;
    GsdLog log_;
    GsdFakeDevice device_;
    CGSDDatei coupler_;
};

// Every way the identification refuses a coupler: the whole generation ends with -1, the
// log holds the reason and the summary, and no output file appears.
TEST(GsdIdentificationRefusals, EachBranchEndsWithItsMessage) {
    struct Case {
        const char* what;
        void (*prepare)(GsdFakeDevice&);
        const char* log;
    };
    const Case cases[] = {
        {"ethernet kind 256",
         [](GsdFakeDevice& d) {
             d.set(0, 0, 248, 0x7C4E);
             d.set(0, 0, 246, 256);
         },
         "[ERROR]QY kann nicht identifiziert werden.\r\n"},
        {"ethernet kind other",
         [](GsdFakeDevice& d) {
             d.set(0, 0, 248, 0x7C4E);
             d.set(0, 0, 246, 7);
         },
         "[ERROR]Koppler kann nicht identifiziert werden.\r\n"},
        {"family 2", [](GsdFakeDevice& d) { d.set(0, 0, 254, 2); },
         "[ERROR]QL kann nicht identifiziert werden\r\n"},
        {"family 256", [](GsdFakeDevice& d) { d.set(0, 0, 254, 256); },
         "[ERROR]QY kann nicht identifiziert werden\r\n"},
        {"family 512", [](GsdFakeDevice& d) { d.set(0, 0, 254, 512); },
         "[ERROR]QX kann nicht identifiziert werden\r\n"},
        {"family 4096", [](GsdFakeDevice& d) { d.set(0, 0, 254, 4096); },
         "[ERROR]QK kann nicht identifiziert werden\r\n"},
        {"type read fails", [](GsdFakeDevice& d) { d.fail(0, 9, 0); },
         "[ERROR]Typ des Buskoppler konnte nicht ausgelesen werden.\r\n"},
        {"unknown type", [](GsdFakeDevice& d) { d.coupler(3001); },
         "[ERROR]Keine Information ueber die Eigenschaften des ausgelesen Buskoppler.\r\n"
         "\tDefaultwerte: HighEnd, SPC, 1.5 Baud, RS485\r\n"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        GsdFakeDevice device;
        device.coupler(3100);
        c.prepare(device);
        GsdOptions options{dir / "GSD.LOG", test::gsdTestTime};
        EXPECT_EQ(createGsdFiles(device, (dir / "plant.GSD").string(),
                                 std::getenv("VARNAK_RESOURCE_DIR"), options),
                  -1)
            << c.what;
        EXPECT_EQ(readFile(dir / "GSD.LOG"),
                  std::string(c.log) + "[ERROR]1 Fehler, 0 Warnung(en)\r\n\r\n")
            << c.what;
        EXPECT_FALSE(std::filesystem::exists(dir / "plant.gsg")) << c.what;
    }
}

TEST_F(GsdIdentificationTest, KnownTypesSetNameAndProperties) {
    struct Case {
        int type;
        const char* name;
        int group, asic, baud, interfaceKind;
    };
    const Case cases[] = {
        {3000, "QZ3000", 0, 0, 0, 0}, {3010, "QZ3010", 1, 1, 0, 0}, {3100, "QZ3100", 0, 2, 1, 0},
        {3110, "QZ3110", 1, 1, 1, 0}, {3120, "QZ3120", 0, 1, 1, 0}, {3500, "QZ3500", 0, 1, 0, 1},
    };
    for (const Case& c : cases) {
        device_.coupler(c.type, 0x2A07);
        CGSDDatei coupler;
        ASSERT_EQ(identifyCoupler(device_, log_, test::gsdTestTime, coupler), 0);
        EXPECT_EQ(coupler.name, c.name);
        EXPECT_EQ(coupler.group, c.group) << c.type;
        EXPECT_EQ(coupler.asic, c.asic) << c.type;
        EXPECT_EQ(coupler.baudRate, c.baud) << c.type;
        EXPECT_EQ(coupler.interfaceKind, c.interfaceKind) << c.type;
        EXPECT_EQ(coupler.softwareRelease, "2A");
        EXPECT_EQ(coupler.hardwareRelease, "00");
    }
    EXPECT_EQ(logText(), "");
}

TEST_F(GsdIdentificationTest, EthernetMarkerWithKindOneGoesOnWithoutFamilyCheck) {
    device_.coupler(3000);
    device_.set(0, 0, 248, 0x7C4E);
    device_.set(0, 0, 246, 1);
    device_.set(0, 0, 254, 512);
    EXPECT_EQ(identify(), 0);
    EXPECT_EQ(coupler_.name, "QZ3000");
}

TEST_F(GsdIdentificationTest, OtherFamilyCodesGoOn) {
    device_.coupler(3000);
    device_.set(0, 0, 254, 3);
    EXPECT_EQ(identify(), 0);
}

TEST_F(GsdIdentificationTest, FailedIdentificationReadsCountAsZero) {
    // The fake leaves the Ethernet marker in the buffer of a failed read; taken as read it
    // would refuse the coupler.
    device_.coupler(3000);
    device_.fail(0, 0, 248);
    device_.fail(0, 0, 254);
    EXPECT_EQ(identify(), 0);
    EXPECT_EQ(coupler_.name, "QZ3000");

    GsdFakeDevice marker;
    marker.coupler(3000);
    marker.set(0, 0, 248, 0x7C4E);
    marker.fail(0, 0, 246);
    CGSDDatei coupler;
    EXPECT_EQ(identifyCoupler(marker, log_, test::gsdTestTime, coupler), -1);
    EXPECT_EQ(logText(), "[ERROR]Koppler kann nicht identifiziert werden.\r\n");
}

TEST_F(GsdIdentificationTest, FailedFirmwareReadKeepsTheUnknownRelease) {
    device_.coupler(3000);
    device_.fail(0, 0, 255);
    EXPECT_EQ(identify(), 0);
    EXPECT_EQ(coupler_.softwareRelease, "??");
    EXPECT_EQ(coupler_.hardwareRelease, "00");
    EXPECT_EQ(logText(),
              "[WARN]Software-Version des Buskopplers konnte nicht ausgelesen werden.\r\n");
}

TEST_F(GsdIdentificationTest, EveryReadGoesToStationOne) {
    device_.coupler(3100);
    device_.addTerminal(1501);
    device_.addTerminal(6001);
    identify();
    ASSERT_FALSE(device_.reads.empty());
    for (const auto& read : device_.reads) EXPECT_EQ(read.station, 1);
}

// The list ends at a 0 word; the device register model also ends it at 0xFFFF, which taken
// as a word would be a phantom digital terminal of 127 bits.
TEST_F(GsdIdentificationTest, TerminalListIsReadInOneRequestAndEndsAtZeroOrFFFF) {
    for (uint16_t end : {0x0000, 0xFFFF}) {
        SCOPED_TRACE(end);
        GsdFakeDevice device;
        device.coupler(3100);
        device.addTerminal(0x8401);
        device.addTerminal(0x8802);
        device.addTerminal(end);
        device.addTerminal(0x8801);
        CGSDDatei coupler;
        EXPECT_EQ(identifyCoupler(device, log_, test::gsdTestTime, coupler), 0);
        ASSERT_EQ(coupler.terminals.size(), 2u);
        EXPECT_EQ(coupler.terminals[0].listWord, 0x8401);
        EXPECT_EQ(coupler.terminals[1].listWord, 0x8802);
        int listReads = 0;
        for (const auto& read : device.reads) {
            if (read.table == 9 && read.firstRegister == 1) {
                ++listReads;
                EXPECT_EQ(read.count, 64);
            }
        }
        EXPECT_EQ(listReads, 1);
    }
}

TEST_F(GsdIdentificationTest, SixtyFourTerminalsFillTheList) {
    device_.coupler(3100);
    for (int i = 0; i < 64; ++i) device_.addTerminal(0x8801);
    device_.set(0, 9, 65, 0x8801);
    EXPECT_EQ(identify(), 0);
    EXPECT_EQ(coupler_.terminals.size(), 64u);
}

TEST_F(GsdIdentificationTest, FailedTerminalListGivesNoTerminals) {
    device_.coupler(3100);
    device_.addTerminal(0x8401);
    device_.fail(0, 9, 30);
    EXPECT_EQ(identify(), 0);
    EXPECT_TRUE(coupler_.terminals.empty());
    EXPECT_EQ(logText(), "[WARN]Klemmen des Buskopplers konnten nicht ausgelesen werden.\r\n");
}

TEST_F(GsdIdentificationTest, FlagsOfNonDigitalTerminals) {
    device_.coupler(3100);
    device_.set(0, 0, 3, 0x0004);                    // flag B for every non-digital terminal
    int counter = device_.addTerminal(1501);         // register 32 bit 1 clear: flag A
    int encoder = device_.addTerminal(5001);         // register 32 bit 1 set: no flag A
    int serial = device_.addTerminal(6001);          // register 34 clear, size = 35 + 1
    int serialStandard = device_.addTerminal(6021);  // register 34 bit 1 set: no size
    int other = device_.addTerminal(3002);           // no mode register
    device_.addTerminal(0x8401);
    device_.set(encoder, 0, 32, 0x0002);
    device_.set(serial, 0, 35, 7);
    device_.set(serialStandard, 0, 34, 0x0002);
    device_.set(serialStandard, 0, 35, 9);
    device_.set(other, 0, 32, 0x0002);
    (void)counter;
    ASSERT_EQ(identify(), 0);
    ASSERT_EQ(coupler_.terminals.size(), 6u);
    const auto& t = coupler_.terminals;
    EXPECT_TRUE(t[0].flagA);
    EXPECT_FALSE(t[1].flagA);
    EXPECT_TRUE(t[2].flagA);
    EXPECT_EQ(t[2].size, 8);
    EXPECT_FALSE(t[3].flagA);
    EXPECT_EQ(t[3].size, 255);
    EXPECT_FALSE(t[4].flagA);
    EXPECT_EQ(t[4].size, 255);
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(t[i].flagB) << i;
    EXPECT_FALSE(t[5].flagB);
    EXPECT_FALSE(t[5].flagA);
}

TEST_F(GsdIdentificationTest, FailedTerminalReadsGiveNoFlagsAndNoSize) {
    // A cleared buffer would read as "bit 1 clear" and as size 0: neither may count.
    device_.staleValue = 0;
    device_.coupler(3100);
    int counter = device_.addTerminal(1501);
    int serial = device_.addTerminal(6011);
    int sized = device_.addTerminal(6001);
    device_.fail(0, 0, 3);
    device_.fail(counter, 0, 32);
    device_.fail(serial, 0, 34);
    device_.fail(sized, 0, 35);
    ASSERT_EQ(identify(), 0);
    const auto& t = coupler_.terminals;
    ASSERT_EQ(t.size(), 3u);
    EXPECT_FALSE(t[0].flagA);
    EXPECT_FALSE(t[1].flagA);
    EXPECT_EQ(t[1].size, 255);
    EXPECT_TRUE(t[2].flagA);
    EXPECT_EQ(t[2].size, 255);
    for (const auto& entry : t) EXPECT_FALSE(entry.flagB);

    // A stale buffer with bit 2 set must not give flag B either.
    GsdFakeDevice stale;
    stale.coupler(3100);
    stale.addTerminal(3002);
    stale.fail(0, 0, 3);
    CGSDDatei coupler;
    ASSERT_EQ(identifyCoupler(stale, log_, test::gsdTestTime, coupler), 0);
    ASSERT_EQ(coupler.terminals.size(), 1u);
    EXPECT_FALSE(coupler.terminals[0].flagB);
}

}  // namespace
}  // namespace varnak::gsd
