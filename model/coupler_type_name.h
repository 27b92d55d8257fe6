#pragma once
// The coupler's type name (for example "QZ3100-0000") built from its identification
// registers: the type number in register 0 of table 9 and registers 200-254 of table 0.
#include <cstdint>
#include <functional>
#include <string>

namespace varnak {

class clsTable;

// typeNumber: register 0 of table 9. generalRegister(n): register n of table 0.
std::string couplerTypeName(int32_t typeNumber,
                            const std::function<int32_t(int32_t)>& generalRegister);

// The name from the coupler's tables 0 and 9 (read from the device beforehand); reading
// their registers may run the tables' lazy load.
void gfGetCouplerName(clsTable& table0, clsTable& table9, std::string& name);

}  // namespace varnak
