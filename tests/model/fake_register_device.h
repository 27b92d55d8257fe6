#pragma once
// A station in memory for register-table tests: every (rail position, table) holds 256
// registers. Transfers move in chunks of 18 registers as the control's telegrams do, and
// a scripted failure stops a transfer at a given chunk with a given code, leaving the
// earlier chunks done.
#include <array>
#include <cstdint>
#include <map>
#include <span>
#include <utility>
#include <vector>

#include "model/register_device.h"

namespace varnak::test {

class FakeRegisterDevice : public RegisterDevice {
  public:
    struct Call {
        bool write;
        int32_t railPosition, table, firstRegister, count, station;
        size_t spanSize;
    };
    static constexpr int32_t kChunk = 18;

    std::array<int32_t, 256>& registers(int32_t railPosition, int32_t table) {
        return device_[{railPosition, table}];
    }

    // The next transfer fails at chunk `chunk` (0-based) with `code`.
    void failAt(int32_t chunk, int32_t code) {
        failChunk_ = chunk;
        failCode_ = code;
    }

    int32_t readRegisters(int32_t railPosition, int32_t table, int32_t firstRegister, int32_t count,
                          int32_t station, std::span<int32_t> values) override {
        calls.push_back({false, railPosition, table, firstRegister, count, station, values.size()});
        auto& regs = registers(railPosition, table);
        return transfer(count, [&](int32_t i) { values[i] = regs.at(firstRegister + i); });
    }

    int32_t writeRegisters(int32_t railPosition, int32_t table, int32_t firstRegister,
                           int32_t count, int32_t station,
                           std::span<const int32_t> values) override {
        calls.push_back({true, railPosition, table, firstRegister, count, station, values.size()});
        auto& regs = registers(railPosition, table);
        return transfer(count, [&](int32_t i) { regs.at(firstRegister + i) = values[i]; });
    }

    std::vector<Call> calls;

  private:
    template <typename Move>
    int32_t transfer(int32_t count, Move move) {
        for (int32_t done = 0, chunk = 0; done < count; done += kChunk, ++chunk) {
            if (chunk == failChunk_) {
                failChunk_ = -1;
                return failCode_;
            }
            for (int32_t i = done; i < count && i < done + kChunk; ++i) move(i);
        }
        return 0;
    }

    std::map<std::pair<int32_t, int32_t>, std::array<int32_t, 256>> device_;
    int32_t failChunk_ = -1;
    int32_t failCode_ = 0;
};

}  // namespace varnak::test
