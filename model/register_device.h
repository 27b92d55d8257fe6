#pragma once
// What a register table needs of a device: reading and writing a run of registers of one
// table of one device of the station. The program's implementation goes through the
// serial control; tests put a fake in its place.
#include <cstdint>
#include <span>

namespace varnak {

class RegisterDevice {
  public:
    virtual ~RegisterDevice() = default;
    // Fills values (one register per element, values.size() == count) from register
    // firstRegister on. Returns the control's result code, 0 for success.
    [[nodiscard]] virtual int32_t readRegisters(int32_t railPosition, int32_t table,
                                                int32_t firstRegister, int32_t count,
                                                int32_t station, std::span<int32_t> values) = 0;
    // Sends values (values.size() == count) to registers firstRegister on.
    [[nodiscard]] virtual int32_t writeRegisters(int32_t railPosition, int32_t table,
                                                 int32_t firstRegister, int32_t count,
                                                 int32_t station,
                                                 std::span<const int32_t> values) = 0;
};

// What a table's transfer answers when the context has no device and no control: the
// code of a telegram that could not be sent (ComErrSendTel).
inline constexpr int32_t kNoRegisterDeviceResult = 11;

}  // namespace varnak
