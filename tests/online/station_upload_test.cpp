// The station upload against the simulated station: the dialog's opening read and Cancel,
// everything ticked on a rail without table 121 and with an input list ending in table 11,
// the recalculated mapping texts, an empty range, a station that stops answering, and a
// mapping the rail's limits refuse.
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
#include "tests/support/qt/rail_fixture.h"
#include "tests/support/wire_log.h"

namespace varnak::test {
namespace {

constexpr const char* kIncomplete =
    "Der Upload ist nicht vollständig; die Station wird nicht gespeichert:\n";

// Ticks the boxes and runs the upload from the dialog, the station's log started afresh;
// the upload is expected to fail.
void runFailingUpload(frmOnlineUpLoad& dialog, SimStation& station,
                      std::initializer_list<int> boxes) {
    for (int box : boxes) dialog.chkUpLoad[box]->setChecked(true);
    station.clearRequests();
    dialog.cmdGet->click();
    EXPECT_FALSE(dialog.result());
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

// A table the rail holds and the station lacks is named and passed over, the rest read,
// whether the station refuses with no values, with the count or with zero values.
TEST_F(Upload, ARefusedTableIsNamedAndTheUploadGoesOnWhateverTheRefusalCarries) {
    auto extra = online()->clsColTables()->Add(121);
    extra->setTableNr(121);
    extra->setTableLen(3);
    extra->setbInitDone(true);
    for (auto shape : {SimStation::ReplyShape::Empty, SimStation::ReplyShape::Count,
                       SimStation::ReplyShape::Values}) {
        SCOPED_TRACE(static_cast<int>(shape));
        station->setRefusals(shape);
        ui.messages.clear();
        frmOnlineUpLoad dialog;
        ASSERT_TRUE(dialog.load());
        runFailingUpload(dialog, *station, {kUploadCouplerSettings, kUploadTerminalConfiguration});
        EXPECT_EQ(messageTexts(),
                  std::vector<std::string>{std::string(kIncomplete) + "Tabelle 121: Fehler 13"});
        EXPECT_TRUE(matchesGolden(wireLog(*station),
                                  testSourcePath("online/wire_golden/upload_refused_table.txt")));
    }
}

TEST_F(Upload, AStationThatStopsAnsweringEndsTheUploadAndNothingIsSaved) {
    frmOnlineUpLoad dialog;
    ASSERT_TRUE(dialog.load());
    control.setQZxTimeout(300);
    control.setQZxPortOpen(true);
    station->queueFault(ReplyFault::badChecksum());  // table 0's first telegram
    station->queueFault(ReplyFault::none());         // table 100
    station->queueFault(ReplyFault::noReply());      // table 120
    runFailingUpload(dialog, *station, {kUploadCouplerSettings, kUploadTerminalConfiguration});
    EXPECT_EQ(messageTexts(), std::vector<std::string>{
                                  std::string(kIncomplete) +
                                  "Tabelle 0: Fehler 3\nTabelle 120: Fehler 1\n"
                                  "Die Station antwortet nicht; der Rest wurde nicht übertragen."});
    const std::string log = wireLog(*station);
    EXPECT_EQ(log.find("pos 1"), std::string::npos);  // no terminal read after the silence
    EXPECT_EQ(log.substr(log.rfind("read ")), "read  pos 0 table 120 reg 0 count 4\n");
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
    runFailingUpload(dialog, *station, {kUploadProgrammedConfiguration});
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

}  // namespace
}  // namespace varnak::test
