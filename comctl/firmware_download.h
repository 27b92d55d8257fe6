#pragma once
// Writing new firmware from an Intel HEX file into a coupler's flash, sector by sector,
// through its boot loader. The update road asks a running coupler to enter its boot
// loader; the load road talks to a coupler in its boot ROM at 38400 baud 8N1 and first
// sends it a loader program.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/serial_port.h"

namespace varnak::comctl {

struct LineState;

// Step codes: each names the step at which a download stopped.
enum FirmwareCode : int32_t {
    FwFileCannotOpen = 1,
    // Boot-loader synchronisation (update road).
    FwSyncNoEnd = 4609,
    FwSyncWrongByte = 4610,
    FwSyncNoHash = 4611,
    FwSyncEchoFailed = 4613,
    FwSyncAnswerFailed = 4614,
    FwSyncHashMissing = 4615,
    FwSyncIdMissing = 4616,
    // Sending the sectors.
    FwDirectoryOpenRun = 5121,
    FwDirectoryFullAtStart = 5122,
    FwAddressLow = 5123,
    FwAddressMiddle = 5124,
    FwAddressHigh = 5125,
    FwDirectoryFirstHalf = 5126,
    FwGroupOddFailed = 5127,   // first and third group of 64 bytes
    FwGroupEvenFailed = 5128,  // second and fourth
    FwAckMissing = 5129,
    FwAckFailNoCode = 5130,
    FwAckFailWithCode = 5131,
    FwAckWrong = 5132,
    FwAck2Missing = 5133,
    FwAck2FailNoCode = 5134,
    FwAck2FailWithCode = 5135,
    FwAck2Wrong = 5136,
    FwDirectoryFullAtEnd = 5137,
    FwTrailer1 = 5138,
    FwTrailer2 = 5139,
    FwTrailer3 = 5140,
    FwDirectorySecondHalf = 5141,
    FwLeadingZero = 5142,
    // Loader upload (load road).
    FwRomHelloSend = 5377,
    FwRomHelloMissing = 5378,
    FwRomHelloWrong = 5379,
    FwHeaderSend = 5380,
    FwLoader0Send = 5381,
    FwLoader25Send = 5383,
    FwLoaderReadyMissing = 5384,
    FwLoaderReadyWrong = 5385,
    FwLoaderReadyShort = 5386,
    FwBankSend = 5387,
    FwBankReplyMissing = 5388,
    FwBankReplyWrong = 5389,
    FwChipId1Missing = 5390,
    FwChipId2Missing = 5391,
    FwChipAnswerSend = 5392,
    FwLoaderDoneMissing = 5393,
    FwLoaderDoneWrong = 5394,
    FwLoader34Send = 5395,
};

enum class FirmwareRoad { Load, Update };

struct FirmwareRequest {
    FirmwareRoad road = FirmwareRoad::Update;
    bool everySector = false;  // sectors the file does not touch go out as 0xFF
    int32_t station = 1;       // update road
    std::string file;
    bool rs485 = false;
    int timeoutMs = 10;  // the control's reply time-out
    // What the control's earlier requests left on the line: the enter-bootloader block waits
    // out the replies still owed to its station. None when null.
    LineState* line = nullptr;
    std::filesystem::path loaderFolder;  // load road
    // Tries of the counted boot-loader waits. The control keeps these; tests that sit out
    // a silent loader shorten them.
    int syncTries = 500;
    int loaderDoneTries = 1000;
};

struct FirmwareEvents {
    std::function<void(int32_t nTotalSectors)> start;
    std::function<void(int32_t nSector, int32_t nTotalSectors)> state;
};

// The line settings of the load road: 38400 8N1 for the boot ROM and back. An enter that
// answers false stops the load with FwRomHelloSend before a byte is sent.
struct BootLineSettings {
    std::function<bool()> enter;
    std::function<bool()> restore;
};

// 0, 1 for a file that cannot be opened, a HEX reading code, a request code of the
// enter-bootloader block or a step code. A file is read and checked whole before anything
// goes on the wire; the load road restores the line settings on every path. DownloadStart
// announces the number of sectors that will be sent. The trace "write.log" goes to the
// current folder.
[[nodiscard]] int32_t downloadFirmware(platform::SerialLine& line, const FirmwareRequest& request,
                                       const FirmwareEvents& events,
                                       const BootLineSettings& settings);

}  // namespace varnak::comctl
