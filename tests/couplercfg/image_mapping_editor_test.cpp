// The mapping dialogs' road without their window: opening, entering cells and OK, offline
// on the project's rail and online against the simulated station with golden wire logs.
#include "couplercfg/image_mapping_editor.h"

#include <gtest/gtest.h>

#include <sstream>

#include "couplercfg/mapping_dialog_texts.h"
#include "mapping/mapping_routines.h"
#include "model/clsColCouplers.h"
#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "model/clsTable.h"
#include "model/clsTerminal.h"
#include "model/device_register_model.h"
#include "tests/support/late_lift.h"
#include "tests/support/mapping_descriptions.h"
#include "tests/support/qt/rail_fixture.h"
#include "tests/support/wire_log.h"

namespace varnak::test {
namespace {

using Dir = MappingDirection;
using Variant = ImageMappingEditor::Variant;

class MappingEditorTest : public RailFixture {
  protected:
    explicit MappingEditorTest(RailStationSpec spec = {"QZ3100-0000",
                                                       {"QT3002-0000", "QT6001-0000", "QT1002-0000",
                                                        "QT9010-0000"}})
        : RailFixture(std::move(spec)) {}

    // The station online, its lists ending at once (a coupler never mapped reads through
    // all its tables).
    void online() {
        connectStation();
        station->setRegister(0, 10, 0, 0xFFFF);
        station->setRegister(0, 50, 0, 0xFFFF);
        goOnline();
    }
    // Entries of the first rows: the analog channel 1 in image 2 at bytes 20-22, the serial
    // interface in image 1 at 30-33, the first digital input at 12.3 in image 0.
    void edit(ImageMappingEditor& editor) {
        EXPECT_EQ(editor.enter(Dir::Input, 0, 6, "2"), "2");
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(editor.enter(Dir::Input, 0, 7 + k, std::to_string(20 + k)),
                      "0" + std::to_string(20 + k));
        EXPECT_EQ(editor.enter(Dir::Input, 2, 6, "1"), "1");
        for (int k = 0; k < 4; ++k) editor.enter(Dir::Input, 2, 7 + k, std::to_string(30 + k));
        EXPECT_EQ(editor.enter(Dir::Input, 3, 8, "12.3"), "012.3");
    }
    std::vector<int32_t> stationRegisters(int table, int count) const {
        std::vector<int32_t> values;
        for (int r = 0; r < count; ++r) values.push_back(station->reg(0, table, r));
        return values;
    }
};

TEST_F(MappingEditorTest, OnlineOkDownloadsTheListsAndTable8AndYesResetsTheCoupler) {
    online();
    ImageMappingEditor editor(Variant::Programmed);
    ASSERT_TRUE(editor.load());
    EXPECT_EQ(station->requests().size(), 31u);  // registers 35-36, tables 10 and 50
    station->clearRequests();
    ASSERT_EQ(editor.grid(Dir::Input).rows.size(), 5u);
    EXPECT_EQ(editor.grid(Dir::Input).flags(2).mapData, 4);  // register 35 = 3, and C/S
    edit(editor);
    ui.answers.push_back(vbYes);
    EXPECT_TRUE(editor.ok());
    EXPECT_EQ(stationRegisters(10, 13),
              (std::vector<int32_t>{0x5014, 0x5015, 0x5016, 0x11FF, 0x11FF, 0x11FF, 0x301E, 0x301F,
                                    0x3020, 0x3021, 0x060C, 0x0FFF, 0xFFFF}));
    EXPECT_EQ(station->reg(0, 50, 10), 0x0FFF);  // the digital inputs have no outputs
    EXPECT_EQ(station->reg(0, 50, 12), 0xFFFF);
    EXPECT_EQ(stationRegisters(8, 5), (std::vector<int32_t>{3100, 3002, 6001, 0x8201, 0xFFFF}));
    EXPECT_EQ(station->coupler().softwareResets, 1);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Reboot to run with new settings ?");
    EXPECT_EQ(ui.messages[0].style, vbYesNo | vbQuestion);
    EXPECT_TRUE(logMatches("ok_yes.txt"));

    // Opened again online, the recalculation brings the station's mapping back.
    ImageMappingEditor again(Variant::Programmed);
    ASSERT_TRUE(again.load());
    EXPECT_EQ(again.grid(Dir::Input).rows[0][7], "20");
    EXPECT_EQ(again.grid(Dir::Input).rows[0][6], "2");
    EXPECT_EQ(again.grid(Dir::Input).rows[3][8], "12.3");
}

TEST_F(MappingEditorTest, AFailedTableIsNamedAndNoRebootIsOffered) {
    online();
    ImageMappingEditor editor(Variant::Programmed);
    ASSERT_TRUE(editor.load());
    station->clearRequests();
    // The serial interface's registers, the lift's two telegrams and table 10's fifteen go
    // through; the first telegram of table 50 gets no answer.
    for (int i = 0; i < 18; ++i) station->queueFault(ReplyFault::none());
    station->queueFault(ReplyFault::noReply());
    EXPECT_FALSE(editor.ok());
    EXPECT_EQ(messageTexts(), (std::vector<std::string>{
                                  "Die Tabelle 50 ließ sich nicht zum Koppler übertragen (Fehler "
                                  "1). Die Zuordnung im Koppler ist unvollständig: bitte mit OK "
                                  "erneut übertragen."}));
    EXPECT_EQ(station->coupler().softwareResets, 0);
    EXPECT_TRUE(logMatches("failed_table.txt"));
}

TEST_F(MappingEditorTest, ARefusedLiftDownloadsNothing) {
    online();
    ImageMappingEditor editor(Variant::Automatic);
    ASSERT_TRUE(editor.load());
    station->clearRequests();
    station->setCommandHook([](std::vector<uint16_t>& table, uint16_t command) {
        if (command == 0x0101) table[1] = 0;
    });
    EXPECT_FALSE(editor.ok());
    EXPECT_EQ(messageTexts(),
              (std::vector<std::string>{"Der Schreibschutz des Kopplers ließ sich nicht aufheben "
                                        "(Fehler -2). Nichts wurde übertragen."}));
    EXPECT_TRUE(logMatches("refused_lift.txt"));

    // A lift answered too late may have been made: said so, left as it is, nothing sent.
    station->setCommandHook({});
    station->clearRequests();
    station->changeCoupler([](CouplerState& c) { c.writeProtected = true; });
    answerLiftsLate(*station);
    EXPECT_FALSE(editor.ok());
    EXPECT_EQ(messageTexts().back(),
              "Ob der Schreibschutz des Kopplers aufgehoben wurde, ist unbekannt; nichts wurde "
              "geschrieben. Der Koppler hat nicht geantwortet: Fehler 1");
    EXPECT_TRUE(logMatches("refused_lift.txt"));
    EXPECT_FALSE(station->coupler().writeProtected);
}

// A list the station stops delivering half-way leaves the project's tables and the
// terminals' texts as they were, says so once and reads the other list no more.
TEST_F(MappingEditorTest, AListTheStationDoesNotDeliverWholeChangesNothingAndIsToldOnce) {
    online();
    control.setQZxTimeout(300);
    control.setQZxPortOpen(true);
    for (int r = 0; r < 255; ++r) station->setRegister(0, 10, r, 0x0205);
    station->setRegister(0, 11, 0, 0xFFFF);
    auto rail = context.VarnakOnlineCoupler;
    auto digital = rail->clsColTerminals()->ItemPos(3);
    digital->setConfMappInputImage(0, 0, "12.3");
    digital->setConfInputDestProcImage(0, "1");
    std::vector<bool> loaded;
    for (int t : {10, 11}) loaded.push_back(rail->clsColTables()->Item(t)->bInitDone());
    const int32_t before = rail->clsColTables()->Item(10)->ConfRegisterValue(0);
    rail->clsColTables()->Item(10)->setbInitDone(loaded[0]);
    // Registers 35-36 and table 10 arrive; table 11 does not.
    for (int i = 0; i < 16; ++i) station->queueFault(ReplyFault::none());
    station->queueFault(ReplyFault::noReply());
    ImageMappingEditor editor(Variant::Programmed);
    ASSERT_TRUE(editor.load());
    EXPECT_EQ(messageTexts(), (std::vector<std::string>{
                                  "Die Tabelle 11 ließ sich nicht vom Koppler lesen (Fehler 1). "
                                  "Die Zuordnung bleibt, wie das Projekt sie hält."}));
    EXPECT_EQ(station->requests().size(), 17u);
    EXPECT_EQ(rail->clsColTables()->Item(10)->bInitDone(), loaded[0]);
    EXPECT_EQ(rail->clsColTables()->Item(11)->bInitDone(), loaded[1]);
    EXPECT_EQ(rail->clsColTables()->Item(10)->ConfRegisterValue(0), before);
    EXPECT_EQ(digital->ConfMappInputImage(0, 0), "12.3");
    EXPECT_EQ(editor.grid(Dir::Input).rows[3][8], "12.3");
    EXPECT_EQ(editor.grid(Dir::Input).rows[3][6], "1");
}

TEST_F(MappingEditorTest, ACouplerWithoutTable55OpensNothingAndReadsNoList) {
    dropCouplerTable(resources(), spec.coupler, 55);
    online();
    ImageMappingEditor editor(Variant::Programmed);
    EXPECT_FALSE(editor.load());
    EXPECT_EQ(messageTexts(),
              (std::vector<std::string>{"Dem Koppler fehlt die Tabelle 55 (oder sie ist zu kurz). "
                                        "Die Zuordnung bleibt unverändert."}));
    EXPECT_TRUE(station->requests().empty());
}

TEST_F(MappingEditorTest, WithoutARailNothingOpens) {
    project->clsColCouplers()->fDropColCouplers();
    ImageMappingEditor editor(Variant::Programmed);
    EXPECT_FALSE(editor.load());
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"Keine Kommunikation mit Koppler!"});
    EXPECT_TRUE(editor.tables().input.empty());
}

