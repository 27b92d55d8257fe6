#pragma once
// The register tables' road to the devices through the main window's serial control. It
// lives with the program, which assembles the model and the control; the model knows only
// the register-device interface.
#include "comctl/QZcomOCX.h"
#include "model/register_device.h"

namespace varnak {

static_assert(kNoRegisterDeviceResult == qzcom::ComErrSendTel);

class ControlRegisterDevice : public RegisterDevice {
  public:
    explicit ControlRegisterDevice(QZcomOCX& control) : control_(control) {}

    [[nodiscard]] int32_t readRegisters(int32_t railPosition, int32_t table, int32_t firstRegister,
                                        int32_t count, int32_t station,
                                        std::span<int32_t> values) override {
        return control_.QZxRegSyncReadReq(railPosition, table, firstRegister, count, station,
                                          values);
    }
    [[nodiscard]] int32_t writeRegisters(int32_t railPosition, int32_t table, int32_t firstRegister,
                                         int32_t count, int32_t station,
                                         std::span<const int32_t> values) override {
        return control_.QZxRegSyncWriteReq(railPosition, table, firstRegister, count, station,
                                           values);
    }

  private:
    QZcomOCX& control_;
};

}  // namespace varnak
