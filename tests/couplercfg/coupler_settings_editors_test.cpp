// The coupler settings dialogs' roads without their windows: offline on the project's rail
// and online against the simulated station, each OK's telegrams checked with a golden wire
// log.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "couplercfg/controller_flags.h"
#include "couplercfg/cycle_time_measurement.h"
#include "couplercfg/general_settings_editor.h"
#include "couplercfg/link_terminals.h"
#include "couplerservices/coupler_services.h"
#include "model/clsColTables.h"
#include "model/clsTable.h"
#include "model/tree_node_key.h"
#include "tests/support/late_lift.h"
#include "tests/support/qt/qt_app.h"
#include "tests/support/qt/rail_fixture.h"
#include "tests/support/station_controller.h"
#include "tests/support/wire_log.h"

namespace varnak::test {
namespace {

// Eight digital terminals, an analog one at position 9 and the end terminal.
RailStationSpec controllerRail() {
    RailStationSpec spec{"QY3100-0000", std::vector<std::string>(8, "QT1002-0000")};
    spec.terminals.push_back("QT3002-0000");
    spec.terminals.push_back("QT9010-0000");
    return spec;
}

class CouplerSettings : public RailFixture {
  protected:
    explicit CouplerSettings(RailStationSpec spec = controllerRail())
        : RailFixture(std::move(spec)) {
        ensureQtApp();
    }
    void online() {
        connectStation();
        goOnline();
    }
    std::shared_ptr<clsTable> table(int n) const {
        auto r = project->Online() ? context.VarnakOnlineCoupler : rail();
        return r->clsColTables()->Item(n);
    }
    std::string linkKey() const {
        return treeKey(TreeNodeKind::SpecificProgTermCfg,
                       couplerKeyDetail(rail()->ConfSymbolicID(), rail()->ConfProjectPosition()));
    }
    // The answers the station has ready for the coming telegrams: n sound ones, then none.
    void failTelegram(int after) {
        for (int i = 0; i < after; ++i) station->queueFault(ReplyFault::none());
        station->queueFault(ReplyFault::noReply());
    }
};

TEST_F(CouplerSettings, GeneralOkOnlineWritesTableZeroUnderLiftedProtection) {
    online();
    GeneralSettingsEditor editor;
    ASSERT_TRUE(editor.open());
    EXPECT_EQ(station->requests().size(), 15u);  // table 0 read whole
    station->clearRequests();
    EXPECT_EQ(editor.tabs().captions[3], "PLC->DP");
    editor.clickAutoconfiguration(1, true);  // image 2: active and autoconfigured
    editor.form().numbers[0] = "513";
    EXPECT_TRUE(editor.ok());
    EXPECT_EQ(station->reg(0, 0, 4), 0x0003);
    EXPECT_EQ(station->reg(0, 0, 7), 513);
    EXPECT_EQ(station->reg(0, 0, 255), 0x0B02);  // the firmware register went as read
    EXPECT_TRUE(station->coupler().writeProtected);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(logMatches("general_ok.txt"));
}

// A step that fails ends OK there, as "Error" and its code: no later step is made, so a
// failed write leaves the protection lifted.
TEST_F(CouplerSettings, GeneralOkFailingStopsAtTheFailedStepAndStaysOpen) {
    online();
    control.setQZxTimeout(200);  // each lost reply is waited out: keep the waits short
    control.setQZxPortOpen(true);
    GeneralSettingsEditor editor;
    ASSERT_TRUE(editor.open());
    station->clearRequests();
    editor.form().images[0].ticked[kWordAlignment] = true;
    failTelegram(4);  // the lift's two telegrams and two of the table's; the third is lost
    EXPECT_FALSE(editor.ok());
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"Error 1"});
    EXPECT_EQ(ui.messages[0].title, "Varnak");
    EXPECT_FALSE(station->coupler().writeProtected);
    EXPECT_TRUE(logMatches("general_failed_write.txt"));
    // Cancel now keeps what was stored: the device may hold part of it.
    editor.cancel();
    EXPECT_EQ(table(0)->ConfRegisterValue(3) & 0x20, 0x20);
    EXPECT_TRUE(table(0)->ValueChanged());

    // OK again after "Error 1" writes the whole table and sets the protection: the lost
    // write's late acknowledgement is waited out, not taken for the new one's.
    station->clearRequests();
    EXPECT_TRUE(editor.ok());
    EXPECT_TRUE(station->coupler().writeProtected);
    EXPECT_EQ(station->reg(0, 0, 3) & 0x20, 0x20);

    // A refused lift sends nothing more.
    station->clearRequests();
    station->setCommandHook([](std::vector<uint16_t>& t, uint16_t command) {
        if (command == 0x0101) t[1] = 0;
    });
    EXPECT_FALSE(editor.ok());
    EXPECT_EQ(messageTexts().back(), "Error -2");
    EXPECT_EQ(station->requests().size(), 2u);