TEST_F(MappingEditorTest, OfflineOkSavesTheRailAndDamagedTextsAreNamedAtOpening) {
    auto digital = rail()->clsColTerminals()->ItemPos(3);
    digital->setConfMappOutputImage(1, 0, "x");  // no data in that direction: not shown
    digital->setConfMappInputImage(1, 0, "7.9");
    ImageMappingEditor editor(Variant::Programmed);
    ASSERT_TRUE(editor.load());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("Pos. 3, Kanal 2, Eingangsabbild, Eintrag 0: \"7.9\""),
              std::string::npos);
    EXPECT_EQ(editor.grid(Dir::Input).rows[4][8], "511.7");
    // A cell of a row without data in its direction keeps its text; an edit that changed
    // nothing is not checked (no message for an unmapped "511").
    EXPECT_EQ(editor.enter(Dir::Output, 3, 8, "1.1"), "511.7");
    EXPECT_EQ(editor.enter(Dir::Input, 1, 7, "511"), "511");
    EXPECT_EQ(ui.messages.size(), 2u);
    edit(editor);
    EXPECT_TRUE(editor.ok());
    auto saved = railFromDisk();
    EXPECT_EQ(saved->clsColTerminals()->ItemPos(1)->ConfMappInputImage(0, 2), "022");
    EXPECT_EQ(saved->clsColTerminals()->ItemPos(3)->ConfMappInputImage(1, 0), "511.7");
    EXPECT_EQ(saved->clsColTables()->Item(10)->ConfRegisterValue(0), 0x5014);
    EXPECT_EQ(saved->clsColTables()->Item(8)->ConfRegisterValue(2), 6001);
}

