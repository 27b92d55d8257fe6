// The settings download against the simulated station: the dialog's boxes and range on a
// rail of five terminals, a never-mapped rail whose lists are not sent, lists ending in the
// next table, a refused lift and one answered too late, a station that stops answering in the
// middle, table 0 without the device's own registers, a station whose terminals are not the rail's,
// and a rail with a terminal the program has no description for, whose note names what went.
#include "online/settings_download.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "model/clsTable.h"
#include "model/clsTerminal.h"
#include "online/frmOnlineDownLoad.h"
#include "online/online_texts.h"
#include "online/station_terminal_list.h"
#include "tests/support/late_lift.h"
#include "tests/support/qt/rail_fixture.h"
#include "tests/support/wire_log.h"
#include "tests/support/write_reply_shapes.h"

namespace varnak::test {
namespace {

class Download : public RailFixture {
  protected:
    Download()
        : RailFixture(
              {"QZ3100-0000",
               {"QT1002-0000", "QT3002-0000", "QT3002-0000", "QT3002-0000", "QT9010-0000"}}) {
        connectStation();
        station->setRestartSilence(std::chrono::milliseconds(0));
    }
    std::shared_ptr<clsTable> couplerTable(int t) { return rail()->clsColTables()->Item(t); }
    std::shared_ptr<clsTable> channel(int position, int c) {
        return rail()->clsColTerminals()->ItemPos(position)->clsColTables()->Item(c);
    }
    // The coupler tables written, in order, each once per run of telegrams.
    std::vector<int> writtenCouplerTables() const {
        std::vector<int> out;
        for (const std::string& line : splitLines(wireLog(*station))) {
            int table = -1;
            if (std::sscanf(line.c_str(), "write pos 0 table %d", &table) == 1 && table != 99 &&
                (out.empty() || out.back() != table))
                out.push_back(table);
        }
        return out;
    }
    static std::vector<std::string> splitLines(const std::string& text) {
        std::vector<std::string> lines;
        size_t from = 0;
        for (size_t at; (at = text.find('\n', from)) != std::string::npos; from = at + 1)
            lines.push_back(text.substr(from, at - from));
        return lines;
    }
    void mapList(int firstTable, int endTable, int endRegister) {
        for (int t = firstTable; t < endTable; ++t)
            couplerTable(t)->setConfRegisterValue(7, 0x0102);
        couplerTable(endTable)->setConfRegisterValue(endRegister, 0xFFFF);
    }
};

// However the station acknowledges a write, the road and its telegrams are the same.
class DownloadAcks : public Download, public ::testing::WithParamInterface<SimStation::WriteReply> {
  protected:
    DownloadAcks() { station->setWriteReplies(GetParam()); }
};

INSTANTIATE_TEST_SUITE_P(EachAcknowledgement, DownloadAcks, everyWriteReply(),
                         WriteReplyTestName());

TEST_P(DownloadAcks, TheDialogWritesTheTickedBoxesAndNamesTheListsItCannotSend) {
    couplerTable(0)->setConfRegisterValue(5, 0x0042);
    const uint16_t firmware = 0x0B02, identification = 0x0C0D;
    station->setRegister(0, 0, 255, firmware);
    station->setRegister(0, 0, 200, identification);
    couplerTable(0)->setConfRegisterValue(200, 0x0001);
    channel(2, 0)->setConfRegisterValue(40, 0x1234);
    channel(4, 1)->setConfRegisterValue(40, 0x4321);
    frmOnlineDownLoad dialog;
    ASSERT_TRUE(dialog.load());
    EXPECT_EQ(dialog.windowTitle(), "Download zum Koppler");
    EXPECT_TRUE(dialog.chkDownSend[kDownloadUnused1]->isHidden());
    EXPECT_TRUE(dialog.chkDownSend[kDownloadReset]->isChecked());
    EXPECT_EQ(dialog.range.MaskEdBoxEndKlemme->text(), "5");
    EXPECT_TRUE(dialog.fraProgessBar->isHidden());
    for (int box : {0, 1, 2}) dialog.chkDownSend[box]->setChecked(true);
    dialog.range.MaskEdBoxStartKlemme->setText("2");
    dialog.range.MaskEdBoxEndKlemme->setText(" 3");
    dialog.cmdSend->click();

    // Code-word triples for the terminals at 2 and 3 only; the never-mapped lists stay.
    EXPECT_TRUE(
        matchesGolden(wireLog(*station), testSourcePath("online/wire_golden/download_range.txt")));
    EXPECT_EQ(station->reg(0, 0, 5), 0x0042);
    // The identification and the firmware version stay the device's.
    EXPECT_EQ(station->reg(0, 0, 255), firmware);
    EXPECT_EQ(station->reg(0, 0, 200), identification);
    EXPECT_EQ(station->reg(2, 0, 40), 0x1234);
    EXPECT_EQ(station->reg(4, 1, 40), 0);
    EXPECT_EQ(station->coupler().softwareResets, 1);
    EXPECT_EQ(channel(2, 0)->ConfRegisterValue(31), 0);
    EXPECT_EQ(messageTexts(),
              std::vector<std::string>{"Der Download ist nicht vollständig:\n"
                                       "Tabelle 8 ohne Endemarke: nicht gesendet\n"
                                       "Tabellen 10-23 ohne Endemarke: nicht gesendet\n"
                                       "Tabellen 50-63 ohne Endemarke: nicht gesendet"});
    for (QCheckBox* box : dialog.chkDownSend) EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(dialog.fraProgessBar->proBar->value(), 8);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(Download, MappedListsGoUpToTheTableHoldingTheirEndMark) {
    couplerTable(8)->setConfRegisterValue(5, 0xFFFF);
    mapList(10, 11, 3);
    // The end mark in register 255 is the copy of the next table's first entry.
    couplerTable(50)->setConfRegisterValue(255, 0xFFFF);
    couplerTable(51)->setConfRegisterValue(0, 0xFFFF);
    TransferChoice choice;
    choice.boxes[kDownloadProgrammedConfiguration] = true;
    const TransferReport report = runSettingsDownload(*rail(), choice, {});
    EXPECT_TRUE(report.clean());
    EXPECT_EQ(writtenCouplerTables(), (std::vector<int>{8, 10, 11, 50, 51}));
    EXPECT_EQ(station->reg(0, 10, 7), 0x0102);
    EXPECT_EQ(station->reg(0, 51, 0), 0xFFFF);
    EXPECT_EQ(station->coupler().softwareResets, 0);
    EXPECT_FALSE(station->coupler().writeProtected);  // left lifted
}

TEST_F(Download, ARefusedLiftWritesNothing) {
    station->setCommandHook([](std::vector<uint16_t>& t, uint16_t) { t[1] = 0; });
    frmOnlineDownLoad dialog;
    ASSERT_TRUE(dialog.load());
    dialog.chkDownSend[kDownloadCouplerSettings]->setChecked(true);
    dialog.cmdSend->click();
    EXPECT_EQ(wireLog(*station),
              "write pos 0 table 99 reg 0 count 4: 0x0101 0x0001 0x5C3B 0x0000\n"
              "read  pos 0 table 99 reg 0 count 4\n");
    EXPECT_EQ(messageTexts(), std::vector<std::string>{
                                  "Der Download ist nicht vollständig:\n"
                                  "Schreibschutz nicht aufgehoben, nichts geschrieben: Fehler -2"});
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(Download, ALiftAnsweredTooLateIsNoRefusalAndIsLeftAsItIs) {
    station->changeCoupler([](CouplerState& c) { c.writeProtected = true; });
    answerLiftsLate(*station);
    TransferChoice choice;
    choice.boxes[kDownloadCouplerSettings] = true;
    const TransferReport report = runSettingsDownload(*rail(), choice, {});
    EXPECT_EQ(transferReportText(report, kTxtDownloadIncomplete),
              "Der Download ist nicht vollständig:\n"
              "Ob der Schreibschutz des Kopplers aufgehoben wurde, ist unbekannt; nichts wurde "
              "geschrieben. Der Koppler hat nicht geantwortet: Fehler 1\n"
              "Die Station antwortet nicht; der Rest wurde nicht übertragen.");
    EXPECT_EQ(wireLog(*station),
              "write pos 0 table 99 reg 0 count 4: 0x0101 0x0001 0x5C3B 0x0000\n"
              "read  pos 0 table 99 reg 0 count 4\n");
    EXPECT_FALSE(station->coupler().writeProtected);
}

TEST_F(Download, AStationThatStopsAnsweringEndsTheDownloadNamingWhere) {
    // Long enough for a sound reply on a busy machine, short for the silence.
    control.setQZxTimeout(300);
    control.setQZxPortOpen(true);
    // The terminal list in four telegrams, the lift and its read-back, table 0 up to
    // register 199 in twelve telegrams, then silence.
    for (int i = 0; i < 18; ++i) station->queueFault(ReplyFault::none());
    station->queueFault(ReplyFault::noReply());
    TransferChoice choice;
    for (int box : {kDownloadCouplerSettings, kDownloadProgrammedConfiguration,
                    kDownloadTerminalSettings, kDownloadReset})
        choice.boxes[box] = true;
    choice.firstText = "1";
    choice.lastText = "5";
    const TransferReport report = runSettingsDownload(*rail(), choice, {});
    EXPECT_TRUE(report.stopped);
    EXPECT_EQ(transferReportText(report, 1825),
              "Der Download ist nicht vollständig:\nTabelle 100: Fehler 1\n"
              "Die Station antwortet nicht; der Rest wurde nicht übertragen.");
    EXPECT_EQ(writtenCouplerTables(), (std::vector<int>{0, 100}));
    EXPECT_EQ(station->coupler().softwareResets, 0);

    // The same at a terminal: named by its position and channel, nothing after it.
    station->clearRequests();
    choice.boxes = {};
    for (int box : {kDownloadTerminalSettings, kDownloadReset}) choice.boxes[box] = true;
    for (int i = 0; i < 6; ++i) station->queueFault(ReplyFault::none());
    station->queueFault(ReplyFault::noReply());
    const TransferReport atTerminal = runSettingsDownload(*rail(), choice, {});
    ASSERT_EQ(atTerminal.failures.size(), 1u);
    EXPECT_EQ(atTerminal.failures[0].position, 2);
    EXPECT_EQ(atTerminal.failures[0].channel, 0);
    EXPECT_EQ(atTerminal.failures[0].code, qzcom::ComErrTimeout1);
    EXPECT_EQ(station->requests().size(), 7u);

    // A terminal list that never comes: nothing is written, not even the lift.
    station->clearRequests();
    for (int i = 0; i < kTerminalListAttempts; ++i) station->queueFault(ReplyFault::noReply());
    const TransferReport unread = runSettingsDownload(*rail(), choice, {});
    EXPECT_EQ(transferReportText(unread, 1825),
              "Der Download ist nicht vollständig:\n"
              "Klemmenliste der Station (Tabelle 9) nicht gelesen, nichts geschrieben: Fehler 1\n"
              "Die Station antwortet nicht; der Rest wurde nicht übertragen.");
    EXPECT_EQ(station->requests().size(), static_cast<size_t>(kTerminalListAttempts));
    EXPECT_EQ(wireLog(*station).find("write"), std::string::npos);
}

// The rail of the Download fixture against a station with a QT3102 at position 2 and
// no terminal at position 4.
class DifferingStationDownload : public RailFixture {
  protected:
    DifferingStationDownload()
        : RailFixture(
              {"QZ3100-0000",
               {"QT1002-0000", "QT3002-0000", "QT3002-0000", "QT3002-0000", "QT9010-0000"}}) {
        spec.terminals = {"QT1002-0000", "QT3102-0000", "QT3002-0000", "QT9010-0000"};
        connectStation();
        station->setRestartSilence(std::chrono::milliseconds(0));
    }
    std::shared_ptr<clsTable> channel(int position, int c) {
        return rail()->clsColTerminals()->ItemPos(position)->clsColTables()->Item(c);
    }
    static constexpr const char* kQuestion =
        "Die Klemmen der Station weichen von der Schiene des Projekts ab:\n"
        "Position 2: Schiene QT3002-0000, Station 3102\n"
        "Position 4: Schiene QT3002-0000, Station keine Klemme\n\n"
        "Die Einstellungen trotzdem in die Station schreiben?";
};

TEST_F(DifferingStationDownload, NoToTheQuestionWritesNothingAndYesGoesOn) {
    channel(2, 0)->setConfRegisterValue(40, 0x1234);
    const uint16_t before = station->reg(2, 0, 40);
    frmOnlineDownLoad dialog;
    ASSERT_TRUE(dialog.load());
    for (int box : {0, 1, 2}) dialog.chkDownSend[box]->setChecked(true);
    ui.answers.push_back(vbNo);
    dialog.cmdSend->click();
    ASSERT_EQ(ui.messages.size(), 1u);  // the question, no report after it
    EXPECT_EQ(ui.messages[0].text, kQuestion);
    EXPECT_EQ(ui.messages[0].style, vbYesNo | vbQuestion | vbDefaultButton2);
    EXPECT_EQ(ui.messages[0].title, "Download zum Koppler");
    EXPECT_TRUE(dialog.report().declined);
    EXPECT_TRUE(logMatches("download_differing_station.txt"));  // the list read, nothing else
    EXPECT_EQ(station->reg(2, 0, 40), before);
    EXPECT_EQ(station->coupler().softwareResets, 0);
    EXPECT_FALSE(dialog.isVisible());

    // Yes writes as if the station were the rail's.
    station->clearRequests();
    TransferChoice choice;
    choice.boxes[kDownloadTerminalSettings] = true;
    choice.firstText = choice.lastText = "2";
    std::vector<std::string> asked;
    const TransferReport report =
        runSettingsDownload(*rail(), choice, {}, [&](const std::string& question) {
            asked.push_back(question);
            return true;
        });
    EXPECT_TRUE(report.clean());
    EXPECT_FALSE(report.declined);
    EXPECT_EQ(asked, std::vector<std::string>{kQuestion});
    EXPECT_EQ(station->reg(2, 0, 40), 0x1234);

    // Without a way to ask, a differing station is a No; coupler settings alone do not
    // depend on the terminals and go without the list.
    station->clearRequests();
    EXPECT_TRUE(runSettingsDownload(*rail(), choice, {}).declined);
    EXPECT_EQ(wireLog(*station).find("write"), std::string::npos);
    station->clearRequests();
    choice.boxes = {};
    choice.boxes[kDownloadCouplerSettings] = true;
    EXPECT_TRUE(runSettingsDownload(*rail(), choice, {}).clean());
    EXPECT_EQ(wireLog(*station).find("table 9 "), std::string::npos);
    EXPECT_NE(wireLog(*station).find("write pos 0 table 100"), std::string::npos);
}

TEST_F(Download, TheStationsListIsComparedWithTheRailWithoutItsEndTerminal) {
    using Words = std::vector<int32_t>;
    struct Case {
        const char* what;
        Words listed;  // positions 1 ..; the end mark follows
        std::vector<TerminalMismatch> expected;
    };
    const std::vector<Case> cases{
        {"the rail's own list", {0x8201, 3002, 3002, 3002}, {}},
        {"a digital word's unused bits", {0x8205, 3002, 3002, 3002}, {}},
        {"another type", {0x8201, 3102, 3002, 3002}, {{2, "QT3002-0000", 3102}}},
        {"outputs for inputs", {0x8202, 3002, 3002, 3002}, {{1, "QT1002-0000", 0x8202}}},
        {"a terminal short", {0x8201, 3002, 3002}, {{4, "QT3002-0000", std::nullopt}}},
        {"one more", {0x8201, 3002, 3002, 3002, 3004}, {{5, "", 3004}}},
    };
    for (const Case& c : cases) {
        auto list = deviceTable(0, 9, 64);
        for (size_t i = 0; i < c.listed.size(); ++i)
            list->setConfRegisterValue(static_cast<int32_t>(i) + 1, c.listed[i]);
        list->setConfRegisterValue(static_cast<int32_t>(c.listed.size()) + 1, 0xFFFF);
        EXPECT_EQ(stationMismatches(*rail(), *list), c.expected) << c.what;
    }

    // A rail that does not end in an end terminal is compared whole; a terminal whose type
    // number its name does not give never matches.
    rail()->clsColTerminals()->Remove(5);
    auto list = deviceTable(0, 9, 64);
    for (int p : {1, 2, 3}) list->setConfRegisterValue(p, p == 1 ? 0x8201 : 3002);
    EXPECT_EQ(stationMismatches(*rail(), *list),
              (std::vector<TerminalMismatch>{{4, "QT3002-0000", std::nullopt}}));
    ASSERT_EQ(rail()->clsColTerminals()->Add("Unknown", 4, 1, rail()->ConfSymbolicID()), 0);
    list->setConfRegisterValue(4, 3002);
    list->setConfRegisterValue(5, 0);
    const std::vector<TerminalMismatch> unknownAt4{{4, "Unknown", 3002},
                                                   {5, "QT3002-0000", std::nullopt}};
    EXPECT_EQ(stationMismatches(*rail(), *list), unknownAt4);
    // An undescribed terminal is compared by the word the rail's table 8 holds for it.
    auto own = couplerTable(8);
    const std::vector<int32_t> stored{0x8201, 3002, 3002, 3002, 3002, 0xFFFF};
    for (size_t i = 0; i < stored.size(); ++i)
        own->setConfRegisterValue(static_cast<int32_t>(i) + 1, stored[i]);
    EXPECT_EQ(stationMismatches(*rail(), *list),
              (std::vector<TerminalMismatch>{{5, "QT3002-0000", std::nullopt}}));
    own->setConfRegisterValue(4, 3102);
    EXPECT_EQ(stationMismatches(*rail(), *list), unknownAt4);
    own->setConfRegisterValue(3, 0xFFFF);  // a list that does not reach position 4
    own->setConfRegisterValue(4, 3002);
    EXPECT_EQ(stationMismatches(*rail(), *list), unknownAt4);

    // Five positions are named, the rest counted.
    std::vector<TerminalMismatch> many;
    for (int p = 1; p <= 7; ++p) many.push_back({p, "QT3002-0000", 0x8201});
    EXPECT_EQ(stationMismatchQuestion(many),
              "Die Klemmen der Station weichen von der Schiene des Projekts ab:\n"
              "Position 1: Schiene QT3002-0000, Station 0x8201\n"
              "Position 2: Schiene QT3002-0000, Station 0x8201\n"
              "Position 3: Schiene QT3002-0000, Station 0x8201\n"
              "Position 4: Schiene QT3002-0000, Station 0x8201\n"
              "Position 5: Schiene QT3002-0000, Station 0x8201\n"
              "und 2 weitere Positionen\n\n"
              "Die Einstellungen trotzdem in die Station schreiben?");
    EXPECT_EQ(stationMismatchQuestion({{3, "", 3002}}),
              "Die Klemmen der Station weichen von der Schiene des Projekts ab:\n"
              "Position 3: Schiene keine Klemme, Station 3002\n\n"
              "Die Einstellungen trotzdem in die Station schreiben?");
}

// The project's rail uploaded from a station whose first terminal is a variant the program
// has no description for: its table 8 and lists are the station's, as the upload read them.
class UndescribedTerminalDownload : public RailFixture {
  protected:
    UndescribedTerminalDownload()
        : RailFixture({"QZ3100-0000", {"QT3102-0016", "QT1002-0000", "QT9010-0000"}}) {
        connectStation();
        station->setRestartSilence(std::chrono::milliseconds(0));
        auto tables = rail()->clsColTables();
        const std::vector<int32_t> uploaded{3100, 3102, 0x8201, 0xFFFF};
        for (size_t r = 0; r < uploaded.size(); ++r)
            tables->Item(8)->setConfRegisterValue(static_cast<int32_t>(r), uploaded[r]);
        for (int t : {10, 50}) tables->Item(t)->setConfRegisterValue(4, 0xFFFF);
    }
};

TEST_F(UndescribedTerminalDownload, TheStoredListsGoAsTheyAreAndANoteNamesThePosition) {
    frmOnlineDownLoad dialog;
    ASSERT_TRUE(dialog.load());
    for (int box : {0, 1, 2}) dialog.chkDownSend[box]->setChecked(true);
    dialog.cmdSend->click();
    // No question: the station lists what the rail stored for its undescribed terminal.
    EXPECT_EQ(messageTexts(),
              std::vector<std::string>{
                  "Der Download ist abgeschlossen. Hinweis:\n"
                  "Programmierte Konfiguration gesendet, wie die Schiene sie hält (Tabellen 8, "
                  "10, 50); für die Klemmen an diesen Positionen gibt es keine Beschreibung "
                  "(Unknown), das Programm kann die Listen nicht mit ihnen vergleichen: 1"});
    EXPECT_EQ(ui.messages[0].style, vbInformation);
    EXPECT_TRUE(logMatches("download_undescribed_terminal.txt"));
    EXPECT_EQ(station->coupler().softwareResets, 1);
}

// The note claims only the tables that went: not a list whose write failed, nothing when the
// download stopped before any table of the programmed configuration went.
TEST_F(UndescribedTerminalDownload, TheNoteNamesOnlyTheTablesThatWent) {
    control.setQZxTimeout(300);
    control.setQZxPortOpen(true);
    auto failAt = [&](const std::string& write, ReplyFault fault) {
        station->setFaultChooser([=](const std::string& request) -> std::optional<ReplyFault> {
            if (decodeRequest(request).rfind(write, 0) != 0) return std::nullopt;
            return fault;
        });
    };
    TransferChoice choice;
    choice.boxes[kDownloadProgrammedConfiguration] = true;
    failAt("write pos 0 table 10 ", ReplyFault::badChecksum());
    const TransferReport report = runSettingsDownload(*rail(), choice, {}, {});
    EXPECT_EQ(transferReportText(report, kTxtDownloadIncomplete),
              "Der Download ist nicht vollständig:\nTabelle 10: Fehler 3\n"
              "Programmierte Konfiguration gesendet, wie die Schiene sie hält (Tabellen 8, 50); "
              "für die Klemmen an diesen Positionen gibt es keine Beschreibung (Unknown), das "
              "Programm kann die Listen nicht mit ihnen vergleichen: 1");

    choice.boxes[kDownloadCouplerSettings] = true;
    for (const char* silentAt : {"write pos 0 table 0 ", "write pos 0 table 8 "}) {
        failAt(silentAt, ReplyFault::noReply());
        const TransferReport stopped = runSettingsDownload(*rail(), choice, {}, {});
        EXPECT_TRUE(stopped.stopped) << silentAt;
        EXPECT_TRUE(stopped.notes.empty()) << silentAt;
    }
}

class EmptyRailDownload : public RailFixture {
  protected:
    EmptyRailDownload() : RailFixture({"QZ3100-0000", {}}) {}
};

TEST_F(EmptyRailDownload, ARailWithoutTerminalsHasNoRange) {
    frmOnlineDownLoad dialog;
    ASSERT_TRUE(dialog.load());
    EXPECT_FALSE(dialog.chkDownSend[kDownloadTerminalSettings]->isEnabled());
    EXPECT_FALSE(dialog.range.MaskEdBoxStartKlemme->isEnabled());
    EXPECT_TRUE(dialog.range.MaskEdBoxStartKlemme->text().isEmpty());
    EXPECT_TRUE(dialog.range.MaskEdBoxEndKlemme->text().isEmpty());
}

}  // namespace
}  // namespace varnak::test
