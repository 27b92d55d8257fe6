#include "terminalcfg/terminal_spec_parts.h"

#include <algorithm>

#include "settingsforms/settings_codec.h"

namespace varnak {

void addFeatureBoxes(FormSpec& spec, const std::string& array, size_t group, int32_t reg,
                     const std::vector<FeatureSwitch>& features) {
    for (size_t i = 0; i < features.size(); ++i)
        spec.bindings.push_back(checkBox(array + "(" + std::to_string(i) + ")", group, reg,
                                         features[i].mask, features[i].caption));
}

std::vector<FeatureSwitch> scalingFeatures(size_t count) {
    std::vector<FeatureSwitch> all{
        {0x0001, {900, "Anwender Skalierung aktiv"}},
        {0x0002, {901, "Hersteller Skalierung aktiv"}},
        {0x0004, {902, "Watchdog Timer aktiv"}},
        {0x0008, {903, "Betrags-Vorzeichen Darstellung"}},
        {0x0010, {904, "Siemens Ausgabeformat"}},
    };
    all.resize(std::min(count, all.size()));
    return all;
}

void addOffsetAndScaling(FormSpec& spec, size_t group) {
    spec.bindings.push_back(terminalNumber("fpReg33", group, 33, {910, "Anwender-Offset"}));
    spec.bindings.push_back(terminalNumber("fpReg34", group, 34, {911, "Anwender-Skalierung"}));
}

std::string_view typeFamily(std::string_view type) {
    return type.substr(0, 6);
}

}  // namespace varnak
