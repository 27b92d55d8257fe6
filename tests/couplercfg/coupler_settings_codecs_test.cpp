// The coupler settings dialogs' codecs and rules without a window: the general settings'
// registers 1-11, the autoconfiguration rule, the tabs and presets by coupler type, the
// controller's flag word, the link-terminal codes, the cycle-time texts and the number
// fields.
#include <gtest/gtest.h>

#include "couplercfg/controller_flags.h"
#include "couplercfg/coupler_settings_support.h"
#include "couplercfg/cycle_time_measurement.h"
#include "couplercfg/general_settings_codec.h"
#include "couplercfg/link_terminals.h"

namespace varnak {
namespace {

GeneralRegisters regs(std::initializer_list<std::pair<int, int32_t>> values) {
    GeneralRegisters r{};
    for (auto [n, v] : values) r[static_cast<size_t>(n)] = v;
    return r;
}

TEST(GeneralSettingsCodec, EdgeCasesOpenAndStoreBack) {
    struct Row {
        GeneralRegisters in;
        GeneralRegisters out;  // after OK without a change
    };
    const std::vector<Row> table{
        // Route 2 selects no option and is written as 0; the other bits of register 1 too.
        {regs({{1, 0xFFF5}}), regs({{1, 1}})},
        {regs({{1, 0x0006}}), regs({{1, 6}})},
        // Reactions of 3 show as the first option and are stored as 0; bits 12-15 are 0.
        {regs({{3, 0xF3FF}}), regs({{3, 0x00FF}})},
        {regs({{4, 0x0902}, {5, 0x0601}}), regs({{4, 0x0902}, {5, 0x0601}})},
        // Register 2 keeps its three bits only; register 11 its one.
        {regs({{2, 0xFFFC}, {11, 0x8003}}), regs({{2, 4}, {11, 1}})},
        {regs({{7, 0xFFFF}, {8, 1}, {9, 300}, {10, 0}}),
         regs({{7, 0xFFFF}, {8, 1}, {9, 300}, {10, 0}})},
        // Without autoconfiguration the dependent boxes show their bits, locked.
        {regs({{6, 0x003D}}), regs({{6, 0x003D}})},
    };
    for (size_t i = 0; i < table.size(); ++i) {
        const GeneralSettingsForm form = openGeneralSettings(table[i].in, "QZ3100-0000");
        EXPECT_EQ(fStoreGeneralSettings(form), table[i].out) << "row " << i;
    }
    const GeneralSettingsForm none = openGeneralSettings(regs({{1, 4}, {3, 0x0300}}), "QZ3100");
    EXPECT_FALSE(none.events.has_value());
    EXPECT_EQ(none.images[0].fieldbusReaction, 0);
    const GeneralSettingsForm locked = openGeneralSettings(regs({{6, 0x003D}}), "QZ3100");
    EXPECT_FALSE(locked.images[3].enabled[kEvaluation]);
    EXPECT_TRUE(locked.images[3].ticked[kEvaluation]);
    // A fill that turns autoconfiguration on keeps the rule's tick of the image box (as
    // Default's refill does); opening fills a second time, so the box shows its bit.
    GeneralSettingsForm refilled;
    fLoadGeneralSettings(refilled, regs({{3, 0x0002}}), "QZ8000");
    EXPECT_EQ(fStoreGeneralSettings(refilled)[3], 0x0003);
    EXPECT_EQ(fStoreGeneralSettings(openGeneralSettings(regs({{3, 0x0002}}), "QZ8000"))[3], 0x0002);
}

TEST(GeneralSettingsCodec, AutoconfigurationRuleAndPresetsByGroup) {
    // Evaluation, Motorola and word alignment per image; -1: unchanged (ticked before).
    using Preset = std::array<int, 3>;
    constexpr Preset kKeep{-1, -1, -1};
    struct Group {
        std::vector<std::string> designations;
        std::array<Preset, 4> images;
    };
    const std::vector<Group> groups{
        {{"QZ2000", "QZ2010", "JRV-300", "JRV-320"},
         {Preset{1, 0, 1}, Preset{1, 0, 1}, Preset{1, 0, 1}, Preset{1, 0, 1}}},
        {{"QZ3000", "QZ3010", "QZ3100", "QZ3110", "JRV-301", "JRV-302", "JRV-303", "JRV-323"},
         {Preset{0, 1, 0}, Preset{1, 0, 0}, kKeep, kKeep}},
        {{"QZ4000", "QZ4010", "JRV-304", "JRV-324"},
         {Preset{0, 1, 0}, Preset{0, 1, 0}, Preset{0, 1, 0}, Preset{0, 1, 0}}},
        {{"QZ5000", "JRV-305"},
         {Preset{1, 0, 0}, Preset{1, 0, 0}, Preset{1, 0, 0}, Preset{1, 0, 0}}},
        {{"QZ8000", "QY3100", "QZ3120", "QZ5100", "QZ200"}, {kKeep, kKeep, kKeep, kKeep}}};
    for (const Group& g : groups)
        for (const std::string& designation : g.designations)
            for (const std::string& type :
                 {designation, designation + "-0000", designation + "_000-000"})
                for (int image = 0; image < kGeneralImageCount; ++image) {
                    GeneralSettingsForm form;
                    ImagePanel& p = form.images[static_cast<size_t>(image)];
                    p.ticked.fill(true);
                    p.ticked[kActivateImage] = false;
                    p.ticked[kAutoconfiguration] = false;
                    setAutoconfiguration(form, image, true, type);
                    const Preset& want = g.images[static_cast<size_t>(image)];
                    const std::array<int, kImageBoxCount> expected{1,
                                                                   1,
                                                                   want[0] < 0 ? 1 : want[0],
                                                                   want[1] < 0 ? 1 : want[1],
                                                                   1,
                                                                   want[2] < 0 ? 1 : want[2],
                                                                   0,
                                                                   0};
                    for (int box = 0; box < kImageBoxCount; ++box)
                        EXPECT_EQ(p.ticked[static_cast<size_t>(box)],
                                  expected[static_cast<size_t>(box)] != 0)
                            << type << " image " << image << " box " << box;
                    // Unticking clears and locks the four dependent boxes; the image stays active.
                    setAutoconfiguration(form, image, false, type);
                    for (int box : {kEvaluation, kMotorola, kMotorolaDigitalQT, kWordAlignment})
                        EXPECT_FALSE(p.ticked[box] || p.enabled[box]) << type << " box " << box;
                    EXPECT_TRUE(p.ticked[kActivateImage]);
                }
}

TEST(GeneralSettingsCodec, TabsByCouplerType) {
    struct Row {
        const char* type;
        std::array<std::string, 4> captions;
        std::array<bool, 4> enabled;
    };
    const std::array<std::string, 4> images{"P1", "P2", "P3", "P4"};
    const std::array<bool, 4> all{true, true, true, true};
    const std::vector<Row> table{
        {"QZ3000", {"DP", "FMS", "", ""}, {true, true, false, false}},
        {"QZ3010-0000", {"DP", "FMS", "", ""}, {true, true, false, false}},
        {"QZ3100-0000", {"DP", "FMS", "", ""}, {true, true, false, false}},
        {"QZ3110-0000", {"DP", "FMS", "", ""}, {true, true, false, false}},
        {"JRV-301_000-000", {"DP", "FMS", "", ""}, {true, true, false, false}},
        {"JRV-302", {"DP", "FMS", "", ""}, {true, true, false, false}},
        {"JRV-303_000-000", {"DP", "FMS", "", ""}, {true, true, false, false}},
        {"JRV-323", {"DP", "FMS", "", ""}, {true, true, false, false}},
        {"QY3100-0000", {"DP", "DP V1", "PLC", "PLC->DP"}, all},
        {"QY3100", {"DP", "DP V1", "PLC", "PLC->DP"}, all},
        {"QZ4000-0000", {"P1", "", "", ""}, {true, false, false, false}},
        {"QZ4010", {"P1", "", "", ""}, {true, false, false, false}},
        {"JRV-304_000-000", {"P1", "", "", ""}, {true, false, false, false}},
        {"JRV-324", {"P1", "", "", ""}, {true, false, false, false}},
        {"QZ8000-0000", {"P1", "", "", ""}, {true, false, false, false}},
        {"QZ8010-0000", images, all},
        {"QZ3120-0000", images, all},
        {"QY9000-0000", images, all},
        {"", images, all}};
    for (const Row& r : table) {
        const GeneralTabs tabs = generalSettingsTabs(r.type, "P");
        EXPECT_EQ(tabs.captions, r.captions) << r.type;
        EXPECT_EQ(tabs.enabled, r.enabled) << r.type;
    }
}

TEST(ControllerFlags, LoadAndStoreOfRegister14) {
    struct Row {
        int32_t value;
        std::optional<int> previous;  // the option selected before the load
        std::optional<int> order;
        int32_t stored;  // OK without a change
    };
    const std::vector<Row> table{
        {0x000C, std::nullopt, std::nullopt, 0x000C},  // no option: bits 2-3 stay 3
        {0x000C, 1, 1, 0x0004},                        // the buttons keep their state
        {0x0808, std::nullopt, 2, 0x0808},             // bit 11 shown and kept
        {0xF400, std::nullopt, 0, 0xF400},             // bits 10 and 12-15 kept
        {0x03F3, std::nullopt, 0, 0x03F3},
    };
    for (const Row& r : table) {
        const ControllerFlags f = loadControllerFlags(r.value, r.previous);
        EXPECT_EQ(f.updateOrder, r.order) << r.value;
        EXPECT_EQ(storeControllerFlags(f, r.value), r.stored) << r.value;
    }
    ControllerFlags f = loadControllerFlags(0x0800, std::nullopt);
    EXPECT_TRUE(f.boxes[kCycleTimeSetBox]);
    f.boxes[kCycleTimeSetBox] = false;  // never stored
    f.boxes[0] = true;
    f.boxes[7] = true;
    f.updateOrder = 1;
    EXPECT_EQ(storeControllerFlags(f, 0x0800), 0x0A05);
    EXPECT_EQ(storeControllerFlags(loadControllerFlags(0, std::nullopt), 0x0010), 0);
}

TEST(LinkTerminalCodes, PositionsInRegisters4To11) {
    LinkCodeRegisters all{};
    all.fill(0);
    all[0] = 0xFFFF;
    for (int p = 1; p <= 8; ++p) EXPECT_EQ(linkTerminalCode(all, p), 3) << p;
    EXPECT_EQ(linkTerminalCode(all, 9), 0);
    LinkCodeRegisters mixed{0x4000, 0x0002, 0, 0, 0, 0, 0, 0xC000};
    EXPECT_EQ(linkTerminalCode(mixed, 8), 1);
    EXPECT_EQ(linkTerminalCode(mixed, 9), 2);
    EXPECT_EQ(linkTerminalCode(mixed, 64), 3);
    EXPECT_EQ(linkTerminalCode(mixed, 65), 0);

    // Nine terminals: position 9 in bits 0-1 of register 5, the registers after it 0.
    const LinkCodeRegisters nine = linkCodeRegisters({3, 3, 3, 3, 3, 3, 3, 2, 2});
    EXPECT_EQ(nine, (LinkCodeRegisters{0xBFFF, 0x0002, 0, 0, 0, 0, 0, 0}));
    // Past position 64 nothing is stored.
    EXPECT_EQ(linkCodeRegisters(std::vector<int>(70, 3)),
              (LinkCodeRegisters{0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF}));
    EXPECT_EQ(linkNumberRegister(4), 15);
    EXPECT_EQ(linkNumberRegister(5), 12);
}

TEST(CycleTimeText, MillisecondsFromUnitsOf8Microseconds) {
    const std::vector<std::pair<int32_t, std::string>> table{{0, "0000.000"},
                                                             {65535, "0524.280"},
                                                             {1, "0000.008"},
                                                             {12500, "0100.000"},
                                                             {1001, "0008.008"}};
    for (const auto& [units, text] : table) EXPECT_EQ(cycleTimeText(units), text) << units;
}

TEST(NumberField, TakesRegisterWordsOnly) {
    const std::vector<std::pair<std::string, std::optional<int32_t>>> table{
        {"0", 0},     {"65535", 65535}, {" 12 ", 12},  {"00042", 42}, {"65536", {}},
        {"-1", {}},   {"", {}},         {"   ", {}},   {"1.5", {}},   {"12a", {}},
        {"0x10", {}}, {"+3", {}},       {"999999", {}}};
    for (const auto& [text, value] : table) EXPECT_EQ(numberFieldValue(text), value) << text;
}

}  // namespace
}  // namespace varnak
