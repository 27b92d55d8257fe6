#pragma once
// Pieces several terminal forms are made of: a row of feature check boxes on one register,
// the feature switches the analog terminals share, and the user offset and scaling fields.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settingsforms/settings_form_spec.h"

namespace varnak {

struct FeatureSwitch {
    int32_t mask = 0;
    Caption caption;
};

// Check boxes "<array>(0)", "<array>(1)", ... for the features in order, on one register.
void addFeatureBoxes(FormSpec& spec, const std::string& array, size_t group, int32_t reg,
                     const std::vector<FeatureSwitch>& features);

// The first `count` of the analog terminals' switches of bits 0..4: user scaling,
// manufacturer scaling, watchdog, sign and magnitude, Siemens output format.
std::vector<FeatureSwitch> scalingFeatures(size_t count);

// The user offset (register 33) and user scaling (register 34) fields, in this order.
void addOffsetAndScaling(FormSpec& spec, size_t group);

// The part of a type name that picks a form's type-dependent looks: its first six letters.
std::string_view typeFamily(std::string_view type);

}  // namespace varnak
