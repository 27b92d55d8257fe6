// Terminal and coupler scripts: the line parser and the file checks, the runs against the
// simulated station with golden wire logs, the mismatch box, failures and Cancel during a
// run of the dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>

#include "online/frmScriptCoupler.h"
#include "online/frmScriptTerm.h"
#include "online/script_dialog.h"
#include "online/script_lines.h"
#include "online/script_run.h"
#include "tests/support/qt/event_wait.h"
#include "tests/support/qt/rail_fixture.h"
#include "tests/support/wire_log.h"

namespace varnak::test {
namespace {

using Outcome = ScriptRun::Outcome;

TEST(ScriptLines, SplitAndNumbers) {
    struct Row {
        const char* text;
        bool splits;
        std::optional<int64_t> offset;
        std::optional<int64_t> value;
    };
    const std::vector<Row> rows{
        {"40,0x1F", true, 40, 31},
        {" 40 , 31 ", true, 40, 31},
        {"&H28,&O17", true, 40, 15},
        {"40,-1", true, 40, -1},
        {"0x28,31", true, std::nullopt, 31},  // offsets are never "0x"
        {"40,0x1G", true, 40, std::nullopt},
        {"40,0x", true, 40, std::nullopt},
        {"40,&H", true, 40, std::nullopt},
        {"4 0,1", true, std::nullopt, 1},
        {"40,1,2", true, 40, std::nullopt},
        {"40", false, std::nullopt, std::nullopt},
        {"40,", false, std::nullopt, std::nullopt},
        {",5", true, std::nullopt, 5},
    };
    for (const Row& r : rows) {
        const ScriptLineParts p = SplitINIStringToOffsetValue(r.text);
        EXPECT_EQ(p.splits, r.splits) << r.text;
        EXPECT_EQ(p.offset, r.offset) << r.text;
        EXPECT_EQ(p.value, r.value) << r.text;
    }
    EXPECT_EQ(scriptNumber("+7", false), 7);
    EXPECT_EQ(scriptNumber("&hffff", false), 65535);
    EXPECT_EQ(scriptNumber("999999999999999999999", false), std::nullopt);
}

class ScriptTest : public RailFixture {
  protected:
    ScriptTest() : RailFixture({"QZ3100-0000", {"QT3004-0000", "QT1002-0000", "QT3002-0000"}}) {}
    std::string script(const std::string& name, const std::string& text) {
        const auto file = dir / name;
        writeFile(file, text);
        return file.string();
    }
    static Outcome runToEnd(ScriptPlan plan) {
        ScriptRun run(std::move(plan), {});
        while (run.step()) {
        }
        return run.outcome();
    }
    static bool waitFor(const std::function<bool()>& done, int ms = 10000) {
        return runEventsUntil(done, ms);
    }
};

TEST_F(ScriptTest, ATerminalScriptWritesEachLineToEveryChannelOfTheTerminalsWithRegisters) {
    connectStation();
    goOnline();
    const TerminalScript s = readTerminalScript(
        script("a.tsi", "[Initialisierung]\nInit3=40,0x1F\nInit9=40\nInit10=33,-2\n"));
    ASSERT_TRUE(s.readable);
    ASSERT_EQ(s.lines.size(), 2u);
    const ScriptPlan plan = terminalScriptPlan(s, *context.VarnakOnlineCoupler, 1, 2);
    EXPECT_EQ(plan.writes.size(), 8u);
    EXPECT_EQ(plan.writes[5].status, "Register 33   Kanal 1");
    EXPECT_EQ(runToEnd(plan), Outcome::Completed);
    EXPECT_EQ(station->reg(1, 3, 40), 31);
    EXPECT_EQ(station->reg(1, 2, 33), 0xFFFE);  // compared as the word written
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(logMatches("terminal_script.txt"));
}

TEST_F(ScriptTest, AValueTheTerminalDoesNotTakeAsksAndCancelEndsTheRun) {
    connectStation().setTerminalCodeWord(true);
    goOnline();
    const TerminalScript s =
        readTerminalScript(script("a.tsi", "[Initialisierung]\nInit1=40,7\nInit2=41,7\n"));
    ui.answers = {vbOK, vbCancel};
    EXPECT_EQ(runToEnd(terminalScriptPlan(s, *context.VarnakOnlineCoupler, 3, 3)),
              Outcome::Aborted);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text,
              "Klemme an Position: 3\n Signalkanal: 2\n Register: 40\n\n Fehler !!!\n Datum "
              "wurde von Klemme nicht \xC3\xBC"
              "bernommen\n\nMit OK l\xC3\xA4uft das Script weiter, Abbrechen beendet es.");
    EXPECT_EQ(ui.messages[1].style, vbOKCancel | vbInformation);
    EXPECT_EQ(station->requests().size(), 6u);  // two channels of line 1, then the end
}

TEST_F(ScriptTest, InvalidLinesRefuseTheWholeScriptAndNothingIsSent) {
    connectStation();
    goOnline();
    const std::string path =
        script("bad.tsi",
               "[Initialisierung]\nInit1=0x28,31\nInit2=40,0x1G\nInit3=40,0x\nInit4=40,70000\n"
               "Init5=64,1\nInit6=40\nInit7=41,\nInit8=40,0x1F\nInit65=1,x\n");
    frmScriptTerm dialog;
    EXPECT_FALSE(dialog.load(path));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Das Script wurde nicht ausgef\xC3\xBChrt, nichts wurde gesendet. Diese Zeilen "
              "sind ung\xC3\xBCltig:\n[Initialisierung] Init1=0x28,31\n[Initialisierung] "
              "Init2=40,0x1G\n[Initialisierung] Init3=40,0x\n[Initialisierung] "
              "Init4=40,70000\n[Initialisierung] Init5=64,1");
    // Missing and empty scripts say why.
    EXPECT_FALSE(dialog.load((dir / "none.tsi").string()));
    EXPECT_FALSE(dialog.load(script("empty.tsi", "[Initialisierung]\nInit1=40\n")));
    EXPECT_EQ(messageTexts()[2], "Die Script-Datei enth\xC3\xA4lt nichts zu schreiben.");
    EXPECT_TRUE(station->requests().empty());
}