class MappingEditorUnknownTerminal : public MappingEditorTest {
  protected:
    // The station's terminal at 2 is a variant the program has no description for: two
    // channels on the station, the fallback description's one in the program.
    MappingEditorUnknownTerminal()
        : MappingEditorTest(
              {"QZ3100-0000", {"QT2002-0000", "QT3102-0016", "QT1002-0000", "QT9010-0000"}}) {}

    std::shared_ptr<clsTerminal> terminal(int position) const {
        auto r = project->Online() ? context.VarnakOnlineCoupler : rail();
        return r->clsColTerminals()->ItemPos(position);
    }
    // The output terminal's first channel on another bit, the digital input's on a byte
    // the coupler gives to nothing.
    void type(ImageMappingEditor& editor) {
        EXPECT_EQ(editor.enter(Dir::Output, 0, kMappingColumnRef0, "3.0"), "003.0");
        EXPECT_EQ(editor.enter(Dir::Input, 3, kMappingColumnRef0, "12.3"), "012.3");
        EXPECT_FALSE(editor.ok());
        EXPECT_EQ(messageTexts(), std::vector<std::string>{kUndescribed});
        EXPECT_EQ(ui.messages[0].style, vbExclamation);
    }

    static constexpr const char* kUndescribed =
        "Für die Klemmen an diesen Positionen gibt es keine Beschreibung (Unknown), ihre Kanäle "
        "sind nicht bekannt: 2. Solange die Schiene eine solche Klemme hat, lässt sich ihre "
        "Zuordnung nicht ändern: nichts wurde übernommen, gespeichert oder zum Koppler gesendet.";
};

