// The register table editor's road against the simulated station, with golden wire logs,
// and offline on the project's rail.
#include "views/register_editor.h"

#include <gtest/gtest.h>

#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "model/clsTable.h"
#include "model/clsTerminal.h"
#include "model/tree_node_key.h"
#include "tests/support/qt/rail_fixture.h"
#include "tests/support/wire_log.h"

namespace varnak::test {
namespace {

using Open = RegisterEditor::OpenResult;
const std::string kNoCommunication = "Keine Kommunikation mit Koppler!";

class RegisterEditorTest : public RailFixture {
  protected:
    RegisterEditorTest()
        : RailFixture(
              {"QZ3100-0000", {"QT3002-0000", "QT3002-0000", "QT1002-0000", "QT9010-0000"}}) {}
    RegisterEditor editor;
};

TEST_F(RegisterEditorTest, OnlineOpenEditAndRefreshOfACouplerAndATerminalTable) {
    connectStation().setRegister(0, 100, 7, 0x0042);
    goOnline();
    ASSERT_EQ(editor.open(couplerTableKey(100)), Open::Opened);
    EXPECT_EQ(editor.rowCount(), 16);
    EXPECT_EQ(editor.dataText(7), "0x 0042");
    EXPECT_EQ(editor.enter(7, "0x1234"), "0x 1234");
    EXPECT_EQ(station->reg(0, 100, 7), 0x1234);
    station->setRegister(0, 100, 8, 0xBEEF);
    EXPECT_TRUE(editor.refresh());
    editor.setDataType(RegisterDataType::Unsigned);
    EXPECT_EQ(editor.dataText(8), "48879");

    RegisterEditor channel;
    ASSERT_EQ(channel.open(registerKey(2, 1)), Open::Opened);
    EXPECT_EQ(channel.descriptionText(34), "Anwender-Skalierung (256 = 1,0)");
    EXPECT_EQ(channel.enter(34, "0200"), "0x 0200");
    EXPECT_EQ(station->reg(2, 1, 34), 0x0200);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(logMatches("online_edit_refresh.txt"));
}

TEST_F(RegisterEditorTest, AProtectedCouplerKeepsItsValueAndTheCellShowsIt) {
    connectStation().changeCoupler([](CouplerState& s) { s.writeProtected = true; });
    goOnline();
    ASSERT_EQ(editor.open(couplerTableKey(100)), Open::Opened);
    const int32_t old = station->reg(0, 100, 3);
    EXPECT_EQ(editor.enter(3, "7777"), registerDisplayText(RegisterDataType::Hex, old));
    EXPECT_EQ(editor.table().ConfRegisterValue(3), old);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(logMatches("protected_table.txt"));
}

TEST_F(RegisterEditorTest, ASilentStationGives469AndThePreviousValue) {
    connectStation();
    goOnline();
    ASSERT_EQ(editor.open(registerKey(1, 0)), Open::Opened);
    const std::string before = editor.dataText(33);
    station->queueFault(ReplyFault::noReply());
    station->queueFault(ReplyFault::noReply());
    EXPECT_EQ(editor.enter(33, "1"), before);
    EXPECT_EQ(editor.dataText(33), before);
    station->queueFault(ReplyFault::badChecksum());
    station->setRegister(1, 0, 33, 0x5555);
    EXPECT_FALSE(editor.refresh());
    EXPECT_EQ(editor.dataText(33), before);
    EXPECT_EQ(messageTexts(), std::vector<std::string>(2, kNoCommunication));
    EXPECT_TRUE(logMatches("silent_station.txt"));
}

TEST_F(RegisterEditorTest, KeysWithoutATableOpenNothingOfflineAnd469Online) {
    EXPECT_EQ(editor.open(registerKey(3, 0)), Open::NothingToOpen);  // no register model
    EXPECT_EQ(editor.open(couplerTableKey(5)), Open::NothingToOpen);
    EXPECT_EQ(editor.open(registerKey(1, 2)), Open::NothingToOpen);  // two channels only
    EXPECT_EQ(editor.open(treeKey(TreeNodeKind::TerminalRegister, "C099P000T001P001CHANNEL000")),
              Open::NothingToOpen);
    // A table above 127 opens on the project's copy; online the control refuses it.
    rail()->clsColTables()->Add(128)->setTableLen(15);
    rail()->clsColTables()->Item(128)->setTableNr(128);
    EXPECT_EQ(editor.open(couplerTableKey(128)), Open::Opened);
    connectStation();
    goOnline();
    context.VarnakOnlineCoupler->clsColTables()->Add(128)->setTableNr(128);
    EXPECT_EQ(editor.open(couplerTableKey(128)), Open::NoCommunication);
    EXPECT_EQ(editor.open(couplerTableKey(5)), Open::NoCommunication);
    EXPECT_EQ(editor.open(registerKey(9, 0)), Open::NoCommunication);
    EXPECT_TRUE(station->requests().empty());
}

TEST_F(RegisterEditorTest, AnOfflineEditIsOnDiskOnceTheEditorCloses) {
    ASSERT_EQ(editor.open(registerKey(2, 1)), Open::Opened);
    EXPECT_FALSE(editor.refresh());
    EXPECT_EQ(editor.enter(40, "G"), std::nullopt);
    EXPECT_EQ(messageTexts(), std::vector<std::string>{kRefusedEntryMessage});
    editor.setDataType(RegisterDataType::Signed);
    EXPECT_EQ(editor.enter(40, "-2"), "-2");
    editor.close();
    auto terminal = railFromDisk()->clsColTerminals()->ItemPos(2);
    EXPECT_EQ(terminal->clsColTables()->Item(1)->ConfRegisterValue(40), 0xFFFE);
}

}  // namespace
}  // namespace varnak::test