TEST_F(ScriptTest, ScriptsAreRefusedOffline) {
    connectStation();
    const std::string path = script("a.tsi", "[Initialisierung]\nInit1=40,1\n");
    frmScriptTerm terminal;
    frmScriptCoupler coupler;
    EXPECT_FALSE(terminal.load(path));
    EXPECT_FALSE(coupler.load(path));
    EXPECT_EQ(messageTexts(),
              std::vector<std::string>(
                  2, "Ein Script l\xC3\xA4uft nur, solange das Programm online ist."));
    EXPECT_TRUE(station->requests().empty());
}

TEST_F(ScriptTest, CouplerSectionsAreReadAsTheyAreEnabledAndUpToTheirGap) {
    const std::string path =
        script("a.csi",
               "[Tab_100]\nTransfer=true\nInit1=3,7\nInit2=4,-1\nInit4=5,9\n[Tab_8]\nTransfer=1\n"
               "Init1=1,1\n[Tab_9]\nTransfer=FALSE\nInit1=1,1\n[Tab_00]\nTransfer=TRUE\nInit1=1,1\n"
               "[Tab_151]\nTransfer=TRUE\nInit1=1,1\n");
    const CouplerScript s = readCouplerScript(path);
    ASSERT_EQ(s.sections.size(), 1u);
    EXPECT_EQ(s.sections[0].table, 100);
    EXPECT_EQ(s.sections[0].lines.size(), 2u);
    EXPECT_TRUE(s.invalid.empty());

    std::string keys = "[Tab_121]\nTransfer=TRUE\n[Tab_119]\nTransfer=TRUE\n";
    std::string many;
    for (int i = 1; i <= 45; ++i) many += "Init" + std::to_string(i) + "=1,1\n";
    keys.insert(keys.find("[Tab_119]"), many);
    keys += many;
    const CouplerScript limits = readCouplerScript(script("b.csi", keys));
    ASSERT_EQ(limits.sections.size(), 2u);
    EXPECT_EQ(limits.sections[0].lines.size(), 45u);  // table 119
    EXPECT_EQ(limits.sections[1].lines.size(), 40u);  // table 121

    const CouplerScript high =
        readCouplerScript(script("c.csi",
                                 "[Tab_130]\nTransfer=True\nInit1=1,1\n[Tab_1]\n"
                                 "Transfer=TRUE\nInit1=256,1\n"));
    EXPECT_EQ(high.invalid,
              (std::vector<std::string>{"[Tab_1] Init1=256,1", "[Tab_130] Transfer=TRUE"}));
}

