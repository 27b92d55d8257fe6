#include "comctl/command_blocks.h"

#include <algorithm>
#include <array>
#include <thread>
#include <vector>

#include "comctl/QZcomOCX.h"
#include "comctl/register_telegrams.h"

using namespace qzcom;

namespace varnak::comctl {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kProtectionPause{500};
constexpr milliseconds kFactoryPause{500};
constexpr milliseconds kChecksumPause{1000};
constexpr milliseconds kTerminalBusPause{1000};
constexpr milliseconds kDebugReadPause{500};
constexpr milliseconds kDebugWritePause{300};

constexpr size_t kDebugReadBack = 20;
constexpr size_t kDebugWriteHead = 4;

// Addresses and segments travel as one register each.
bool fitsRegister(int32_t v) {
    return v >= 0 && v <= 0xFFFF;
}

}  // namespace

int32_t CommandBlocks::run(std::span<const int32_t> block, milliseconds pause,
                           std::span<int32_t> answer) {
    const RegisterAddress write{0, kCommandTable, 0, static_cast<int32_t>(block.size()), station_};
    if (int32_t r = writeRegisters(link_, write, block); r != ComErrNo) return r;
    std::this_thread::sleep_for(pause);
    const RegisterAddress read{0, kCommandTable, 0, static_cast<int32_t>(answer.size()), station_};
    if (int32_t r = readRegisters(link_, read, answer); r != ComErrNo) return r;
    return answer[0] == (block[0] & 0xFFFF) ? ComErrNo : kNoEcho;
}

int32_t CommandBlocks::writeProtection(bool set) {
    const std::array<int32_t, 4> block{RegCmdWriteProtection, 1, set ? 0 : kUnlockWord, 0};
    std::array<int32_t, 4> answer{};
    if (int32_t r = run(block, kProtectionPause, answer); r != ComErrNo) return r;
    return answer[1] == 1 ? ComErrNo : kProtectionNotConfirmed;
}

int32_t CommandBlocks::resetSoftware() {
    if (int32_t r = writeProtection(false); r != ComErrNo) return r;
    // The coupler restarts and does not echo.
    const std::array<int32_t, 4> block{RegCmdResetSoftware, 1, 0, 0};
    return writeRegisters(link_, RegisterAddress{0, kCommandTable, 0, 4, station_}, block);
}

int32_t CommandBlocks::factorySetting() {
    const std::array<int32_t, 1> block{RegCmdFactorySetting};
    std::array<int32_t, 1> answer{};
    return run(block, kFactoryPause, answer);
}

int32_t CommandBlocks::checksum(int32_t& value) {
    const std::array<int32_t, 4> block{RegCmdChecksum, 0, 0, 0};
    std::array<int32_t, 4> answer{};
    if (int32_t r = run(block, kChecksumPause, answer); r != ComErrNo) return r;
    // An answer without a checksum must not pass an old value off as the coupler's.
    if (answer[1] == 0) return ComErrRegResponse;
    value = answer[3];
    return ComErrNo;
}

int32_t CommandBlocks::resetTerminalBus() {
    const std::array<int32_t, 3> block{RegCmdResetTerminalBus, 0, 0};
    std::array<int32_t, 3> answer{};
    return run(block, kTerminalBusPause, answer);
}

int32_t CommandBlocks::debugRead(int32_t segment, int32_t address, int32_t size,
                                 std::span<int32_t> data) {
    if (size <= 0) return ComErrDataLength;
    if (!fitsRegister(segment) || !fitsRegister(address)) return ComErrOffset;
    const std::array<int32_t, 4> block{RegCmdDbgAdrRead, std::min(size, 0xFFFF), address, segment};
    std::array<int32_t, kDebugReadBack> answer{};
    if (int32_t r = run(block, kDebugReadPause, answer); r != ComErrNo) return r;
    if (answer[2] != 0) return ComErrRegResponse;
    const size_t count = std::min(
        {static_cast<size_t>(answer[1]), static_cast<size_t>(kDebugReadWords), data.size()});
    std::copy_n(answer.begin() + 3, count, data.begin());
    return ComErrNo;
}

int32_t CommandBlocks::debugWrite(int32_t segment, int32_t address, int32_t size,
                                  std::span<const int32_t> data) {
    if (size <= 0) return ComErrDataLength;
    if (!fitsRegister(segment) || !fitsRegister(address)) return ComErrOffset;
    if (segment != 2 && segment != 3) return kNoEcho;
    const size_t words = static_cast<size_t>(std::min(size, kDebugWriteMaxWords));
    if (data.size() < words) return ComErrDataBuff;
    std::vector<int32_t> block{segment == 3 ? RegCmdDbgAdrWriteSegment3 : RegCmdDbgAdrWriteSegment2,
                               static_cast<int32_t>(words), address, segment};
    block.insert(block.end(), data.begin(), data.begin() + static_cast<ptrdiff_t>(words));
    std::array<int32_t, kDebugWriteHead> answer{};
    return run(block, kDebugWritePause, answer);
}

int32_t CommandBlocks::watchdogRead(int32_t& value) {
    std::array<int32_t, 1> v{};
    const int32_t r =
        readRegisters(link_, RegisterAddress{0, kFieldbusSettingsTable, 0, 1, station_}, v);
    if (r == ComErrNo) value = v[0];
    return r;
}

int32_t CommandBlocks::watchdogWrite(int32_t value) {
    if (int32_t r = writeProtection(false); r != ComErrNo) return r;
    const std::array<int32_t, 1> v{value};
    if (int32_t r =
            writeRegisters(link_, RegisterAddress{0, kFieldbusSettingsTable, 0, 1, station_}, v);
        r != ComErrNo)
        return r;
    return resetSoftware();
}

}  // namespace varnak::comctl
