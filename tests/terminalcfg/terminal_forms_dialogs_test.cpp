// The terminal forms as dialogs on a rail holding a terminal of every family: their looks
// by type and language, OK unchanged online (the code-word sequence per form, the station
// left as it was; all four channels of a QT4004 in order) and offline (no request).
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include "model/clsColTerminals.h"
#include "model/clsCoupler.h"
#include "model/clsTerminal.h"
#include "terminalcfg/terminal_settings_dialog.h"
#include "tests/support/qt/rail_fixture.h"
#include "tests/support/sim_station.h"
#include "tests/support/wire_log.h"

namespace varnak::test {
namespace {

struct RailEntry {
    const char* type;
    const char* form;
};
// Rail positions 1, 2, ... in this order.
const std::vector<RailEntry> kRail{
    {"QT1501-0000", "frmTermConfigQT1501"}, {"QT2502-0000", "frmTermConfigQT2502"},
    {"QT3202-0000", "frmTermConfigQT3202"}, {"QT3351-0000", "frmTermConfigQT3351"},
    {"QT3302-0000", "frmTermConfigQT3302"}, {"QT4004-0000", "frmTermConfigQT4002"},
    {"QT5001-0000", "frmTermConfigQT5001"}, {"QT5101-0000", "frmTermConfigQT5101"},
    {"QT5111-0000", "frmTermConfigQT5101"}, {"QT6001-0000", "frmTermConfigQT6001"},
    {"QT6011-0000", "frmTermConfigQT6001"}, {"QT6021-0000", "frmTermConfigQT6001"},
    {"QT6051-0000", "frmTermConfigQT6051"},
};

RailStationSpec railSpec() {
    RailStationSpec spec{"QZ8000-0000", {}};
    for (const RailEntry& e : kRail) spec.terminals.push_back(e.type);
    return spec;
}

int positionOf(const std::string& type) {
    for (size_t i = 0; i < kRail.size(); ++i)
        if (kRail[i].type == type) return static_cast<int>(i) + 1;
    ADD_FAILURE() << type << " is not on the rail";
    return 0;
}

class TerminalForms : public RailFixture {
  protected:
    TerminalForms() : RailFixture(railSpec()) {}

