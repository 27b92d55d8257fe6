#pragma once
// The register tables' road to the devices through the main window's serial control.
#include "model/register_device.h"

class QZcomOCX;

namespace varnak {

class ControlRegisterDevice : public RegisterDevice {
  public:
    explicit ControlRegisterDevice(QZcomOCX& control) : control_(control) {}

    int32_t readRegisters(int32_t railPosition, int32_t table, int32_t firstRegister, int32_t count,
                          int32_t station, std::span<int32_t> values) override;
    int32_t writeRegisters(int32_t railPosition, int32_t table, int32_t firstRegister,
                           int32_t count, int32_t station,
                           std::span<const int32_t> values) override;

  private:
    QZcomOCX& control_;
};

}  // namespace varnak
