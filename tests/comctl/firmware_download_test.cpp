// Firmware download on both roads against the simulated boot loader: the sectors each flash
// type receives, the load road's line settings, progress events and the trace file.
#include <termios.h>

#include <array>
#include <cstdio>
#include <sstream>

#include "comctl/boot_loader_link.h"
#include "tests/comctl/fake_line.h"
#include "tests/comctl/firmware_fixture.h"
#include "tests/comctl/station_fixture.h"

using namespace qzcom;

namespace varnak::test {
namespace {

struct TypeCase {
    uint8_t type;
    bool smallSectorChip;
    uint8_t sentType;
    uint32_t start;
    std::vector<uint32_t> sectors;
};

// A first sector, one in the window the loader never writes (when the flash reaches it),
// a run of two and one near the top.
const std::vector<TypeCase> kTypes = {
    {0, false, 0, 0x00000, {0x0000, 0x10000, 0x1000, 0x1080, 0x1F000}},
    {2, false, 2, 0x80000, {0x0000, 0x2000, 0x2080, 0x7F000}},
    {3, true, 6, 0x00000, {0x0000, 0x10000, 0x2000, 0x7F000}},
    {3, false, 3, 0x00000, {0x0000, 0x2000}},
    {4, false, 4, 0x40000, {0x0000, 0x3F000}},
    {4, true, 7, 0x40000, {0x0000, 0x3F000}},
    {5, false, 5, 0x100000, {0x0000, 0xF0000}},
};

class FirmwareUpdate : public FirmwareTest {};

TEST_F(FirmwareUpdate, EveryFlashTypeReceivesItsSectors) {
    for (const TypeCase& c : kTypes) {
        SCOPED_TRACE("type " + std::to_string(c.type) + " sent as " + std::to_string(c.sentType));
        newStation();
        station->configureBootLoader(
            [&](SimBootLoader& b) { b.configure(c.type, c.smallSectorChip, c.start); });
        const HexImage hex = firmware(c.type, c.start, c.sectors);
        ASSERT_EQ(control->QZxFirmwareUpdate1(1, writeHex(hex)), 0);
        EXPECT_EQ(station->bootLoader().typeInUse(), c.sentType);
        const auto expected = expectedSectors(hex, c.type, c.sentType, c.start, false);
        expectDelivered(expected, c.type);
        // The total is what goes out: the window's sector is left out, the directory in.
        EXPECT_EQ(starts, std::vector<int32_t>{static_cast<int32_t>(expected.size())});
        EXPECT_EQ(states.size(), expected.size());
        starts.clear();
    }
}

TEST_F(FirmwareUpdate, EverySectorGoesOutWithFillerAndTheWindowIsLeftOut) {
    station->configureBootLoader([](SimBootLoader& b) { b.configure(0, false, 0); });
    const HexImage hex = firmware(0, 0, {0x0000, 0x0080, 0x4000});
    ASSERT_EQ(control->QZxFirmwareUpdate2(1, writeHex(hex)), 0);
    const auto expected = expectedSectors(hex, 0, 0, 0, true);
    EXPECT_EQ(expected.size(), 1024u - (0x18000 - 0xF000) / 128);
    expectDelivered(expected, 0);
    EXPECT_EQ(starts, std::vector<int32_t>{736});
    EXPECT_EQ(states.back(), 736);
    EXPECT_EQ(station->bootLoader().sectors().at(0x100), std::vector<uint8_t>(128, 0xFF));
}

TEST_F(FirmwareUpdate, WaitingLoaderIsEchoedAndTheTraceIsWritten) {
    station->configureBootLoader([](SimBootLoader& b) {
        b.configure(0, false, 0);
        b.setSyncWaits(3);
    });
    const HexImage hex = firmware(0, 0, {0x0080});
    ASSERT_EQ(control->QZxFirmwareUpdate(writeHex(hex)), 0);
    expectDelivered(expectedSectors(hex, 0, 0, 0, false), 0);
    // One used sector and the directory: progress ends at "2 of 2".
    EXPECT_EQ(starts, std::vector<int32_t>{2});
    EXPECT_EQ(states, (std::vector<int32_t>{1, 2}));
    // The enter-bootloader block went to station 1.
    EXPECT_EQ(hexOf(station->requests().at(0)),
              "FD 02 14 00 01 04 52 00 E3 00 03 00 01 00 3B 5C 00 00 E8 02");

    std::istringstream trace(readFile(dir.path() / "write.log"));
    std::string line;
    ASSERT_TRUE(std::getline(trace, line));
    EXPECT_EQ(line.substr(0, 4), "80: ");
    EXPECT_EQ(line.size(), 4 + 128 * 3u);
    char first[8];
    std::snprintf(first, sizeof first, "%02x %02x ", patternByte(0x80), patternByte(0x81));
    EXPECT_EQ(line.substr(4, 6), first);
    ASSERT_TRUE(std::getline(trace, line));
    EXPECT_EQ(line, "1ff80: ");  // the directory
    EXPECT_FALSE(std::getline(trace, line));
}

// A reply the station still owes would land in the boot loader's synchronisation: the
// enter-bootloader block waits it out.
TEST_F(FirmwareUpdate, TheBlockGoesOutOnceTheStationsLateReplyCame) {
    newStation(20);
    station->configureBootLoader([](SimBootLoader& b) { b.configure(0, false, 0); });
    station->addTable(0, 9, 4);
    // After the read's 80 ms time-out, within the 100 ms more it is owed.
    station->queueFault(ReplyFault::delayed(std::chrono::milliseconds(130)));
    std::array<int32_t, 1> value{};
    ASSERT_EQ(control->QZxRegSyncReadReq(0, 9, 0, 1, 1, value), ComErrTimeout1);
    const HexImage hex = firmware(0, 0, {0x0080});
    ASSERT_EQ(control->QZxFirmwareUpdate(writeHex(hex)), 0);
    expectDelivered(expectedSectors(hex, 0, 0, 0, false), 0);
}

TEST_F(FirmwareUpdate, ABadFileLeavesTheCouplerInItsFirmware) {
    std::string text = firmware(0, 0, {0}).text();
    text[text.find('\n') - 1] ^= 1;  // checksum of the first line
    writeFile(dir.path() / "bad.hex", text);
    EXPECT_EQ(control->QZxFirmwareUpdate1(1, (dir.path() / "bad.hex").string()), 4871);
    EXPECT_EQ(control->QZxFirmwareUpdate1(1, (dir.path() / "missing.hex").string()), 1);
    EXPECT_EQ(control->QZxFirmwareUpdate2(1, (dir.path() / "missing.hex").string()), 1);
    EXPECT_TRUE(station->requests().empty());
    EXPECT_FALSE(station->inBootLoader());
    EXPECT_TRUE(starts.empty());
}

TEST_F(FirmwareUpdate, TraceIsCompleteUpToAFailedSector) {
    station->configureBootLoader([](SimBootLoader& b) {
        b.configure(0, false, 0);
        b.replace(BootStep::SectorAck, "$x", 1);
    });
    ASSERT_EQ(control->QZxFirmwareUpdate1(1, writeHex(firmware(0, 0, {0x0, 0x100}))), 5136);
    const std::string trace = readFile(dir.path() / "write.log");
    EXPECT_EQ(trace.substr(0, 3), "0: ");
    EXPECT_NE(trace.find("\n100: "), std::string::npos);
    EXPECT_EQ(trace.back(), '\n');
}

TEST_F(FirmwareUpdate, Rs485BusWorksOnALineWithoutRts) {
    control->setQZxTyp(QZxType_RS485);
    station->configureBootLoader([](SimBootLoader& b) { b.configure(2, false, 0); });
    const HexImage hex = firmware(2, 0, {0x0});
    ASSERT_EQ(control->QZxFirmwareUpdate1(1, writeHex(hex)), 0);
    expectDelivered(expectedSectors(hex, 2, 2, 0, false), 2);
}

// Raw boot-loader bytes key the bus transmitter like telegrams do, and only input is purged.
TEST(BootLoaderLink, KeysTheTransmitterAroundRawBytesOnTheBus) {
    FakeLine line;
    comctl::BootLoaderLink bus(line, true, 1000);
    EXPECT_TRUE(bus.send(0x23));
    EXPECT_EQ(line.log, (std::vector<std::string>{"rts+", "purge", "write 23", "drain", "rts-"}));
    line.log.clear();
    comctl::BootLoaderLink plain(line, false, 1000);
    EXPECT_TRUE(plain.send(0x24));
    EXPECT_EQ(line.log, (std::vector<std::string>{"purge", "write 24", "drain"}));
}

// A counted wait's try never waits the whole reply time-out.
TEST(BootLoaderLink, PollingTriesAreCappedAwaitedRepliesAreNot) {
    struct TimedLine : FakeLine {
        std::vector<int> within;
        size_t readWithin(std::span<uint8_t> bytes, int totalMs) override {
            within.push_back(totalMs);
            return read(bytes);
        }
    } line;
    comctl::BootLoaderLink slow(line, false, 1000);
    slow.poll();
    comctl::BootLoaderLink fast(line, false, 3);
    fast.poll();
    EXPECT_EQ(line.within, (std::vector<int>{20, 6}));
    slow.await();
    EXPECT_EQ(line.log.back(), "read 1");  // the line's own time-out: twice the reply time-out
}

class FirmwareLoad : public FirmwareTest {
  protected:
    termios line() const {
        termios t{};
        tcgetattr(station->lineFd(), &t);
        return t;
    }
    void expectLineAsConfigured(const termios& before) const {
        const termios after = line();
        EXPECT_EQ(station->lineBaud(), 19200);
        EXPECT_EQ(after.c_cflag, before.c_cflag);
        EXPECT_EQ(after.c_iflag, before.c_iflag);
        EXPECT_EQ(cfgetospeed(&after), B19200);
    }
};

TEST_F(FirmwareLoad, LoaderGoesFirstThenTheSectorsForEachFlashType) {
    const std::vector<TypeCase> types = {kTypes[0], kTypes[1], kTypes[2], kTypes[3], kTypes[6]};
    for (const TypeCase& c : types) {
        SCOPED_TRACE("type " + std::to_string(c.type) + " sent as " + std::to_string(c.sentType));
        newStation();
        station->startInBootRom();
        station->configureBootLoader(
            [&](SimBootLoader& b) { b.configure(c.type, c.smallSectorChip, c.start); });
        const termios before = line();
        const HexImage hex = firmware(c.type, c.start, c.sectors);
        ASSERT_EQ(control->QZxFirmwareLoad(writeHex(hex)), 0);
        // The boot ROM was spoken to at 38400 baud, 8 data bits.
        EXPECT_EQ(station->bootRomBaud(), 38400);
        EXPECT_EQ(station->bootRomCflag() & CSIZE, static_cast<tcflag_t>(CS8));
        expectLineAsConfigured(before);

        const SimBootLoader loader = station->bootLoader();
        const bool chipCheck = c.type == 3 || c.type == 4;
        EXPECT_EQ(loader.header(), std::vector<uint8_t>(32, chipCheck ? 0x34 : 0x11));
        const uint8_t fill = c.type == 0 ? 0x20 : chipCheck ? 0x43 : 0x25;
        EXPECT_EQ(loader.program(), std::vector<uint8_t>(chipCheck ? 640 : 768, fill));
        expectDelivered(expectedSectors(hex, c.type, c.sentType, c.start, false), c.type);
    }
}

TEST_F(FirmwareLoad, EraseSendsEverySectorAndTheLineComesBackAfterFailures) {
    station->startInBootRom();
    station->configureBootLoader([](SimBootLoader& b) { b.configure(0, false, 0); });
    const termios before = line();
    const HexImage hex = firmware(0, 0, {0x0});
    ASSERT_EQ(control->QZxEraseFlash(writeHex(hex)), 0);
    expectDelivered(expectedSectors(hex, 0, 0, 0, true), 0);
    EXPECT_EQ(starts, std::vector<int32_t>{736});
    expectLineAsConfigured(before);

    // A refusing boot ROM, a bad file and a missing one: the line is back each time, and
    // neither file puts anything on the wire.
    newStation();
    station->startInBootRom();
    station->configureBootLoader([](SimBootLoader& b) {
        b.configure(0, false, 0);
        b.replace(BootStep::RomHello, "x");
    });
    EXPECT_EQ(control->QZxFirmwareLoad(writeHex(hex)), 5379);
    expectLineAsConfigured(before);

    newStation();
    station->startInBootRom();
    EXPECT_EQ(control->QZxFirmwareLoad((dir.path() / "missing.hex").string()), 1);
    writeFile(dir.path() / "bad.hex", ":0G\n");
    EXPECT_EQ(control->QZxFirmwareLoad((dir.path() / "bad.hex").string()), 4869);
    expectLineAsConfigured(before);
    EXPECT_EQ(station->bootLoader().header().size(), 0u);
    EXPECT_EQ(station->bootRomBaud(), 0);  // not a byte arrived
}

TEST_F(FirmwareLoad, MissingOrWrongSizedLoaderImagesStopBeforeSending) {
    const HexImage hex = firmware(2, 0, {0x0});
    const auto folder = dir.path() / "res" / "Firmware" / "Loader";
    for (const char* name : {"header.bin", "loader-2-5.bin"}) {
        SCOPED_TRACE(name);
        writeLoaderImages();
        writeFile(folder / name, std::string(31, '\0'));
        newStation();
        station->startInBootRom();
        EXPECT_EQ(control->QZxFirmwareLoad(writeHex(hex)), 5377);
        std::filesystem::remove(folder / name);
        EXPECT_EQ(control->QZxFirmwareLoad(writeHex(hex)), 5377);
        EXPECT_EQ(station->bootRomBaud(), 0);
    }
}

}  // namespace
}  // namespace varnak::test
