#pragma once
// Register images of the project's tables: what the dialogs load from and store into.
#include <cstdint>

#include "settingsforms/settings_form_spec.h"

namespace varnak {

class clsTable;

// Registers 0..TableLen of the table; the slots after them 0.
RegisterImage imageOf(clsTable& table);
// Writes registers first..last of the image that differ from the table's (so only a real
// change marks the table changed). True when any register changed.
[[nodiscard]] bool applyImage(const RegisterImage& image, clsTable& table, int32_t first,
                              int32_t last);

}  // namespace varnak
