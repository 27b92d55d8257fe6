// The terminal forms' codecs, one table per form: what a channel's registers show and what
// OK stores when nothing was changed, or after typing into one field. Registers no form
// names hold 0x7777 and must come back as they were.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "settingsforms/settings_codec.h"
#include "terminalcfg/terminal_form_specs.h"

namespace varnak {
namespace {

using Registers = std::vector<std::pair<int, int32_t>>;

struct Case {
    const char* type;
    Registers in;  // over the form's baseline
    // What the load shows, "name=value ...": a check 0 or 1, an option group its item, a
    // number its value; "name=hidden" or "name=shown" its visibility.
    const char* shows;
    Registers stored;        // what OK writes beyond the input
    const char* typed = "";  // "field=text" typed before OK
};

size_t controlNamed(const FormSpec& spec, const std::string& name) {
    for (size_t i = 0; i < spec.bindings.size(); ++i)
        if (spec.bindings[i].name == name) return i;
    ADD_FAILURE() << "no control " << name;
    return 0;
}

std::string shown(const FormSpec& spec, const ControlState& c, size_t i, const std::string& want) {
    if (want == "hidden" || want == "shown") return c.visible ? "shown" : "hidden";
    switch (spec.bindings[i].kind) {
        case BindingKind::Check:
            return std::to_string(c.checked);
        case BindingKind::Options:
        case BindingKind::List:
            return std::to_string(c.selected);
        default:
            return c.text;
    }
}

void expectCases(const FormSpec& spec, const Registers& baseline, const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(spec.name + " on " + c.type + ": " + c.shows);
        RegisterImage image{};
        image.fill(0x7777);
        for (int32_t reg : namedRegisters(spec)) image[static_cast<size_t>(reg)] = 0;
        for (auto [reg, v] : baseline) image[static_cast<size_t>(reg)] = v;
        for (auto [reg, v] : c.in) image[static_cast<size_t>(reg)] = v;
        FormState state = loadForm(spec, image, c.type);
        std::istringstream shows(c.shows);
        for (std::string item; shows >> item;) {
            const size_t eq = item.find('=');
            const size_t i = controlNamed(spec, item.substr(0, eq));
            EXPECT_EQ(shown(spec, state.controls[i], i, item.substr(eq + 1)), item.substr(eq + 1))
                << item;
        }
        if (const std::string typed = c.typed; !typed.empty()) {
            const size_t eq = typed.find('=');
            state.controls[controlNamed(spec, typed.substr(0, eq))].text = typed.substr(eq + 1);
        }
        ASSERT_FALSE(firstRefusedEntry(spec, state));
        RegisterImage out = image;
        storeForm(spec, state, out);
        RegisterImage want = image;
        for (auto [reg, v] : c.stored) want[static_cast<size_t>(reg)] = v;
        for (size_t reg = 0; reg < want.size(); ++reg)
            EXPECT_EQ(out[reg], want[reg]) << "register " << reg;
    }
}

TEST(TerminalFormCodecs, CounterQT1501) {
    const char* t = "QT1501-0000";
    expectCases(frmTermConfigQT1501Spec(), {{32, 0x0100}},
                {
                    {t, {{32, 0}}, "opt1501Feature=2 chk1501Feature(0)=0", {{32, 0x0400}}},
                    {t, {{32, 0x0302}}, "opt1501Feature=2 chk1501Feature(0)=1", {{32, 0x0402}}},
                    {t, {{32, 0xF8FD}}, "chk1501Feature(0)=0", {{32, 0x0400}}},
                    {t, {{32, 0x0102}}, "opt1501Feature=0", {}},
                    {t, {{32, 0x0200}}, "opt1501Feature=1", {}},
                });
}

TEST(TerminalFormCodecs, EncoderQT5101AndQT5111) {
    const char* t = "QT5101-0000";
    const char* t11 = "QT5111-0000";
    expectCases(
        frmTermConfigQT5101Spec(), {},
        {
            {t, {{32, 0x0C00}}, "optFeature=0 chkFeature(0)=hidden chkFeature(1)=shown", {{32, 0}}},
            {t, {{32, 0xFFFF}}, "chkFeature(3)=1 chkFeature(4)=1 chkFeature(1)=0", {{32, 0x8010}}},
            {t, {{32, 0x0800}}, "optFeature=2 optFeature=shown", {}},
            {t, {{32, 0x0410}}, "optFeature=1", {}},
            {t11,
             {{32, 0x8C10}},
             "chkFeature(3)=1 chkFeature(3)=hidden optFeature=hidden chkFeature(0)=shown "
             "chkFeature(2)=hidden chkFeature(4)=shown",
             {{32, 0x8010}}},
            {t11, {{32, 0x0810}}, "optFeature=2", {}},
        });
}

TEST(TerminalFormCodecs, EncoderQT5001) {
    const char* t = "QT5001-0000";
    expectCases(frmTermConfigQT5001Spec(), {{33, 1}},
                {
                    {t,
                     {{32, 0x0001}, {33, 3}, {34, 24}},
                     "chk5001Feature(0)=1 opt5001Baud=2 fpReg34=24",
                     {}},
                    {t, {{33, 7}}, "opt5001Baud=6", {}},
                    {t, {{33, 5}}, "opt5001Baud=4", {}},
                    {t, {{33, 0}}, "opt5001Baud=5", {{33, 6}}},
                    {t, {{33, 8}}, "opt5001Baud=5", {{33, 6}}},
                    {t, {{34, 40}}, "fpReg34=40", {}},
                    {t, {{32, 0xFFE5}}, "chk5001Feature(2)=1", {{32, 0x0005}}},
                    {t, {}, "", {{34, 0xFFFB}}, "fpReg34=-5"},
                });
}

TEST(TerminalFormCodecs, ResistanceThermometerQT3202AndQT3351) {
    const char* t = "QT3202-0000";
    const std::vector<Case> cases{
        {t,
         {{32, 0x0513}},
         "chk3202Feature(0)=1 chk3202Feature(1)=1 chk3202Feature(2)=0 chk3202Feature(3)=0 "
         "chk3202Feature(4)=1 chk3202Feature(5)=1 chk3202Feature(6)=1 opt3202ThermoTyp=0",
         {}},
        {t, {{32, 0xE000}}, "opt3202ThermoTyp=7", {}},
        {t, {{32, 0xF000}}, "opt3202ThermoTyp=8", {}},
        {t, {{32, 0x7000}}, "opt3202ThermoTyp=8", {{32, 0xF000}}},
        {t, {{32, 0xDAE0}}, "opt3202ThermoTyp=8", {{32, 0xF000}}},
        {t, {{32, 0x00E0}}, "chk3202Feature(4)=0", {{32, 0x0000}}},
        {t, {{32, 0x6404}}, "chk3202Feature(2)=1 chk3202Feature(6)=1 opt3202ThermoTyp=6", {}},
        {t, {{33, 65535}}, "fpReg33=65535", {{33, 0xFFFB}}, "fpReg33=-5"},
    };
    expectCases(frmTermConfigQT3202Spec(), {}, cases);
    expectCases(frmTermConfigQT3351Spec(), {}, cases);
}

TEST(TerminalFormCodecs, ThermocoupleQT3302) {
    const char* t = "QT3302-0000";
    expectCases(
        frmTermConfigQT3302Spec(), {},
        {
            {t, {{32, 0x1001}}, "chk3302Feature(0)=1 opt3302ThermoTyp=1", {}},
            {"QT3312-0000",
             {{32, 0x9500}},
             "chk3302Feature(5)=1 chk3302Feature(6)=1 chk3302Feature(0)=0 opt3302ThermoTyp=9",
             {}},
            {"QT3332-0000", {{32, 0xF000}}, "opt3302ThermoTyp=10", {}},
            {t, {{32, 0xA000}}, "opt3302ThermoTyp=10", {{32, 0xF000}}},
            {t, {{32, 0xE000}}, "opt3302ThermoTyp=10", {{32, 0xF000}}},
            {t, {{32, 0x08E0}}, "opt3302ThermoTyp=0", {{32, 0x0000}}},
            {t, {{34, 65535}}, "fpReg34=65535", {{34, 0xFFFB}}, "fpReg34=-5"},
        });
}

TEST(TerminalFormCodecs, SerialInterfaceQT6001Family) {
    const char* t = "QT6001-0000";
    const char* t11 = "QT6011-0000";
    const char* t21 = "QT6021-0000";
    expectCases(
        frmTermConfigQT6001Spec(), {{32, 6}, {33, 3}, {35, 3}},
        {
            {t,
             {{32, 6}, {33, 3}, {34, 0}, {35, 1}},
             "opt6001Baud=5 opt6001Format=2 opt6001Stop=0 chk6001Feature(0)=0 opt6001Bytes=0",
             {}},
            {t, {{33, 0x0009}}, "opt6001Format=0 opt6001Stop=1", {}},
            {t21, {{33, 0x000B}}, "opt6001Format=2 opt6001Stop=1", {}},
            {t21, {{33, 0x0006}}, "opt6001Format=2 opt6001Stop=0", {{33, 0x0003}}},
            {t, {{33, 0xFFF7}}, "opt6001Stop=0", {{33, 0x0003}}},
            {t, {{32, 0}}, "opt6001Baud=5", {{32, 6}}},
            {t, {{32, 8}}, "opt6001Baud=5", {{32, 6}}},
            {t, {{32, 7}}, "opt6001Baud=6", {}},
            {t, {{35, 0}}, "opt6001Bytes=2", {{35, 3}}},
            {t, {{35, 6}}, "opt6001Bytes=2", {{35, 3}}},
            {t, {{35, 5}}, "opt6001Bytes=4", {}},
            {t21,
             {{34, 0x003F}},
             "chk6001Feature(0)=1 chk6001Feature(5)=1 chk6001Feature(5)=shown",
             {}},
            {t, {{34, 0xFFC0}}, "chk6001Feature(1)=0", {{34, 0x0000}}},
            {t11,
             {{34, 0x0021}},
             "chk6001Feature(0)=1 chk6001Feature(0)=hidden chk6001Feature(5)=hidden",
             {}},
            {t, {}, "chk6001Feature(0)=shown chk6001Feature(5)=hidden", {}},
        });
}

TEST(TerminalFormCodecs, QT6051) {
    const char* t = "QT6051-0000";
    const FormSpec& spec = frmTermConfigQT6051Spec();
    expectCases(spec, {},
                {
                    {t, {{32, 0x000F}}, "chkFeature(0)=1 chkFeature(3)=1", {}},
                    {t, {{32, 0xFFF0}}, "chkFeature(2)=0", {{32, 0x0000}}},
                    {t, {{32, 0x0005}, {33, 65535}}, "chkFeature(1)=0 fpValueReg33=65535", {}},
                    {t, {{33, 9600}}, "fpValueReg33=9600", {{34, 0xFFFF}}, "fpValueReg34=-1"},
                });
    // A baud rate beyond 16 bits is refused, not stored.
    FormState state = loadForm(spec, RegisterImage{}, t);
    state.controls[controlNamed(spec, "fpValueReg33")].text = "100000";
    const auto refused = firstRefusedEntry(spec, state);
    ASSERT_TRUE(refused);
    EXPECT_EQ(spec.bindings[refused->control].name, "fpValueReg33");
}

TEST(TerminalFormCodecs, QT4002Family) {
    expectCases(
        frmTermConfigQT4002Spec(), {},
        {
            {"QT4002-0000", {{32, 0x0000}}, "chk4022Feature(0)=0", {}},
            {"QT4004-0000",
             {{32, 0x0121}},
             "chk4022Feature(0)=1 chk4022Feature(1)=0 chk4022Feature(3)=0 chk4022Feature(4)=1 "
             "chk4022Feature(5)=1",
             {}},
            {"QT4012-0000", {{32, 0x0010}}, "chk4022Feature(4)=0", {{32, 0x0000}}},
            {"QT4034-0000", {{32, 0xFFFF}}, "chk4022Feature(2)=1", {{32, 0x012F}}},
            {"QT4022-0000", {{33, 65535}}, "fpReg33=65535", {{33, 0xFFFB}}, "fpReg33=-5"},
        });
}

TEST(TerminalFormCodecs, PulseWidthQT2502) {
    const char* t = "QT2502-0000";
    expectCases(frmTermConfigQT2502Spec(), {},
                {
                    {t, {{32, 0x0000}}, "opt2502=0", {}},
                    {t,
                     {{32, 0xA005}},
                     "chk2502Feature(0)=1 chk2502Feature(1)=0 chk2502Feature(2)=1 opt2502=3",
                     {}},
                    {t, {{32, 0x3000}}, "opt2502=0", {{32, 0x0000}}},
                    {t, {{32, 0xE0F8}}, "opt2502=4 chk2502Feature(0)=0", {{32, 0xE000}}},
                    {t, {{32, 0xF007}}, "opt2502=0 chk2502Feature(1)=1", {{32, 0x0007}}},
                    {t, {{32, 0x6000}}, "opt2502=2", {}},
                    {t, {{36, 65535}}, "fpReg36=65535", {{36, 0}}, "fpReg36=0"},
                });
}

}  // namespace
}  // namespace varnak
