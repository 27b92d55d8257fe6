#include "tests/support/station_command_table.h"

#include <algorithm>

namespace varnak::test {
namespace {

using std::chrono::milliseconds;

constexpr uint16_t kUnlock = 0x5C3B;
constexpr uint16_t kUnknownCommand = 0xFFFF;

}  // namespace

StationCommandTable::StationCommandTable() : regs_(kRegisters, 0) {
    // Commands the control waits for a fixed time take a little less; the queries that
    // the program polls at once are answered at once.
    for (uint16_t c : {0x0101, 0x0401, 0x0301, 0x0102, 0x00FE, 0x01FE, 0x02FE, 0x0104})
        delays[c] = milliseconds(250);
}

bool StationCommandTable::write(int first, const std::vector<uint16_t>& values,
                                Clock::time_point now) {
    if (first < 0 || first + values.size() > regs_.size()) return false;
    std::copy(values.begin(), values.end(), regs_.begin() + first);
    if (first != 0 || values.empty()) return false;
    const uint16_t command = values[0];
    if (command == 3 && values.size() == 4 && values[1] == 1 && values[2] == kUnlock &&
        values[3] == 0)
        return true;
    // A reset restarts the coupler at once; it answers nothing more in this table.
    if (command == 0x0201) {
        if (values.size() > 1 && values[1] == 1) {
            ++state.softwareResets;
            state.writeProtected = state.restartsProtected;
        }
        pending_.reset();
        return false;
    }
    const auto delay = delays.count(command) ? delays[command] : milliseconds(0);
    pending_ = Pending{command, now + delay};
    return false;
}

bool StationCommandTable::due(Pending& pending, int first, Clock::time_point now) {
    const auto byCount = echoOnRead.find(pending.command);
    if (byCount == echoOnRead.end()) return now >= pending.due;
    if (first == 0) ++pending.reads;
    return byCount->second > 0 && pending.reads >= byCount->second;
}

std::vector<uint16_t> StationCommandTable::read(int first, int count, Clock::time_point now) {
    if (pending_ && due(*pending_, first, now)) {
        const uint16_t command = pending_->command;
        pending_.reset();
        process(command);
        // A query without a value: no count, or for the MAC id a bad status.
        if (noValue.count(command)) regs_[command == 0x05FF ? 2 : 1] = command == 0x05FF ? 1 : 0;
        if (hook) hook(regs_, command);
    }
    std::vector<uint16_t> out(regs_.begin() + first, regs_.begin() + first + count);
    if (pending_ && first == 0 && count > 0) out[0] = kBusy;
    return out;
}

void StationCommandTable::process(uint16_t command) {
    auto& r = regs_;
    auto mem = [&](int seg, int adr) -> uint16_t& { return memory[{seg, adr}]; };
    switch (command) {
        case 0x0101:
            if (r[1] == 1 && r[2] == kUnlock)
                state.writeProtected = false;
            else if (r[1] == 1 && r[2] == 0)
                state.writeProtected = true;
            else
                r[1] = 0;
            break;
        case 0x0401:
            ++state.factorySettings;
            break;
        case 0x0301:
            r[1] = 1;
            r[2] = 0;
            r[3] = state.checksum;
            break;
        case 0x0102:
            ++state.terminalBusResets;
            break;
        case 0x00FE: {
            const int n = std::min<int>(r[1], 17);
            const int adr = r[2], seg = r[3];
            r[1] = static_cast<uint16_t>(n);
            r[2] = 0;
            for (int i = 0; i < 17; ++i) r[3 + i] = i < n ? mem(seg, adr + 2 * i) : 0;
            break;
        }
        case 0x01FE:
        case 0x02FE: {
            const int expected = command == 0x01FE ? 3 : 2;
            const int n = std::min<int>(r[1], 20);
            const int adr = r[2], seg = r[3];
            if (seg != expected) {
                r[2] = 1;
                break;
            }
            for (int i = 0; i < n; ++i) mem(seg, adr + 2 * i) = r[4 + i];
            r[1] = static_cast<uint16_t>(n);
            r[2] = 0;
            break;
        }
        case 0x00FF:
            if (r[1] == 2) {
                state.stationNumber = static_cast<uint32_t>(r[2] | r[3] << 16);
                break;
            }
            r[1] = 1;
            r[2] = 0;
            r[3] = static_cast<uint16_t>(state.stationNumber);
            break;
        case 0x01FF:
            r[1] = 1;
            r[2] = 0;
            r[3] = static_cast<uint16_t>(state.serialStationNumber);
            r[4] = static_cast<uint16_t>(state.serialStationNumber >> 16);
            break;
        case 0x03FF:
            r[1] = 1;
            r[2] = 0;
            r[3] = state.dipSwitch;
            break;
        case 0x05FF:
            r[1] = 1;
            r[2] = 0;
            std::copy(state.macId.begin(), state.macId.end(), r.begin() + 3);
            break;
        case 0x0104:
            if (r[1] == 1) state.cycleTimeEvaluation = r[2] != 0;
            break;
        default:
            r[0] = kUnknownCommand;
            break;
    }
}

}  // namespace varnak::test
