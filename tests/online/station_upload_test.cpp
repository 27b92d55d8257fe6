// The station upload against the simulated station: the dialog's opening read and Cancel,
// everything ticked on a rail without table 121 and with an input list ending in table 11,
// the recalculated mapping texts, an empty range, tables the station lacks, a station that
// stops answering (also while the mapping is read again), a mapping the rail's limits refuse and a
// terminal without description, in front of which the lists are distributed.
#include "online/station_upload.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "model/clsTable.h"
#include "model/clsTerminal.h"
#include "online/frmOnlineUpLoad.h"
#include "online/online_texts.h"
#include "tests/support/qt/rail_fixture.h"
#include "tests/support/wire_log.h"

namespace varnak::test {
namespace {

constexpr const char* kIncomplete =
    "Der Upload ist nicht vollständig; die Station wird nicht gespeichert:\n";

constexpr const char* kPassedOver =
    "Der Upload ist abgeschlossen; was die Station nicht lieferte, bleibt wie in der "
    "Beschreibung:\n";

// Ticks the boxes and runs the upload from the dialog, the station's log started afresh;
// the dialog's result.
bool runUpload(frmOnlineUpLoad& dialog, SimStation& station, std::initializer_list<int> boxes) {
    for (int box : boxes) dialog.chkUpLoad[box]->setChecked(true);
    station.clearRequests();
    dialog.cmdGet->click();
    return dialog.result();
}

class Upload : public RailFixture {
  protected:
    Upload() : RailFixture({"QZ3100-0000", {"QT3002-0000", "QT3002-0000", "QT9010-0000"}}) {
        connectStation();
        // A fieldbus coupler with tables 120 and 122 but without 121.
        for (int t : {120, 122}) {
            station->addTable(0, t, 4);
            station->setRegister(0, t, 1, static_cast<uint16_t>(t));
        }
        // Inputs: the two channels of the terminal at 1 at bytes 0-3 and 4-7 ... ending in
        // table 11; outputs: the end mark first.
        station->setRegister(0, 10, 0, 0x0004);
        station->setRegister(0, 11, 3, 0xFFFF);
        station->setRegister(0, 50, 0, 0xFFFF);
        station->setRegister(0, 8, 1, 0xFFFF);
        station->setRegister(0, 0, 5, 0x0042);
        station->setRegister(1, 1, 40, 0x1234);
        goOnline();
        for (int t : {120, 122}) {
            auto table = online()->clsColTables()->Add(t);
            table->setTableNr(t);
            table->setTableLen(3);
            table->setbInitDone(true);
        }
    }
    std::shared_ptr<clsCoupler> online() const { return context.VarnakOnlineCoupler; }
};

TEST_F(Upload, CancelReadsNothingBeyondTheOpeningRead) {
    frmOnlineUpLoad dialog;
    ASSERT_TRUE(dialog.load());
    EXPECT_EQ(dialog.windowTitle(), "Upload Klemmenblock");
    EXPECT_EQ(dialog.range.MaskEdBoxStartKlemme->text(), "1");
    EXPECT_EQ(dialog.range.MaskEdBoxEndKlemme->text(), "3");
    dialog.cmdCancel->click();
    EXPECT_FALSE(dialog.result());
    EXPECT_EQ(wireLog(*station), "read  pos 0 table 0 reg 0 count 4\n");
}

TEST_F(Upload, TotalUploadReadsTheAreasInOrderAndRecalculatesTheMapping) {
    frmOnlineUpLoad dialog;
    ASSERT_TRUE(dialog.load());
    dialog.chkUpLoad[kUploadTotal]->setChecked(true);
    for (int box : {0, 1, 2}) EXPECT_TRUE(dialog.chkUpLoad[box]->isChecked());
    dialog.cmdGet->click();
    EXPECT_TRUE(dialog.result());
    EXPECT_TRUE(ui.messages.empty());
    for (QCheckBox* box : dialog.chkUpLoad) EXPECT_FALSE(box->isChecked());
    EXPECT_TRUE(
        matchesGolden(wireLog(*station), testSourcePath("online/wire_golden/upload_total.txt")));
    auto tables = online()->clsColTables();
    EXPECT_EQ(tables->Item(0)->ConfRegisterValue(5), 0x0042);
    EXPECT_EQ(tables->Item(122)->ConfRegisterValue(1), 122);
    auto terminal = online()->clsColTerminals()->ItemPos(1);
    EXPECT_EQ(terminal->clsColTables()->Item(1)->ConfRegisterValue(40), 0x1234);
    EXPECT_EQ(terminal->ConfMappInputImage(0, 0), "4");
}

TEST_F(Upload, AnEmptyRangeReadsNoTerminal) {
    TransferChoice choice;
    choice.boxes[kUploadTerminalConfiguration] = true;
    choice.firstText = "3";
    choice.lastText = "2";
    EXPECT_TRUE(runStationUpload(*online(), choice, {}).clean());
    choice.firstText = "";
    EXPECT_TRUE(runStationUpload(*online(), choice, {}).clean());
    EXPECT_TRUE(station->requests().empty());
}

// Tables the rail holds and the station lacks, whole (coupler table 121, channel table 1 of
// the terminal at 2) or from register 50 on (channel table 1 of the terminal at 1), are
// named, left as the description gives them and passed over; the rest is read and the
// upload may be saved, whether the station refuses with no values, the count or zero values.
TEST_F(Upload, RefusedTablesAreNamedLeftAsTheyWereAndTheRestIsTaken) {
    auto extra = online()->clsColTables()->Add(121);
    extra->setTableNr(121);
    extra->setTableLen(3);
    extra->setbInitDone(true);
    station->removeTable(2, 1);
    station->addTable(1, 1, 50);
    station->setRegister(1, 1, 32, 0x0777);
    station->setRegister(1, 0, 40, 0x4321);
    auto channel = [&](int position, int c) {
        return online()->clsColTerminals()->ItemPos(position)->clsColTables()->Item(c);
    };
    for (auto shape : {SimStation::ReplyShape::Empty, SimStation::ReplyShape::Count,
                       SimStation::ReplyShape::Values}) {
        SCOPED_TRACE(static_cast<int>(shape));
        station->setRefusals(shape);
        extra->setConfRegisterValue(1, 0x0121);
        ui.messages.clear();
        frmOnlineUpLoad dialog;
        ASSERT_TRUE(dialog.load());
        EXPECT_TRUE(
            runUpload(dialog, *station, {kUploadCouplerSettings, kUploadTerminalConfiguration}));
        EXPECT_EQ(messageTexts(), std::vector<std::string>{
                                      std::string(kPassedOver) +
                                      "Tabelle 121: von der Station abgelehnt, Fehler 13\n"
                                      "Klemme 1 Kanal2: von der Station abgelehnt, Fehler 13\n"
                                      "Klemme 2 Kanal2: von der Station abgelehnt, Fehler 13"});
        EXPECT_TRUE(matchesGolden(wireLog(*station),
                                  testSourcePath("online/wire_golden/upload_refused_table.txt")));
        EXPECT_EQ(extra->ConfRegisterValue(1), 0x0121);
        EXPECT_EQ(channel(1, 1)->ConfRegisterValue(32), 0x0002);  // the description's
        EXPECT_EQ(channel(2, 1)->ConfRegisterValue(32), 0x0002);
        EXPECT_EQ(channel(1, 0)->ConfRegisterValue(40), 0x4321);
        EXPECT_EQ(online()->clsColTables()->Item(122)->ConfRegisterValue(1), 122);
    }
}

// A refusal among failures of the line is named beside them, and nothing is saved.
TEST_F(Upload, ARefusalBesideAFailedReadLeavesTheUploadFailed) {
    station->removeTable(1, 0);
    frmOnlineUpLoad dialog;
    ASSERT_TRUE(dialog.load());
    station->queueFault(ReplyFault::badChecksum());  // table 0's first telegram
    EXPECT_FALSE(
        runUpload(dialog, *station, {kUploadCouplerSettings, kUploadTerminalConfiguration}));
    EXPECT_EQ(messageTexts(),
              std::vector<std::string>{std::string(kIncomplete) +
                                       "Tabelle 0: Fehler 3\n"
                                       "Klemme 1 Kanal1: von der Station abgelehnt, Fehler 13"});
}

TEST_F(Upload, AStationThatStopsAnsweringEndsTheUploadAndNothingIsSaved) {
    frmOnlineUpLoad dialog;
    ASSERT_TRUE(dialog.load());
    control.setQZxTimeout(300);
    control.setQZxPortOpen(true);
    station->queueFault(ReplyFault::badChecksum());  // table 0's first telegram
    station->queueFault(ReplyFault::none());         // table 100
    station->queueFault(ReplyFault::noReply());      // table 120
    EXPECT_FALSE(
        runUpload(dialog, *station, {kUploadCouplerSettings, kUploadTerminalConfiguration}));
    EXPECT_EQ(messageTexts(), std::vector<std::string>{
                                  std::string(kIncomplete) +
                                  "Tabelle 0: Fehler 3\nTabelle 120: Fehler 1\n"
                                  "Die Station antwortet nicht; der Rest wurde nicht übertragen."});
    const std::string log = wireLog(*station);
    EXPECT_EQ(log.find("pos 1"), std::string::npos);  // no terminal read after the silence
    EXPECT_EQ(log.substr(log.rfind("read ")), "read  pos 0 table 120 reg 0 count 4\n");
}

// The recalculation reads the lists again; when the station stops answering there, the
// terminals' texts stay as they were and the upload fails naming the table once.
TEST_F(Upload, AStationSilentWhileTheMappingIsReadAgainLeavesTheTextsAndNothingIsSaved) {
    control.setQZxTimeout(300);
    control.setQZxPortOpen(true);
    auto terminal = online()->clsColTerminals()->ItemPos(1);
    terminal->setConfMappInputImage(0, 0, "9");
    // Table 8, tables 10 and 11, table 10 again; table 11 gets no answer the second time.
    for (int i = 0; i < 4 + 15 + 15 + 15; ++i) station->queueFault(ReplyFault::none());
    station->queueFault(ReplyFault::noReply());
    TransferChoice choice;
    choice.boxes[kUploadProgrammedConfiguration] = true;
    const TransferReport report = runStationUpload(*online(), choice, {});
    EXPECT_EQ(transferReportText(report, kTxtUploadIncomplete),
              std::string(kIncomplete) +
                  "Tabelle 11: Fehler 1\n"
                  "Die Station antwortet nicht; der Rest wurde nicht übertragen.");
    EXPECT_EQ(terminal->ConfMappInputImage(0, 0), "9");
    // The tables keep what the upload read.
    EXPECT_EQ(online()->clsColTables()->Item(10)->ConfRegisterValue(0), 0x0004);
    EXPECT_EQ(online()->clsColTables()->Item(11)->ConfRegisterValue(3), 0xFFFF);
    EXPECT_EQ(wireLog(*station).find("table 50"), std::string::npos);
}

class UploadSerial : public RailFixture {
  protected:
    UploadSerial() : RailFixture({"QZ3100-0000", {"QT6001-0000", "QT9010-0000"}}) {
        connectStation();
        station->setRegister(0, 10, 0, 0xFFFF);
        station->setRegister(0, 50, 0, 0xFFFF);
        station->setRegister(1, 0, 35, 6);  // more data bytes than the terminal's texts hold
        goOnline();
    }
};

TEST_F(UploadSerial, ARefusedRecalculationFailsTheUploadAndNamesTheLimit) {
    frmOnlineUpLoad dialog;
    ASSERT_TRUE(dialog.load());
    auto serial = context.VarnakOnlineCoupler->clsColTerminals()->ItemPos(1);
    serial->setConfMappInputImage(0, 0, "7");
    EXPECT_FALSE(runUpload(dialog, *station, {kUploadProgrammedConfiguration}));
    EXPECT_EQ(messageTexts(),
              std::vector<std::string>{
                  std::string(kIncomplete) +
                  "Programmierte Konfiguration: Register 35 der seriellen Schnittstelle an "
                  "Position 1 enthält 6; höchstens 5 Datenbytes lassen sich zuordnen. Die "
                  "Zuordnung bleibt unverändert."});
    EXPECT_EQ(serial->ConfMappInputImage(0, 0), "7");
    // The output list is not read once the mapping is refused.
    EXPECT_EQ(wireLog(*station).find("table 50"), std::string::npos);
}

// A station terminal the program has no description for (a variant served as its type's
// with its own name extension) stands on the online rail with the fallback description.
class UploadUndescribed : public RailFixture {
  protected:
    UploadUndescribed()
        : RailFixture({"QZ3100-0000", {"QT3002-0000", "QT3102-0016", "QT9010-0000"}}) {
        connectStation();
        station->setRegister(0, 10, 0, 0x0004);
        station->setRegister(0, 10, 2, 0xFFFF);
        station->setRegister(0, 50, 0, 0xFFFF);
        station->setRegister(2, 0, 40, 0x2222);
        station->setRegister(2, 1, 40, 0x3333);
        goOnline();
    }
};

// Its fallback channel is read and the upload may be saved, but not silently: the message
// names the position and the channels read, and that the lists were distributed only to the
// terminals in front of it (an entry behind it would land on another terminal's channel).
TEST_F(UploadUndescribed, TheTerminalIsReadAsFarAsKnownAndNamed) {
    auto undescribed = context.VarnakOnlineCoupler->clsColTerminals()->ItemPos(2);
    ASSERT_EQ(undescribed->InfoName(), "Unknown");
    frmOnlineUpLoad dialog;
    ASSERT_TRUE(dialog.load());
    EXPECT_TRUE(runUpload(dialog, *station, {kUploadTotal}));
    EXPECT_EQ(messageTexts(),
              std::vector<std::string>{
                  std::string(kPassedOver) +
                  "Programmierte Konfiguration: Listen bis zur ersten Position ohne "
                  "Beschreibung auf die Klemmen verteilt, ab ihr nicht (ihre Kanäle sind nicht "
                  "bekannt); die Listen bleiben, wie die Station sie hält\n"
                  "Position 2: keine Beschreibung für diese Klemme; gelesen wurden nur die "
                  "Kanäle der Ersatzbeschreibung: Kanal1"});
    EXPECT_EQ(undescribed->clsColTables()->Item(0)->ConfRegisterValue(40), 0x2222);
    auto rail = context.VarnakOnlineCoupler;
    EXPECT_EQ(rail->clsColTables()->Item(10)->ConfRegisterValue(0), 0x0004);
    EXPECT_EQ(rail->clsColTerminals()->ItemPos(1)->ConfMappInputImage(0, 0), "4");
    EXPECT_EQ(wireLog(*station).find("pos 2 table 1 "), std::string::npos);
}

// Without terminal configuration nothing of it was read; its position is named all the same.
TEST_F(UploadUndescribed, ThePositionIsNamedWhenNoChannelWasRead) {
    TransferChoice choice;
    choice.boxes[kUploadCouplerSettings] = true;
    const TransferReport report = runStationUpload(*context.VarnakOnlineCoupler, choice, {});
    EXPECT_TRUE(report.clean());
    EXPECT_EQ(transferReportText(report, kTxtUploadPassedOver),
              std::string(kPassedOver) + "Position 2: keine Beschreibung für diese Klemme");
}

// The station's lists place the outputs of the terminal at 1 at 0.0 and 0.1, those of the one
// behind the undescribed terminal at 2 at 0.2 and 0.3; every text of the rail stands at "9".
class UploadInFront : public RailFixture {
  protected:
    UploadInFront() : RailFixture({"QZ3100-0000", {"QT2012-0000", "QT3102-0016", "QT2012-0000"}}) {
        connectStation();
        station->setRegister(0, 10, 0, 0xFFFF);
        const uint16_t outputs[] = {0x0000, 0x0200, 0, 0, 0, 0, 0x0400, 0x0600, 0xFFFF};
        for (int r = 0; r < 9; ++r) station->setRegister(0, 50, r, outputs[r]);
        goOnline();
        for (auto [p, c] : kShown) terminal(p)->setConfMappOutputImage(c, 0, "9");
        terminal(1)->setConfMappInputImage(0, 0, "9");
    }
    // The output texts shown (position, channel), after the first input text.
    static constexpr std::pair<int, int> kShown[] = {{1, 0}, {1, 1}, {2, 0}, {3, 1}};
    std::shared_ptr<clsTerminal> terminal(int p) const {
        return rail()->clsColTerminals()->ItemPos(p);
    }
    std::shared_ptr<clsCoupler> rail() const { return context.VarnakOnlineCoupler; }
    std::vector<std::string> texts() const {
        std::vector<std::string> out{terminal(1)->ConfMappInputImage(0, 0)};
        for (auto [p, c] : kShown) out.push_back(terminal(p)->ConfMappOutputImage(c, 0));
        return out;
    }
};

TEST_F(UploadInFront, TheTerminalsInFrontOfTheUndescribedOneTakeTheStationsAddresses) {
    // The output list not read again: the upload may be saved all the same, with the lists
    // as read and every text as it was, the input list's too (both lists or neither).
    station->setFaultChooser([reads = std::make_shared<int>(0)](const std::string& request) {
        const bool listRead = decodeRequest(request).rfind("read  pos 0 table 50 reg 0 ", 0) == 0;
        return listRead && ++*reads == 2 ? std::optional(ReplyFault::badChecksum()) : std::nullopt;
    });
    TransferChoice choice;
    choice.boxes[kUploadProgrammedConfiguration] = true;
    const TransferReport refused = runStationUpload(*rail(), choice, {});
    EXPECT_TRUE(refused.clean());
    EXPECT_EQ(texts(), (std::vector<std::string>{"9", "9", "9", "9", "9"}));
    ASSERT_EQ(refused.notes.size(), 2u);
    EXPECT_EQ(refused.notes[0].reason,
              "Programmierte Konfiguration: Die Tabelle 50 ließ sich nicht vom Koppler lesen "
              "(Fehler 3). Die Zuordnung bleibt, wie das Projekt sie hält. Die Listen werden "
              "gespeichert, wie die Station sie hält; ihre Adressen werden aber nicht auf die "
              "Klemmen verteilt, weil sich die Zuordnung aus diesem Grund nicht neu berechnen "
              "ließ.");
    EXPECT_EQ(rail()->clsColTables()->Item(50)->ConfRegisterValue(7), 0x0600);

    station->setFaultChooser({});
    const TransferReport report = runStationUpload(*rail(), choice, {});
    EXPECT_EQ(transferReportText(report, kTxtUploadPassedOver),
              std::string(kPassedOver) +
                  "Programmierte Konfiguration: Listen bis zur ersten Position ohne Beschreibung "
                  "auf die Klemmen verteilt, ab ihr nicht (ihre Kanäle sind nicht bekannt); die "
                  "Listen bleiben, wie die Station sie hält\n"
                  "Position 2: keine Beschreibung für diese Klemme");
    EXPECT_EQ(texts(), (std::vector<std::string>{"511.7", "0.0", "0.1", "511", "511.7"}));
}

}  // namespace
}  // namespace varnak::test