TEST_F(ScriptTest, ACouplerScriptWritesBetweenOneLiftAndOneSetAndResetsWhenAsked) {
    connectStation();
    goOnline();
    const std::string path = script("a.csi", "[Tab_100]\nTransfer=true\nInit1=3,7\nInit2=4,-1\n");
    frmScriptCoupler dialog;
    ASSERT_TRUE(dialog.load(path));
    dialog.chkAutoReset->setChecked(true);
    dialog.show();
    dialog.cmdPrjOk->click();
    EXPECT_FALSE(dialog.cmdPrjOk->isEnabled());
    ASSERT_TRUE(waitFor([&] { return !dialog.isVisible(); }));
    EXPECT_EQ(dialog.stepper().outcome(), Outcome::Completed);
    EXPECT_EQ(station->coupler().softwareResets, 1);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(logMatches("coupler_script.txt"));
}

TEST_F(ScriptTest, ACouplerScriptWithNothingToWriteKeepsTheBracketAndSaysSo) {
    connectStation();
    goOnline();
    EXPECT_EQ(runToEnd(couplerScriptPlan(readCouplerScript(script("a.csi", "[Tab_5]\n")), false)),
              Outcome::Completed);
    EXPECT_EQ(messageTexts(),
              std::vector<std::string>{"Die Script-Datei enth\xC3\xA4lt nichts zu schreiben."});
    EXPECT_TRUE(station->coupler().writeProtected);
    EXPECT_EQ(station->requests().size(), 4u);  // lift and set, each with its read-back
}

TEST_F(ScriptTest, AFailedRequestEndsTheRunWithTheProtectionSetAndNoReset) {
    connectStation();
    goOnline();
    CouplerScript s =
        readCouplerScript(script("a.csi", "[Tab_100]\nTransfer=TRUE\nInit1=3,7\nInit2=4,8\n"));
    ScriptRun run(couplerScriptPlan(s, true), {});
    ASSERT_TRUE(run.step());  // lift
    station->queueFault(ReplyFault::noReply());
    while (run.step()) {
    }
    EXPECT_EQ(run.outcome(), Outcome::Failed);
    ASSERT_TRUE(run.failure());
    EXPECT_EQ(run.failure()->request, "write of position 0 table 100 register 3");
    EXPECT_EQ(run.failure()->code, qzcom::ComErrTimeout1);
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"Keine Kommunikation mit Koppler!"});
    EXPECT_TRUE(station->coupler().writeProtected);
    EXPECT_EQ(station->coupler().softwareResets, 0);
    EXPECT_EQ(decodeRequest(station->requests().back()).substr(0, 25), "read  pos 0 table 99 reg ");
}

TEST_F(ScriptTest, CancelDuringARunStopsAfterTheCurrentRequestWithTheProtectionSet) {
    connectStation();
    goOnline();
    std::string text = "[Tab_100]\nTransfer=TRUE\n";
    for (int i = 0; i < 15; ++i)
        text += "Init" + std::to_string(i + 1) + "=" + std::to_string(i) + "," +
                std::to_string(i + 100) + "\n";
    frmScriptCoupler dialog;
    ASSERT_TRUE(dialog.load(script("a.csi", text)));
    dialog.chkAutoReset->setChecked(true);
    dialog.show();
    dialog.cmdPrjOk->click();
    ASSERT_TRUE(waitFor([&] { return station->requests().size() >= 8; }));
    dialog.cmdPrjCancel->click();
    EXPECT_TRUE(dialog.isVisible());  // closes once the protection is set again
    ASSERT_TRUE(waitFor([&] { return !dialog.isVisible(); }));
    EXPECT_EQ(dialog.stepper().outcome(), Outcome::Cancelled);
    EXPECT_TRUE(station->coupler().writeProtected);
    EXPECT_EQ(station->coupler().softwareResets, 0);
    EXPECT_LT(station->requests().size(), 4u + 3u * 15u);
    EXPECT_NE(station->reg(0, 100, 14), 114);
}

}  // namespace
}  // namespace varnak::test
