#pragma once
// The control itself as the GSD generator's register reader.
#include "comctl/gsd_register_reader.h"

class QZcomOCX;

namespace varnak::gsd {

class GsdControlReader : public GsdRegisterReader {
  public:
    explicit GsdControlReader(QZcomOCX& control) : control_(control) {}

    [[nodiscard]] int32_t readRegisters(int32_t railPos, int32_t table, int32_t firstRegister,
                                        int32_t station, std::span<int32_t> values) override;

  private:
    QZcomOCX& control_;
};

}  // namespace varnak::gsd
