// Every step code of a firmware download, each produced by a fault at its step: a boot
// loader that answers wrongly or not at all, or a byte that does not go out.
#include <functional>

#include "comctl/firmware_download.h"
#include "comctl/loader_images.h"
#include "platform/serial_port.h"
#include "tests/comctl/fake_line.h"
#include "tests/comctl/firmware_fixture.h"

namespace varnak::test {
namespace {

using comctl::FirmwareRoad;

// A port whose write number failAt (counting from 0) puts nothing out.
class FailingLine : public platform::SerialLine {
  public:
    FailingLine(platform::SerialPort& port, int failAt) : port_(port), failAt_(failAt) {}
    bool setRts(bool on) override { return port_.setRts(on); }
    void purge() override { port_.purge(); }
    void purgeInput() override { port_.purgeInput(); }
    size_t write(std::span<const uint8_t> bytes) override {
        return writes_++ == failAt_ ? 0 : port_.write(bytes);
    }
    void drain() override { port_.drain(); }
    size_t read(std::span<uint8_t> bytes) override { return port_.read(bytes); }
    size_t readWithin(std::span<uint8_t> bytes, int totalMs) override {
        return port_.readWithin(bytes, totalMs);
    }

  private:
    platform::SerialPort& port_;
    int failAt_;
    int writes_ = 0;
};

struct FaultCase {
    const char* name;
    FirmwareRoad road;
    uint8_t type;
    std::function<void(SimBootLoader&)> fault;
    int failWrite;
    int32_t code;
    int timeoutMs = 1000;
};

void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

std::function<void(SimBootLoader&)> replying(BootStep step, std::string reply) {
    return [=](SimBootLoader& b) { b.replace(step, reply); };
}

constexpr auto U = FirmwareRoad::Update;
constexpr int kShortTries = 25;
constexpr auto L = FirmwareRoad::Load;

// Writes of the update road for one sector of type 0: the telegram, three address bytes,
// two groups of 64, then the directory sector and the trailer.
const std::vector<FaultCase> kCases = {
    // Synchronisation with a running coupler's boot loader.
    {"NoEndingByte", U, 0, replying(BootStep::SyncEnd, ""), -1, 4609, 1},
    {"WrongEndingByte", U, 0, replying(BootStep::SyncEnd, "x"), -1, 4610},
    {"WrongHash", U, 2, replying(BootStep::UpdateHello, "x\x01\x02"), -1, 4611},
    {"EchoNotSent", U, 0, [](SimBootLoader& b) { b.setSyncWaits(1); }, 1, 4613},
    {"IdentificationAnswerNotSent", U, 2, nullptr, 1, 4614},
    {"NoHash", U, 2, replying(BootStep::UpdateHello, ""), -1, 4615, 1},
    {"NoIdentification", U, 2, replying(BootStep::UpdateHello, "#"), -1, 4616, 1},
    // Sectors and their acknowledgements.
    {"SmallFlashDirectoryFull", U, 0, nullptr, -1, 5122},
    {"AddressLow", U, 0, nullptr, 1, 5123},
    {"AddressMiddle", U, 0, nullptr, 2, 5124},
    {"AddressHigh", U, 0, nullptr, 3, 5125},
    {"DirectoryFirstHalf", U, 0, nullptr, 140, 5126},
    {"FirstGroup", U, 0, nullptr, 4, 5127},
    {"SecondGroup", U, 0, nullptr, 68, 5128},
    {"ThirdGroup", U, 3, nullptr, 140, 5127},
    {"FourthGroup", U, 3, nullptr, 200, 5128},
    {"NoAck", U, 0, replying(BootStep::SectorAck, ""), -1, 5129},
    {"AckFailWithoutCode", U, 0, replying(BootStep::SectorAck, "F"), -1, 5130},
    {"AckFailWithCode", U, 0, replying(BootStep::SectorAck, "F\x07"), -1, 5131},
    {"WrongAck", U, 0, replying(BootStep::SectorAck, "x"), -1, 5132},
    {"NoSecondAck", U, 0, replying(BootStep::SectorAck, "$"), -1, 5133},
    {"SecondAckFailWithoutCode", U, 0, replying(BootStep::SectorAck, "$F"), -1, 5134},
    {"SecondAckFailWithCode", U, 0, replying(BootStep::SectorAck, "$W\x02"), -1, 5135},
    {"WrongSecondAck", U, 0, replying(BootStep::SectorAck, "$x"), -1, 5136},
    {"Trailer1", U, 0, nullptr, 263, 5138},
    {"Trailer2", U, 0, nullptr, 264, 5139},
    {"Trailer3", U, 0, nullptr, 265, 5140},
    {"DirectorySecondHalf", U, 0, nullptr, 210, 5141},
    {"LeadingZero", U, 2, nullptr, 2, 5142},
    // The loader upload into a coupler in its boot ROM.
    {"RomHelloNotSent", L, 0, nullptr, 0, 5377},
    {"NoRomHello", L, 0, replying(BootStep::RomHello, ""), -1, 5378},
    {"WrongRomHello", L, 0, replying(BootStep::RomHello, "x"), -1, 5379},
    {"HeaderNotSent", L, 0, nullptr, 5, 5380},
    {"Loader0NotSent", L, 0, nullptr, 40, 5381},
    {"Loader25NotSent", L, 2, nullptr, 33, 5383},
    {"NoLoaderReady", L, 0, replying(BootStep::LoaderReady, ""), -1, 5384},
    {"WrongLoaderReady", L, 0, replying(BootStep::LoaderReady, "x"), -1, 5385},
    {"ShortLoaderReady", L, 0,
     replying(BootStep::LoaderReady,
              "\x12"
              "ab"),
     -1, 5386},
    {"BankNotSent", L, 0, nullptr, 801, 5387},
    {"NoBankReply", L, 0, replying(BootStep::BankReply, ""), -1, 5388},
    {"WrongBankReply", L, 0, replying(BootStep::BankReply, "x"), -1, 5389},
    {"NoFirstChipId", L, 0, replying(BootStep::BankReply, "#"), -1, 5390},
    {"NoSecondChipId", L, 0, replying(BootStep::BankReply, "#\x01"), -1, 5391},
    {"ChipAnswerNotSent", L, 0, nullptr, 802, 5392},
    {"NoLoaderDone", L, 0, replying(BootStep::LoaderDone, ""), -1, 5393},
    {"WrongLoaderDone", L, 0, replying(BootStep::LoaderDone, "x"), -1, 5394},
    {"Loader34NotSent", L, 3, nullptr, 33, 5395},
};

class FirmwareFault : public FirmwareTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(FirmwareFault, StepCodeOfTheFailingStep) {
    const FaultCase& c = GetParam();
    control.reset();  // the test speaks through a port of its own
    if (c.road == L) station->startInBootRom();
    station->configureBootLoader([&](SimBootLoader& b) {
        b.configure(c.type, false, 0);
        if (c.fault) c.fault(b);
    });
    std::vector<uint32_t> sectors{0};
    if (c.code == 5122)  // fifteen runs of one sector: one more than the directory lists
        for (uint32_t run = 1; run < 15; ++run) sectors.push_back(run * 0x200);
    const std::string file = writeHex(firmware(c.type, 0, sectors));

