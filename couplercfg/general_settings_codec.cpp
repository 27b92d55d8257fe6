#include "couplercfg/general_settings_codec.h"

#include <span>
#include <string_view>

#include "couplercfg/coupler_settings_support.h"

namespace varnak {
namespace {

constexpr int kFirstImageRegister = 3;
constexpr int kFirstNumberRegister = 7;
constexpr int32_t kFieldbusShift = 8;
constexpr int32_t kTerminalbusShift = 10;
constexpr int32_t kRouteMask = 6;
constexpr int kDependentBoxes[] = {kEvaluation, kMotorola, kMotorolaDigitalQT, kWordAlignment};

using Designations = std::span<const std::string_view>;

// The coupler groups by the designations their type names start with.
constexpr std::string_view kGroupA[] = {"QZ2000", "QZ2010", "JRV-300", "JRV-320"};
// Couplers of a fieldbus with DP and FMS images (group B of the presets).
constexpr std::string_view kDpFms[] = {"QZ3000",  "QZ3010",  "QZ3100",  "QZ3110",
                                       "JRV-301", "JRV-302", "JRV-303", "JRV-323"};
constexpr std::string_view kGroupC[] = {"QZ4000", "QZ4010", "JRV-304", "JRV-324"};
constexpr std::string_view kGroupD[] = {"QZ5000", "JRV-305"};
constexpr std::string_view kControllerDp[] = {"QY3100"};
// Couplers of a single process image.
constexpr std::string_view kSingleImage[] = {"QZ4000", "QZ4010", "JRV-304", "JRV-324", "QZ8000"};

// A name matches a designation when it starts with it ("QZ3100-0000" is a QZ3100).
bool belongs(const std::string& type, Designations designations) {
    for (std::string_view d : designations)
        if (std::string_view(type).substr(0, d.size()) == d) return true;
    return false;
}

// What autoconfiguration ticks on an image of a coupler group.
struct Preset {
    bool evaluation;
    bool motorola;
    bool wordAlignment;
};

std::optional<Preset> autoconfigurationPreset(const std::string& type, int image) {
    if (belongs(type, kGroupA)) return Preset{true, false, true};
    if (belongs(type, kDpFms)) {
        if (image == 0) return Preset{false, true, false};
        if (image == 1) return Preset{true, false, false};
        return std::nullopt;
    }
    if (belongs(type, kGroupC)) return Preset{false, true, false};
    if (belongs(type, kGroupD)) return Preset{true, false, false};
    return std::nullopt;
}

bool bit(int32_t value, int n) {
    return ((value >> n) & 1) != 0;
}

// Bits 8-9 or 10-11: 0 or 3 select the first option.
int reaction(int32_t value, int32_t shift) {
    const int code = static_cast<int>((value >> shift) & 3);
    return code == 3 ? 0 : code;
}

int32_t reactionBits(const std::optional<int>& option, int32_t shift) {
    return option && *option > 0 ? static_cast<int32_t>(*option) << shift : 0;
}

}  // namespace

void applyAutoconfigurationRule(GeneralSettingsForm& form, int image,
                                const std::string& couplerType) {
    ImagePanel& p = form.images.at(static_cast<size_t>(image));
    p.ticked[kActivateImage] = true;
    const bool on = p.ticked[kAutoconfiguration];
    for (int box : kDependentBoxes) {
        p.enabled[box] = on;
        if (!on) p.ticked[box] = false;
    }
    if (!on) return;
    p.ticked[kInputSynch] = false;
    p.ticked[kOutputSynch] = false;
    if (const auto preset = autoconfigurationPreset(couplerType, image)) {
        p.ticked[kEvaluation] = preset->evaluation;
        p.ticked[kMotorola] = preset->motorola;
        p.ticked[kWordAlignment] = preset->wordAlignment;
    }
}

void setAutoconfiguration(GeneralSettingsForm& form, int image, bool ticked,
                          const std::string& couplerType) {
    bool& box = form.images.at(static_cast<size_t>(image)).ticked[kAutoconfiguration];
    if (box == ticked) return;
    box = ticked;
    applyAutoconfigurationRule(form, image, couplerType);
}

void fLoadGeneralSettings(GeneralSettingsForm& form, const GeneralRegisters& r,
                          const std::string& couplerType) {
    form.plcInterface = bit(r[1], 0);
    switch (r[1] & kRouteMask) {
        case 0:
            form.events = 0;
            break;
        case 2:
            form.events = 1;
            break;
        case 6:
            form.events = 3;
            break;
        default:
            break;  // 4 selects none: the previous selection stays
    }
    form.autoReset = bit(r[2], 0);
    form.diagnostics = bit(r[2], 1);
    form.diagnosticsDigTerm = bit(r[2], 2);
    for (int i = 0; i < kGeneralNumberCount; ++i)
        form.numbers[static_cast<size_t>(i)] =
            std::to_string(r[static_cast<size_t>(kFirstNumberRegister + i)] & 0xFFFF);
    form.oldTermConfig = bit(r[11], 0);
    for (int i = 0; i < kGeneralImageCount; ++i) {
        const int32_t value = r[static_cast<size_t>(kFirstImageRegister + i)];
        ImagePanel& p = form.images[static_cast<size_t>(i)];
        // In bit order: a change of the autoconfiguration box runs its rule, whose ticking
        // of the image-active box (set before it) stays, while the later boxes take their
        // bits over what the rule set.
        for (int box = 0; box < kImageBoxCount; ++box) {
            if (box == kAutoconfiguration)
                setAutoconfiguration(form, i, bit(value, box), couplerType);
            else
                p.ticked[static_cast<size_t>(box)] = bit(value, box);
        }
        p.fieldbusReaction = reaction(value, kFieldbusShift);
        p.terminalbusReaction = reaction(value, kTerminalbusShift);
    }
}

GeneralSettingsForm openGeneralSettings(const GeneralRegisters& registers,
                                        const std::string& couplerType) {
    GeneralSettingsForm form;
    fLoadGeneralSettings(form, registers, couplerType);
    for (ImagePanel& p : form.images) {
        if (p.ticked[kAutoconfiguration]) continue;
        for (int box : kDependentBoxes) p.enabled[box] = false;
        for (int box : {kEvaluation, kMotorola, kWordAlignment}) p.ticked[box] = false;
    }
    fLoadGeneralSettings(form, registers, couplerType);
    return form;
}

std::optional<int> firstRefusedNumber(const GeneralSettingsForm& form) {
    for (int i = 0; i < kGeneralNumberCount; ++i)
        if (!numberFieldValue(form.numbers[static_cast<size_t>(i)])) return i;
    return std::nullopt;
}

GeneralRegisters fStoreGeneralSettings(const GeneralSettingsForm& form) {
    GeneralRegisters r{};
    r[1] = form.plcInterface ? 1 : 0;
    if (form.events == 1) r[1] |= 2;
    if (form.events == 3) r[1] |= 6;
    r[2] =
        (form.autoReset ? 1 : 0) | (form.diagnostics ? 2 : 0) | (form.diagnosticsDigTerm ? 4 : 0);
    for (int i = 0; i < kGeneralImageCount; ++i) {
        const ImagePanel& p = form.images[static_cast<size_t>(i)];
        int32_t value = 0;
        for (int box = 0; box < kImageBoxCount; ++box)
            if (p.ticked[static_cast<size_t>(box)]) value |= 1 << box;
        value |= reactionBits(p.fieldbusReaction, kFieldbusShift);
        value |= reactionBits(p.terminalbusReaction, kTerminalbusShift);
        r[static_cast<size_t>(kFirstImageRegister + i)] = value;
    }
    for (int i = 0; i < kGeneralNumberCount; ++i)
        r[static_cast<size_t>(kFirstNumberRegister + i)] =
            numberFieldValue(form.numbers[static_cast<size_t>(i)]).value_or(0);
    r[11] = form.oldTermConfig ? 1 : 0;
    return r;
}

GeneralTabs generalSettingsTabs(const std::string& couplerType, const std::string& processImage) {
    GeneralTabs tabs;
    if (belongs(couplerType, kDpFms)) {
        tabs.captions = {"DP", "FMS", "", ""};
        tabs.enabled = {true, true, false, false};
    } else if (belongs(couplerType, kControllerDp)) {
        tabs.captions = {"DP", "DP V1", "PLC", "PLC->DP"};
        tabs.enabled = {true, true, true, true};
    } else if (belongs(couplerType, kSingleImage)) {
        tabs.captions = {processImage + "1", "", "", ""};
        tabs.enabled = {true, false, false, false};
    } else {
        for (int i = 0; i < kGeneralImageCount; ++i)
            tabs.captions[static_cast<size_t>(i)] = processImage + std::to_string(i + 1);
        tabs.enabled = {true, true, true, true};
    }
    return tabs;
}

}  // namespace varnak
