#include "model/coupler_type_name.h"

#include <array>
#include <utility>

#include "model/clsTable.h"
#include "model/device_register_model.h"

namespace varnak {
namespace {

// Decimal with at least `digits` digits; a sign stays in front of the zeros.
std::string zeroPadded(int32_t value, size_t digits) {
    std::string text = std::to_string(value < 0 ? -static_cast<int64_t>(value) : value);
    if (text.size() < digits) text.insert(0, digits - text.size(), '0');
    return value < 0 ? "-" + text : text;
}

// Older identification: the series by register 254.
const char* olderSeriesPrefix(int32_t series) {
    static constexpr std::array<std::pair<int32_t, const char*>, 5> kPrefixes{
        {{65535, "QZ"}, {512, "QX"}, {2, "QL"}, {256, "QY"}, {4096, "QK"}}};
    for (const auto& [value, prefix] : kPrefixes)
        if (value == series) return prefix;
    return "QZ";
}

// Newer identification: the family by register 246; family 1 splits by register 247.
const char* newerFamilyPrefix(int32_t family, int32_t variant) {
    static constexpr std::array<std::pair<int32_t, const char*>, 6> kPrefixes{
        {{8, "QF"}, {16, "QC"}, {32, "QI"}, {256, "QY"}, {2, "QP"}, {4, "QX"}}};
    for (const auto& [value, prefix] : kPrefixes)
        if (value == family) return prefix;
    if (family == 1) {
        if (variant == 0 || variant == 1) return "QZ";
        if (variant == 2) return "QL";
        return "";
    }
    return "QZ";
}

}  // namespace

std::string couplerTypeName(int32_t typeNumber,
                            const std::function<int32_t(int32_t)>& generalRegister) {
    const int32_t t = typeNumber;
    if (t < 1000) return "JRV-" + std::to_string(t) + "_000-000";

    if (generalRegister(kIdentFormat) != kIdentMagic) {
        std::string prefix = olderSeriesPrefix(generalRegister(kIdentSeries));
        int32_t suffix = generalRegister(kIdentSuffix);
        if (t == 3110 || t == 3010) suffix = 0;
        if (suffix == 65535) suffix = 0;
        suffix &= 255;
        return prefix + std::to_string(t) + "-" + zeroPadded(suffix, 4);
    }

    std::string prefix =
        newerFamilyPrefix(generalRegister(kIdentFamily), generalRegister(kIdentVariant));
    if (prefix == "QI" || prefix == "QP")
        return prefix + zeroPadded(generalRegister(kIdentProductNumber), 4) + "-B" +
               zeroPadded(generalRegister(kIdentProductVariant), 3);
    int32_t suffix = generalRegister(kIdentSuffix);
    if (suffix == 65535) suffix = 0;
    return prefix + std::to_string(t) + "-" + zeroPadded(suffix, 4);
}

void gfGetCouplerName(clsTable& table0, clsTable& table9, std::string& name) {
    name = couplerTypeName(table9.ConfRegisterValue(kTypeNumberRegister),
                           [&](int32_t n) { return table0.ConfRegisterValue(n); });
}

}  // namespace varnak
