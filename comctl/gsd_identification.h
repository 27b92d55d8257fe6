#pragma once
// Identification of the connected coupler and its terminals for the GSD generator.
#include <cstdint>

#include "comctl/gsd_coupler.h"
#include "comctl/gsd_log.h"
#include "comctl/gsd_register_reader.h"

namespace varnak::gsd {

// The station address the generator talks to.
inline constexpr int32_t kGsdStation = 1;

// Fills the coupler record (type, name, properties, releases, terminals) from the device
// at station 1, reporting into the log. Returns 0, or -1 when the coupler cannot be
// identified (the reason is logged as an error).
[[nodiscard]] int32_t identifyCoupler(GsdRegisterReader& reader, GsdLog& log, const GsdClock& clock,
                                      CGSDDatei& coupler);

}  // namespace varnak::gsd
