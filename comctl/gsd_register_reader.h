#pragma once
// The one thing the GSD generator needs of a device: reading a run of registers. The control
// hands itself in through this, tests hand in a simulated register model.
#include <cstdint>
#include <span>

namespace varnak::gsd {

class GsdRegisterReader {
  public:
    virtual ~GsdRegisterReader() = default;

    // Reads values.size() registers of one table of one device (rail position 0 = the
    // coupler, n = terminal n) from firstRegister on, one register per element (0-65535).
    // Returns 0 on success, otherwise the control's result code; on failure the elements
    // may hold anything.
    [[nodiscard]] virtual int32_t readRegisters(int32_t railPos, int32_t table,
                                                int32_t firstRegister, int32_t station,
                                                std::span<int32_t> values) = 0;
};

}  // namespace varnak::gsd
