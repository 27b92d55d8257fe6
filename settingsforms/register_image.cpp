#include "settingsforms/register_image.h"

#include "model/clsTable.h"

namespace varnak {

RegisterImage imageOf(clsTable& table) {
    RegisterImage image{};
    for (int32_t r = 0; r <= table.TableLen(); ++r)
        image[static_cast<size_t>(r)] = table.ConfRegisterValue(r);
    return image;
}

bool applyImage(const RegisterImage& image, clsTable& table, int32_t first, int32_t last) {
    bool changed = false;
    for (int32_t r = first; r <= last; ++r) {
        const int32_t value = image[static_cast<size_t>(r)];
        if (table.ConfRegisterValue(r) == value) continue;
        table.setConfRegisterValue(r, value);
        changed = true;
    }
    return changed;
}

}  // namespace varnak