TEST_F(MappingEditorUnknownTerminal, OnlineOkTakesNothingAndNoAddressShowsBehindIt) {
    connectStation();
    // The station's lists: the output terminal's channels on bits 0.0 and 0.1, the digital
    // input behind the undescribed terminal on 4.0.
    const auto bit = [](int byte, int b) { return encodeMappingEntry({byte, b, false, 0}); };
    const std::vector<int32_t> out{bit(0, 0), bit(0, 1), 0x0FFF, 0x0FFF,
                                   0x0FFF,    0x0FFF,    0x0FFF, 0xFFFF};
    const std::vector<int32_t> in{0x0FFF, 0x0FFF,    0x0FFF,    0x0FFF,
                                  0x0FFF, bit(4, 0), bit(4, 1), 0xFFFF};
    for (size_t r = 0; r < out.size(); ++r) station->setRegister(0, 50, r, out[r]);
    for (size_t r = 0; r < in.size(); ++r) station->setRegister(0, 10, r, in[r]);
    goOnline();
    terminal(3)->setConfMappInputImage(0, 0, "20.5");  // an address no list read gave
    ImageMappingEditor editor(Variant::Programmed);
    ASSERT_TRUE(editor.load());
    ASSERT_EQ(editor.grid(Dir::Input).rows[2][kMappingColumnType], "Unknown");
    EXPECT_EQ(editor.grid(Dir::Output).rows[0][kMappingColumnRef0], "0.0");
    EXPECT_EQ(editor.grid(Dir::Input).rows[3][kMappingColumnRef0], "511.7");
    const ConfigProgTables report = editor.tables();
    station->clearRequests();

    type(editor);
    EXPECT_TRUE(station->requests().empty());
    EXPECT_EQ(terminal(1)->ConfMappOutputImage(0, 0), "0.0");
    EXPECT_EQ(terminal(3)->ConfMappInputImage(0, 0), "511.7");
    ImageMappingEditor again(Variant::Programmed);
    ASSERT_TRUE(again.load());
    EXPECT_EQ(again.tables().input, report.input);
    EXPECT_EQ(again.tables().output, report.output);
    EXPECT_TRUE(logMatches("unknown_terminal_ok.txt"));  // the reopening's reads only
}