    // A lift that got no answer, from a station silent or answering late: nothing more.
    const std::string liftSent =
        "write pos 0 table 99 reg 0 count 4: 0x0101 0x0001 0x5C3B 0x0000\n";
    station->setCommandHook({});
    station->clearRequests();
    station->queueFault(ReplyFault::noReply());
    EXPECT_FALSE(editor.ok());
    EXPECT_EQ(messageTexts().back(), "Error 1");
    EXPECT_EQ(wireLog(*station), liftSent);
    station->clearRequests();
    answerLiftsLate(*station);
    EXPECT_FALSE(editor.ok());
    EXPECT_EQ(messageTexts().back(), "Error 1");
    EXPECT_EQ(wireLog(*station), liftSent + "read  pos 0 table 99 reg 0 count 4\n");
}

TEST_F(CouplerSettings, GeneralOfflineOkSavesDefaultCopiesOneToElevenCancelRestores) {
    auto t0 = table(0);
    t0->setConfRegisterValue(3, 0x0101);
    t0->setConfRegisterValue(255, 0x0999);
    t0->setValueChanged(false);
    {
        GeneralSettingsEditor editor;
        ASSERT_TRUE(editor.open());
        editor.restoreDefaults();
        EXPECT_EQ(t0->ConfRegisterValue(3), 0x0507);    // the description's
        EXPECT_EQ(t0->ConfRegisterValue(255), 0x0999);  // identification stays
        EXPECT_TRUE(editor.form().images[0].ticked[kEvaluation]);
        EXPECT_TRUE(editor.form().images[0].enabled[kEvaluation]);
        editor.cancel();
        EXPECT_EQ(t0->ConfRegisterValue(3), 0x0101);
        EXPECT_FALSE(t0->ValueChanged());
    }
    GeneralSettingsEditor editor;
    ASSERT_TRUE(editor.open());
    editor.form().numbers[2] = "70000";
    EXPECT_FALSE(editor.ok());
    EXPECT_EQ(messageTexts(),
              std::vector<std::string>{"Ungültige Eingabe: Wartezeit nach SYNC_0 (0 .. 65535)"});
    EXPECT_FALSE(t0->ValueChanged());
    editor.form().numbers[2] = " 700";
    EXPECT_TRUE(editor.ok());
    EXPECT_EQ(railFromDisk()->clsColTables()->Item(0)->ConfRegisterValue(9), 700);
}

TEST_F(CouplerSettings, GeneralDefaultWithoutDescriptionChangesNothing) {
    rail()->setInfoName("QY3199-0000");
    GeneralSettingsEditor editor;
    ASSERT_TRUE(editor.open());
    const int32_t before = table(0)->ConfRegisterValue(3);
    table(0)->setConfRegisterValue(3, before ^ 1);
    editor.restoreDefaults();
    EXPECT_EQ(table(0)->ConfRegisterValue(3), before ^ 1);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(
        ui.messages[0].text.rfind("Keine brauchbare Gerätebeschreibung, nichts geändert: ", 0), 0u);
    EXPECT_NE(ui.messages[0].text.find("QY3199-0000.INI"), std::string::npos);
}

TEST_F(CouplerSettings, CycleTimePollsFourRegistersAndNeverDuringTheCommand) {
    online();
    station->setRegister(0, 1, 14, 0x0042);  // the evaluation runs
    station->changeCoupler([](CouplerState& c) { c.cycleTimeEvaluation = true; });
    auto pump = [](float seconds) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < seconds * 1000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    };
    CouplerServices services([&](float) { pump(0.3f); });
    CycleTimeMeasurement m([&](bool on) { return services.fCouplerCycleTimeEvaluation(on); });
    std::vector<std::array<std::string, 4>> shown;
    m.onValues([&](const auto& texts) { shown.push_back(texts); });
    ASSERT_TRUE(m.open());
    ASSERT_TRUE(m.evaluationRuns());
    m.setActive(true);  // the box follows the register: the measurement restarts
    EXPECT_TRUE(m.polling());
    pump(0.6f);
    m.setActive(false);
    EXPECT_FALSE(m.polling());
    EXPECT_FALSE(station->coupler().cycleTimeEvaluation);
    EXPECT_EQ(station->reg(0, 1, 14), 0x0040);
    m.close();
    EXPECT_TRUE(station->coupler().writeProtected);

    // The polls in a row read as one line; every poll reads registers 0-3 of table 98.
    std::string log;
    std::string last;
    int polls = 0;
    for (const std::string& r : station->requests()) {
        const std::string line = decodeRequest(r);
        if (line == "read  pos 0 table 98 reg 0 count 4" && line == last) {
            ++polls;
            continue;
        }
        log += line + "\n";
        last = line;
    }
    EXPECT_GE(polls, 4);
    EXPECT_TRUE(matchesGolden(log, testSourcePath("couplercfg/wire_golden") / "cycle_time.txt"));
    ASSERT_FALSE(shown.empty());
    const auto& values = shown.back();
    EXPECT_LE(values[0], values[2]);  // minimum <= current <= maximum, all past 8 ms
    EXPECT_LE(values[2], values[1]);
    EXPECT_GE(values[0], "0008.000");
}

