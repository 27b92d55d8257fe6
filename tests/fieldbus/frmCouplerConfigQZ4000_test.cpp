// The QZ4000 form's codec: four mode switches of register 0 and the diagnostics switch of
// register 1, both registers rebuilt from the boxes alone.
#include <gtest/gtest.h>

#include "fieldbus/coupler_form_specs.h"
#include "tests/fieldbus/form_cases.h"

namespace varnak::test {
namespace {

constexpr size_t kDiagnostics = 4;

TEST(QZ4000Form, SwitchesRebuildTheirRegistersWhole) {
    const FormSpec& spec = frmCouplerConfigQZ4000Spec();
    struct Case {
        Registers loaded;
        std::function<void(FormState&)> edit;
        const char* ticked;  // boxes 0..4
        Registers stored;
    };
    const Case cases[] = {
        {{{0, 0x0015}, {1, 0x0003}}, {}, "10101", {{0, 0x0005}, {1, 0x0001}}},
        {{{0, 0x000E}, {1, 0x0001}}, {}, "01111", {}},
        {{{0, 0xFFF0}, {1, 0xFFFE}}, {}, "00000", {{0, 0}, {1, 0}}},
        {{{0, 0x0001}, {1, 0x0000}}, tick(spec, 3, true), "10010", {{0, 0x0009}}},
        {{{0, 0x0001}, {1, 0x0001}}, tick(spec, kDiagnostics, false), "10000", {{1, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.loaded.at(0)) + " " + std::to_string(c.loaded.at(1)));
        const RegisterImage image = imageWith(c.loaded);
        const FormRun run = runForm(spec, image, "QZ4000-0000", c.edit);
        std::string ticked;
        for (const ControlState& box : run.shown.controls) ticked += box.checked ? '1' : '0';
        EXPECT_EQ(ticked, c.ticked);
        expectStored(run, image, c.stored);
    }
}

}  // namespace
}  // namespace varnak::test