TEST_F(MappingEditorUnknownTerminal, OfflineOkTakesAndSavesNothing) {
    for (int32_t t : {8, 10, 50}) {
        auto table = rail()->clsColTables()->Item(t);
        for (int32_t r = 0; r < 3; ++r) table->setConfRegisterValue(r, 0x4710 + r);
    }
    ASSERT_EQ(rail()->ConfSaveData(), kStoreOk);
    ImageMappingEditor editor(Variant::Programmed);
    ASSERT_TRUE(editor.load());
    type(editor);
    EXPECT_EQ(terminal(1)->ConfMappOutputImage(0, 0), "511.7");
    auto saved = railFromDisk();
    EXPECT_EQ(saved->clsColTerminals()->ItemPos(1)->ConfMappOutputImage(0, 0), "511.7");
    EXPECT_EQ(saved->clsColTerminals()->ItemPos(3)->ConfMappInputImage(0, 0), "511.7");
    for (int32_t t : {8, 10, 50})
        for (int32_t r = 0; r < 3; ++r)
            EXPECT_EQ(saved->clsColTables()->Item(t)->ConfRegisterValue(r), 0x4710 + r) << t;
}

// Every position of the station's list filled, no end terminal.
class MappingEditorFullStation : public MappingEditorTest {
  protected:
    MappingEditorFullStation()
        : MappingEditorTest({"QZ3100-0000", std::vector<std::string>(64, "QT1002-0000")}) {}
};

TEST_F(MappingEditorFullStation, OnlineItOpensAndOkSendsSixtyFourWordsWithoutEndMark) {
    online();
    ImageMappingEditor editor(Variant::Programmed);
    ASSERT_TRUE(editor.load());
    EXPECT_EQ(editor.grid(Dir::Input).rows.size(), 128u);
    ui.answers.push_back(vbNo);
    EXPECT_TRUE(editor.ok());
    EXPECT_EQ(messageTexts(), std::vector<std::string>{kRebootQuestion});
    std::vector<int32_t> list(65, 0x8201);
    list[0] = 3100;
    EXPECT_EQ(stationRegisters(8, 65), list);
}

class MappingEditorLongList : public MappingEditorTest {
  protected:
    MappingEditorLongList()
        : MappingEditorTest({"QZ3100-0000", std::vector<std::string>(22, "QT3004-0000")}) {}
};

TEST_F(MappingEditorLongList, OfflineARailWithoutEndTerminalListsItsLastTerminal) {
    ImageMappingEditor editor(Variant::Programmed);
    ASSERT_TRUE(editor.load());
    EXPECT_TRUE(editor.ok());
    EXPECT_TRUE(ui.messages.empty());
    auto list = railFromDisk()->clsColTables()->Item(8);
    EXPECT_EQ(list->ConfRegisterValue(22), 3004);
    EXPECT_EQ(list->ConfRegisterValue(23), 0xFFFF);
}

TEST_F(MappingEditorLongList, AnInputListEndingInTable11SendsTables10And11AndNoSendsNoReset) {
    online();
    ImageMappingEditor editor(Variant::Programmed);
    ASSERT_TRUE(editor.load());
    station->clearRequests();
    ui.answers.push_back(vbNo);
    EXPECT_TRUE(editor.ok());
    EXPECT_EQ(station->reg(0, 11, 9), 0xFFFF);  // 264 entries
    EXPECT_EQ(station->coupler().softwareResets, 0);
    // The lift, then tables 10, 11, 50, 51 (15 telegrams each) and 8 (4): the first
    // telegram of each.
    EXPECT_EQ(station->requests().size(), 2u + 4 * 15 + 4);
    std::string firsts;
    std::istringstream log(wireLog(*station));
    for (std::string line; std::getline(log, line);)
        if (line.find(" reg 0 ") != std::string::npos) firsts += line + "\n";
    EXPECT_TRUE(
        matchesGolden(firsts, testSourcePath("couplercfg/wire_golden/ok_no_two_tables.txt")));
}

}  // namespace
}  // namespace varnak::test