    platform::SerialPort port;
    ASSERT_TRUE(port.open(station->devicePath(), 19200, c.timeoutMs));
    FailingLine line(port, c.failWrite);
    comctl::FirmwareRequest request;
    request.road = c.road;
    request.file = file;
    request.timeoutMs = c.timeoutMs;
    request.loaderFolder = comctl::loaderFolder();
    // A silent loader is sat out in fewer tries than the control's.
    request.syncTries = kShortTries;
    request.loaderDoneTries = kShortTries;
    const comctl::BootLineSettings settings{[&] { return port.useBootLoaderSettings(); },
                                            [&] { return port.restoreLineSettings(); }};
    EXPECT_EQ(comctl::downloadFirmware(line, request, {}, settings), c.code);
}

INSTANTIATE_TEST_SUITE_P(Steps, FirmwareFault, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A loader that never speaks is given up after exactly the counted tries, whatever their
// number.
TEST(FirmwareWaits, ASilentLoaderIsGivenUpAfterTheCountedTries) {
    TempDir dir;
    const auto file = dir.path() / "fw.hex";
    for (const uint8_t type : {0, 2}) {
        SCOPED_TRACE(static_cast<int>(type));
        writeFile(file, firmware(type, 0, {0}).text());
        FakeLine line;
        comctl::FirmwareRequest request;
        request.file = file.string();
        request.syncTries = 7;
        EXPECT_EQ(comctl::downloadFirmware(line, request, {}, {}),
                  type == 0 ? comctl::FwSyncNoEnd : comctl::FwSyncHashMissing);
        EXPECT_EQ(std::count(line.log.begin(), line.log.end(), "read 1"), 7);
    }
}

// A port that refuses 38400 8N1 would speak to the boot ROM at the wrong speed: the load
// stops at its first step with nothing sent, and the kept settings are put back.
class FirmwareLoadLine : public FirmwareTest {};

TEST_F(FirmwareLoadLine, ARefusedSwitchStopsTheLoadBeforeTheFirstByte) {
    FakeLine line;
    comctl::FirmwareRequest request;
    request.road = L;
    request.file = writeHex(firmware(0, 0, {0}));
    request.loaderFolder = comctl::loaderFolder();
    int restored = 0;
    const comctl::BootLineSettings refused{[] { return false; }, [&] { return ++restored > 0; }};
    EXPECT_EQ(comctl::downloadFirmware(line, request, {}, refused), comctl::FwRomHelloSend);
    EXPECT_TRUE(line.log.empty());
    EXPECT_EQ(restored, 1);
}

}  // namespace
}  // namespace varnak::test
