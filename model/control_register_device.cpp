#include "model/control_register_device.h"

#include "comctl/QZcomOCX.h"

namespace varnak {

static_assert(kNoRegisterDeviceResult == ComErrSendTel);

int32_t ControlRegisterDevice::readRegisters(int32_t railPosition, int32_t table,
                                             int32_t firstRegister, int32_t count, int32_t station,
                                             std::span<int32_t> values) {
    return control_.QZxRegSyncReadReq(railPosition, table, firstRegister, count, station, values);
}

int32_t ControlRegisterDevice::writeRegisters(int32_t railPosition, int32_t table,
                                              int32_t firstRegister, int32_t count, int32_t station,
                                              std::span<const int32_t> values) {
    return control_.QZxRegSyncWriteReq(railPosition, table, firstRegister, count, station, values);
}

}  // namespace varnak
