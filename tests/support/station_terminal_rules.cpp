#include "tests/support/station_terminal_rules.h"

#include "model/device_register_model.h"

namespace varnak::test {

void writeTerminalChannel(std::vector<uint16_t>& registers, int first,
                          const std::vector<uint16_t>& values) {
    for (size_t i = 0; i < values.size(); ++i) {
        const size_t reg = static_cast<size_t>(first) + i;
        if (reg >= registers.size() || reg <= static_cast<size_t>(kTerminalOwnRegisterLast))
            continue;
        const bool unlocked = registers.size() > static_cast<size_t>(kCodeWordRegister) &&
                              registers[kCodeWordRegister] == kCodeWordUnlock;
        if (reg == static_cast<size_t>(kCodeWordRegister) || unlocked) registers[reg] = values[i];
    }
}

}  // namespace varnak::test