    // Registers 0..63 of every channel the station holds.
    std::vector<uint16_t> stationRegisters() const {
        std::vector<uint16_t> all;
        for (size_t p = 1; p <= kRail.size(); ++p) {
            const int channels =
                rail()->clsColTerminals()->ItemPos(static_cast<int>(p))->InfoNrLogSigChnl();
            for (int c = 0; c < channels; ++c)
                for (int r = 0; r < 64; ++r) all.push_back(station->reg(static_cast<int>(p), c, r));
        }
        return all;
    }
    // Opens every form on channel 0 of its terminal (and the QT4004's third channel with
    // all channels ticked) and presses OK without a change.
    void okEveryFormUnchanged() {
        for (size_t i = 0; i < kRail.size(); ++i) {
            SCOPED_TRACE(kRail[i].type);
            TerminalSettingsDialog dialog(*findTerminalForm(kRail[i].form));
            ASSERT_TRUE(dialog.load(static_cast<int>(i) + 1, 0));
            dialog.cmdOK->click();
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
        }
        TerminalSettingsDialog dialog(*findTerminalForm("frmTermConfigQT4002"));
        ASSERT_TRUE(dialog.load(positionOf("QT4004-0000"), 2));
        dialog.chkConfigAllChannel->setChecked(true);
        dialog.cmdOK->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
};

TEST_F(TerminalForms, LooksByTypeAndLanguage) {
    struct Look {
        const char* type;
        int language;
        const char* widget;
        const char* text;  // nullptr: not checked
        bool shown;
        bool enabled;
    };
    const char* const duplex = "chk6001Feature(0)";
    const char* const pointToPoint = "chk6001Feature(5)";
    const Look looks[] = {
        // The encoder's switches that stand for no bit: German, disabled, shown per type.
        {"QT5101-0000", 2000, "chkFeature(0)", "Signale A,B,C im Statusbyte ausgeben", false,
         false},
        {"QT5101-0000", 2000, "chkFeature(1)", "Komplementäre Auswertung A,/A,B,/B,C,/C", true,
         false},
        {"QT5101-0000", 2000, "chkFeature(2)", "FAST_M", true, false},
        {"QT5101-0000", 2000, "chkFeature(3)", "Period measurement activated", true, true},
        {"QT5111-0000", 2000, "chkFeature(0)", "Signale A,B,C im Statusbyte ausgeben", true, false},
        {"QT5111-0000", 0, "chkFeature(3)", nullptr, false, true},
        {"QT5111-0000", 0, "chkFeature(4)", "Counter Mode aktiv", true, true},
        {"QT5111-0000", 0, "optFeature", nullptr, false, true},
        // The resistance thermometer's fixed sensor names, in both of its forms.
        {"QT3202-0000", 2000, "opt3202ThermoTyp5", "NI1000", true, true},
        {"QT3202-0000", 2000, "opt3202ThermoTyp6", "NI120", true, true},
        {"QT3202-0000", 2000, "opt3202ThermoTyp1", "Ni100", true, true},
        {"QT3202-0000", 0, "opt3202ThermoTyp5", "NI1000", true, true},
        {"QT3351-0000", 2000, "opt3202ThermoTyp6", "NI120", true, true},
        // The serial interface terminals by type and language.
        {"QT6001-0000", 0, duplex, "RTS/CTS eingeschaltet", true, true},
        {"QT6001-0000", 2000, duplex, "RTS/CTS active", true, true},
        {"QT6001-0000", 0, pointToPoint, nullptr, false, true},
        {"QT6011-0000", 0, duplex, nullptr, false, true},
        {"QT6011-0000", 0, pointToPoint, nullptr, false, true},
        {"QT6021-0000", 0, duplex, "Halb/Vollduplex", true, true},
        {"QT6021-0000", 2000, duplex, "Half/full duplex", true, true},
        {"QT6021-0000", 0, pointToPoint, "Punkt-zu-Punkt Verbindung (RS422)", true, true},
        {"QT6001-0000", 0, "opt6001Format0", "7 Daten, gerade Parität, 1 Stop", true, true},
        {"QT6001-0000", 2000, "opt6001Format0", "7 data, even parity", true, true},
        {"QT6001-0000", 0, "opt6001Stop0", "1 Stop", true, true},
        {"QT6001-0000", 2000, "opt6001Stop1", "2 Stop", true, true},
        {"QT6001-0000", 0, "opt6001Bytes0", "1 Datenbyte(s) im Prozeßabbild", true, true},
        {"QT6001-0000", 2000, "opt6001Bytes4", "5 data byte(s) mapped in bus coupler", true, true},
        // The slow encoder rates cannot be picked.
        {"QT5001-0000", 0, "opt5001Baud3", "100 KHz", true, true},
        {"QT5001-0000", 0, "opt5001Baud4", nullptr, false, true},
        {"QT5001-0000", 0, "opt5001Baud6", nullptr, false, true},
        {"QT5001-0000", 2000, "fpReg34_label", "Data length (0-32)", true, true},
        // The all-channels box only where there is more than one channel.
        {"QT1501-0000", 0, "chkConfigAllChannel", nullptr, false, true},
        {"QT6051-0000", 0, "chkConfigAllChannel", nullptr, false, true},
        {"QT4004-0000", 0, "chkConfigAllChannel", nullptr, true, true},
    };
    for (const Look& look : looks) {
        SCOPED_TRACE(std::string(look.type) + " " + look.widget + " " +
                     std::to_string(look.language));
        context.LanguageBase = look.language;
        const int position = positionOf(look.type);
        TerminalSettingsDialog dialog(*findTerminalForm(kRail[position - 1].form));
        ASSERT_TRUE(dialog.load(position, 0));
        const QWidget* w = dialog.findChild<QWidget*>(look.widget);
        ASSERT_TRUE(w);
        // A control on a tab page is seen with its page.
        if (auto* tabs = dialog.findChild<QTabWidget*>())
            for (int page = 0; page < tabs->count(); ++page)
                if (tabs->widget(page)->isAncestorOf(w)) tabs->setCurrentIndex(page);
        EXPECT_EQ(w->isVisibleTo(&dialog), look.shown);
        EXPECT_EQ(w->isEnabled(), look.enabled);
        if (!look.text) continue;
        if (auto* button = qobject_cast<const QAbstractButton*>(w))
            EXPECT_EQ(button->text().toStdString(), look.text);
        else
            EXPECT_EQ(qobject_cast<const QLabel*>(w)->text().toStdString(), look.text);
    }
}

TEST_F(TerminalForms, TheSerialInterfaceDialogOpensOnItsFirstTab) {
    for (int language : {0, 2000}) {
        context.LanguageBase = language;
        TerminalSettingsDialog dialog(*findTerminalForm("frmTermConfigQT6001"));
        ASSERT_TRUE(dialog.load(positionOf("QT6001-0000"), 0));
        auto* tabs = dialog.findChild<QTabWidget*>("SSTab1");
        ASSERT_TRUE(tabs);
        EXPECT_EQ(tabs->currentIndex(), 0);
        EXPECT_EQ(tabs->tabText(0), language ? "Common" : "Allgemein");
        EXPECT_EQ(tabs->tabText(1), "Parameter");
        EXPECT_TRUE(tabs->widget(1)->isAncestorOf(dialog.findChild<QWidget*>("opt6001Baud")));
    }
}

TEST_F(TerminalForms, OnlineOkUnchangedRunsTheCodeWordSequenceAndLeavesTheStationAsItWas) {
    connectStation().setTerminalCodeWord(true);
    goOnline();
    const std::vector<uint16_t> before = stationRegisters();
    okEveryFormUnchanged();
    EXPECT_EQ(stationRegisters(), before);
    EXPECT_TRUE(messageTexts().empty());
    EXPECT_TRUE(matchesGolden(wireLog(*station),
                              testSourcePath("terminalcfg/wire_golden/every_form_ok.txt")));
}

TEST_F(TerminalForms, OfflineOkSendsNothing) {
    connectStation();
    okEveryFormUnchanged();
    EXPECT_TRUE(station->requests().empty());
    EXPECT_TRUE(messageTexts().empty());
}

}  // namespace
}  // namespace varnak::test
