#include "comctl/gsd_control_reader.h"

#include "comctl/QZcomOCX.h"

namespace varnak::gsd {

int32_t GsdControlReader::readRegisters(int32_t railPos, int32_t table, int32_t firstRegister,
                                        int32_t station, std::span<int32_t> values) {
    return control_.QZxRegSyncReadReq(railPos, table, firstRegister,
                                      static_cast<int32_t>(values.size()), station, values);
}

}  // namespace varnak::gsd
