#pragma once
// A station's register model for the GSD generator's tests: registers by (rail position,
// table, register), unset registers read as 0, chosen registers fail to read. A failed read
// leaves a stale value in the caller's buffer, as a real control does with the last reply.
#include <cstdint>
#include <ctime>
#include <map>
#include <set>
#include <span>
#include <tuple>
#include <vector>

#include "comctl/gsd_register_reader.h"

namespace varnak::test {

// The generation time of the tests, so that generated files can be compared.
inline std::tm gsdTestTime() {
    std::tm time{};
    time.tm_year = 126;
    time.tm_mon = 2;
    time.tm_mday = 14;
    return time;
}

class GsdFakeDevice : public gsd::GsdRegisterReader {
  public:
    using Address = std::tuple<int32_t, int32_t, int32_t>;  // rail position, table, register

    struct Read {
        int32_t railPos, table, firstRegister, count, station;
    };

    int32_t readRegisters(int32_t railPos, int32_t table, int32_t firstRegister, int32_t station,
                          std::span<int32_t> values) override {
        reads.push_back(
            {railPos, table, firstRegister, static_cast<int32_t>(values.size()), station});
        for (size_t i = 0; i < values.size(); ++i) {
            Address address{railPos, table, firstRegister + static_cast<int32_t>(i)};
            if (failing.count(address)) {
                for (int32_t& value : values) value = staleValue;
                return 1;
            }
            auto found = registers.find(address);
            values[i] = found == registers.end() ? 0 : found->second;
        }
        return 0;
    }

    void set(int32_t railPos, int32_t table, int32_t reg, int32_t value) {
        registers[{railPos, table, reg}] = value;
    }
    void fail(int32_t railPos, int32_t table, int32_t reg) {
        failing.insert({railPos, table, reg});
    }

    // A coupler of a type number with its firmware register.
    void coupler(int32_t typeNumber, int32_t firmware = 0x0100) {
        set(0, 9, 0, typeNumber);
        set(0, 0, 255, firmware);
    }
    // Appends a terminal list word; returns the terminal's rail position.
    int32_t addTerminal(uint16_t word) {
        int32_t position = ++terminalCount_;
        set(0, 9, position, word);
        return position;
    }

    std::map<Address, int32_t> registers;
    std::set<Address> failing;
    std::vector<Read> reads;
    int32_t staleValue = 0x7C4E;

  private:
    int32_t terminalCount_ = 0;
};

}  // namespace varnak::test