TEST_F(CouplerSettings, CycleTimeOfflineOnlyWritesTheRestartValues) {
    CycleTimeMeasurement m([](bool) -> bool {
        ADD_FAILURE() << "no command offline";
        return false;
    });
    ASSERT_TRUE(m.open());
    EXPECT_FALSE(m.evaluationRuns());  // register 14 = 0x0040
    m.setActive(true);
    EXPECT_FALSE(m.polling());
    EXPECT_EQ(table(98)->ConfRegisterValue(0), 65535);
    EXPECT_EQ(table(98)->ConfRegisterValue(3), 0);
}

TEST_F(CouplerSettings, ControllerFlagsOkWritesOneRegisterAndAFailureStaysOpen) {
    online();
    ControllerFlagsEditor editor;
    ASSERT_TRUE(editor.open());
    station->clearRequests();
    editor.flags().boxes[0] = true;  // Nov RAM active
    editor.flags().updateOrder = 2;
    EXPECT_TRUE(editor.ok());
    EXPECT_EQ(station->reg(0, 1, 14), 0x0049);
    failTelegram(2);  // the register's write is lost
    EXPECT_FALSE(editor.ok());
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"Error 1"});
    EXPECT_TRUE(station->coupler().writeProtected);
    EXPECT_TRUE(logMatches("controller_flags.txt"));
}

TEST_F(CouplerSettings, LinkTerminalsOnlineOkWritesTableOneEvenAfterARefusedLift) {
    online();
    station->setRegister(0, 1, 5, 0xFFFF);  // codes of positions 9-16: 3
    LinkTerminalEditor editor;
    ASSERT_TRUE(editor.open(linkKey()));
    station->clearRequests();
    ASSERT_EQ(editor.rows().size(), 10u);
    EXPECT_EQ(editor.rows()[8].type, "QT3002-0000");
    EXPECT_EQ(editor.rows()[8].code, 3);
    EXPECT_EQ(editor.numbers()[5], "10");  // the PLC cycle time, register 12
    editor.setCode(8, 2);
    editor.setCode(8, 1);  // no such choice
    auto numbers = editor.numbers();
    numbers[4] = "4";
    station->setCommandHook([](std::vector<uint16_t>& t, uint16_t command) {
        if (command == 0x0101 && t[2] != 0) t[1] = 0;  // the lift is refused, the set is not
    });
    EXPECT_FALSE(editor.ok(numbers));
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"Error -2"});
    EXPECT_TRUE(logMatches("link_terminals.txt"));
    station->setCommandHook({});
    EXPECT_TRUE(editor.ok(numbers));
    // Positions 9 and 10; the codes of positions beyond the rail are cleared.
    EXPECT_EQ(station->reg(0, 1, 5), 0x000E);
    EXPECT_EQ(station->reg(0, 1, 6), 0);
    EXPECT_EQ(station->reg(0, 1, 15), 4);
    numbers[0] = "x";
    EXPECT_FALSE(editor.ok(numbers));
    EXPECT_EQ(messageTexts().back(),
              "Ungültige Eingabe: Offset der SPS-Eingänge im Feldbusinterface (0 .. 65535)");
    EXPECT_EQ(editor.refusedField(), 0);
}

class ManyTerminals : public CouplerSettings {
  protected:
    ManyTerminals()
        : CouplerSettings({"QY3100-0000", std::vector<std::string>(66, "QT1002-0000")}) {}
};

TEST_F(ManyTerminals, PositionsPast64AreLockedAndTold) {
    LinkTerminalEditor editor;
    ASSERT_TRUE(editor.open(linkKey()));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("66"), std::string::npos);
    EXPECT_TRUE(editor.rows()[64].locked);
    editor.setCode(64, 2);
    editor.setCode(63, 2);
    EXPECT_EQ(editor.rows()[64].code, 0);
    EXPECT_TRUE(editor.ok(editor.numbers()));
    // Register 12, the PLC cycle time, keeps its value.
    EXPECT_EQ(table(1)->ConfRegisterValue(12), 10);
    EXPECT_EQ(railFromDisk()->clsColTables()->Item(1)->ConfRegisterValue(11), 0xBFFF);
}

class FieldbusCoupler : public CouplerSettings {
  protected:
    FieldbusCoupler() : CouplerSettings({"QZ3100-0000", {"QT1002-0000"}}) {}
};

TEST_F(FieldbusCoupler, WithoutTables1And98TheControllerDialogsTellAndOpenNothing) {
    CycleTimeMeasurement m([](bool) { return true; });
    EXPECT_FALSE(m.open());
    EXPECT_FALSE(ControllerFlagsEditor().open());
    EXPECT_FALSE(LinkTerminalEditor().open(linkKey()));
    EXPECT_EQ(messageTexts(), std::vector<std::string>(3, "Keine Kommunikation mit Koppler!"));
    // The general settings open on table 0 with the fieldbus coupler's tabs.
    GeneralSettingsEditor general;
    ASSERT_TRUE(general.open());
    EXPECT_EQ(general.tabs().captions[1], "FMS");
}

}  // namespace
}  // namespace varnak::test
