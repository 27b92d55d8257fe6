#pragma once
// The general coupler settings (registers 1-11 of the coupler's table 0) as the state of
// their dialog's controls, without the window: the fill from the registers, the store back
// into them, the autoconfiguration rule with its presets by coupler type, and the tabs a
// coupler type gets. Every register is built from 0 on store: bits the dialog does not
// show are written as 0, as the coupler's reserved bits must be.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace varnak {

inline constexpr int kGeneralImageCount = 4;  // process images 1-4 in registers 3-6
inline constexpr int kGeneralFirstRegister = 1;
inline constexpr int kGeneralLastRegister = 11;

// The eight boxes of a process image, by the bit they stand for.
enum ImageBox : int {
    kActivateImage = 0,
    kAutoconfiguration = 1,
    kEvaluation = 2,
    kMotorola = 3,
    kMotorolaDigitalQT = 4,
    kWordAlignment = 5,
    kInputSynch = 6,
    kOutputSynch = 7,
    kImageBoxCount = 8,
};

struct ImagePanel {
    std::array<bool, kImageBoxCount> ticked{};
    std::array<bool, kImageBoxCount> enabled{true, true, true, true, true, true, true, true};
    // Option groups: 0 leave the cycle / the data exchange, 1 reset, 2 keep; nullopt: none
    // selected.
    std::optional<int> fieldbusReaction;
    std::optional<int> terminalbusReaction;
};

// The four number fields: offsets master-slave and slave-master, waits after SYNC_0 and
// SYNC_1 (registers 7-10).
inline constexpr int kGeneralNumberCount = 4;

struct GeneralSettingsForm {
    std::array<ImagePanel, kGeneralImageCount> images;
    bool plcInterface = false;
    // Route of diagnostic messages: 0 fieldbus channel, 1 diagnostic interface, 3 YXP
    // interface (shown, not choosable); nullopt: none selected.
    std::optional<int> events;
    std::array<std::string, kGeneralNumberCount> numbers;
    bool autoReset = false;
    bool diagnostics = false;
    bool diagnosticsDigTerm = false;
    bool oldTermConfig = false;
};

// Registers 0..11 of table 0 (0 is not used).
using GeneralRegisters = std::array<int32_t, kGeneralLastRegister + 1>;

// Ticks or clears an image's autoconfiguration box; a change runs the autoconfiguration
// rule, whether the user or the fill made it.
void setAutoconfiguration(GeneralSettingsForm& form, int image, bool ticked,
                          const std::string& couplerType);
// The rule itself: the image becomes active; ticked enables the four dependent boxes,
// clears the free-running ones and applies the coupler type's preset; clear disables and
// clears the four dependent boxes.
void applyAutoconfigurationRule(GeneralSettingsForm& form, int image,
                                const std::string& couplerType);

// Fills the controls from the registers, as the dialog's fill does (the previous route
// selection stays when the registers select none).
void fLoadGeneralSettings(GeneralSettingsForm& form, const GeneralRegisters& registers,
                          const std::string& couplerType);
// The controls of a dialog that opens on the registers: the fill, the images without
// autoconfiguration locked, and the fill again, so that every box shows its bit.
GeneralSettingsForm openGeneralSettings(const GeneralRegisters& registers,
                                        const std::string& couplerType);

// The number field that holds no register word (0..3), or nullopt.
std::optional<int> firstRefusedNumber(const GeneralSettingsForm& form);
// Registers 1-11 built from the controls (registers 7-10 from number fields that
// firstRefusedNumber accepts; another text gives 0).
GeneralRegisters fStoreGeneralSettings(const GeneralSettingsForm& form);

// Tabs 0-3 of the dialog for a coupler type: caption and enabled state. processImage is
// the caption stem of the plain image tabs (text 481); a digit follows it.
struct GeneralTabs {
    std::array<std::string, kGeneralImageCount> captions;
    std::array<bool, kGeneralImageCount> enabled{};
};
GeneralTabs generalSettingsTabs(const std::string& couplerType, const std::string& processImage);

}  // namespace varnak
