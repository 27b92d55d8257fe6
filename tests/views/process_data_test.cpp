// The process-data view against the simulated station: the opening reads, the passes over
// the visible rows of the chosen image with a golden wire log, a typed output written as one
// register, the window's timer and Exit, the station's moving inputs, and a station that
// stops answering and comes back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "tests/support/qt/event_wait.h"
#include "tests/support/qt/rail_fixture.h"
#include "tests/support/station_process_images.h"
#include "tests/support/wire_log.h"
#include "views/frmProcData.h"
#include "views/process_data_view.h"
#include "windowkit/register_grid.h"

namespace varnak::test {
namespace {

class ProcessDataTest : public RailFixture {
  protected:
    ProcessDataTest() : RailFixture({"QZ3100-0000", {"QT3002-0000"}}) {}
    static bool waitFor(const std::function<bool()>& done, int ms = 2000) {
        return runEventsUntil(done, ms);
    }
};

TEST_F(ProcessDataTest, PassesReadTheVisibleRowsOfTheChosenImageAndAnEntryWritesOneRegister) {
    connectStation();
    goOnline();
    setImageInput(*station, 0, 41, 0x00FF);
    setImageInput(*station, 3, 40, 0x8001);
    ProcessDataView view;
    ASSERT_TRUE(view.open());
    view.load();
    view.UploadProcData({40, 15}, {40, 15});
    EXPECT_EQ(view.inputValue(41), 0x00FF);
    view.selectImage(3);
    view.UploadProcData({40, 15}, {0, 20});
    EXPECT_EQ(view.inputTable(), 117);
    EXPECT_EQ(view.outputTable(), 113);
    view.selectImage(2);  // image 3 of the selector
    view.UploadProcData({40, 15}, {40, 15});
    EXPECT_EQ(view.enterOutput(41, RegisterDataType::Hex, "0x1234"), "0x 1234");
    EXPECT_EQ(imageOutput(*station, 2, 41), 0x1234);
    EXPECT_EQ(view.enterOutput(42, RegisterDataType::Unsigned, "70000"), "4464");
    EXPECT_EQ(view.enterOutput(43, RegisterDataType::HexAlternative, "FF"), "0x 00FF");
    EXPECT_EQ(view.enterOutput(44, RegisterDataType::Hex, "G1"), std::nullopt);
    EXPECT_EQ(view.enterOutput(45, RegisterDataType::Signed, "40000"), std::nullopt);
    // The last rows: the read stops at register 255.
    view.UploadProcData({250, 15}, {300, 15});
    EXPECT_EQ(messageTexts(), std::vector<std::string>{kRefusedEntryMessage});
    EXPECT_TRUE(logMatches("process_data_passes.txt"));
}

TEST_F(ProcessDataTest, FailedPassesAreToldUntilOneGoesThroughAndAFailedWriteIsPutBack) {
    connectStation();
    goOnline();
    control.setQZxTimeout(100);
    control.setQZxPortOpen(true);
    ProcessDataView view;
    ASSERT_TRUE(view.open());
    view.load();
    EXPECT_TRUE(view.communicating());
    // Either read of a pass failing counts; a pass without reads tells nothing.
    for (bool inputFails : {true, false}) {
        if (!inputFails) station->queueFault(ReplyFault::none());
        station->queueFault(ReplyFault::noReply());
        view.UploadProcData({0, 5}, {0, 5});
        EXPECT_FALSE(view.communicating()) << inputFails;
        view.UploadProcData({300, 5}, {-1, 5});
        EXPECT_FALSE(view.communicating()) << inputFails;
        view.UploadProcData({0, 5}, {0, 5});
        EXPECT_TRUE(view.communicating()) << inputFails;
    }
    // A write that got no answer, or a garbled one, keeps the cell's old text.
    for (ReplyFault fault : {ReplyFault::noReply(), ReplyFault::badChecksum()}) {
        station->queueFault(fault);
        EXPECT_EQ(view.enterOutput(7, RegisterDataType::Hex, "0x1234"), std::nullopt);
    }
    EXPECT_TRUE(ui.messages.empty());

    // The window's line comes with the failing passes and goes with the first sound one.
    frmProcData dialog;
    ASSERT_TRUE(dialog.load());
    dialog.show();
    EXPECT_FALSE(dialog.lblNoCommunication->isVisible());
    EXPECT_EQ(dialog.lblNoCommunication->text(), "Keine Kommunikation mit Koppler!");
    for (int i = 0; i < 6; ++i) station->queueFault(ReplyFault::noReply());
    EXPECT_TRUE(waitFor([&] { return dialog.lblNoCommunication->isVisible(); }));
    EXPECT_TRUE(waitFor([&] { return !dialog.lblNoCommunication->isVisible(); }, 4000));
    dialog.cmdExit->click();
    EXPECT_TRUE(waitFor([&] { return !dialog.isVisible(); }));
}

TEST_F(ProcessDataTest, ACouplerThatDoesNotAnswerGives469AndNoView) {
    connectStation();
    goOnline();
    station->queueFault(ReplyFault::noReply());
    frmProcData dialog;
    EXPECT_FALSE(dialog.load());
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"Keine Kommunikation mit Koppler!"});
    EXPECT_EQ(station->requests().size(), 1u);
    EXPECT_EQ(imageRowRange(-1, 5).count, 0);
    EXPECT_EQ(imageRowRange(255, 15), (RowRange{255, 1}));
}

TEST_F(ProcessDataTest, TheWindowRefreshesItsVisibleRowsAndExitClosesWithinOnePass) {
    connectStation();
    goOnline();
    moveInputs(*station);
    frmProcData dialog;
    ASSERT_TRUE(dialog.load());
    dialog.show();
    dialog.cboProcImage->setCurrentIndex(1);
    EXPECT_EQ(dialog.cboProcImage->itemText(3), "Prozeßabbild 4");
    dialog.comboDataTyp2->setCurrentIndex(3);  // unsigned
    station->clearRequests();
    // The moving counter shows in the input grid's first row.
    ASSERT_TRUE(waitFor([&] {
        const QString shown = dialog.tdbgInData->cell(0, 1);
        return !shown.startsWith("0x") && shown.toInt() > 0;
    }));
    const RowRange in = frmProcData::visibleRows(dialog.tdbgInData);
    const RowRange out = frmProcData::visibleRows(dialog.tdbgOutData);
    ASSERT_GT(in.count, 5);
    // Each grid's visible rows in one request (telegrams of at most 18 registers).
    const std::string log = wireLog(*station);
    auto firstTelegram = [](int table, RowRange rows) {
        return "read  pos 0 table " + std::to_string(table) + " reg " + std::to_string(rows.first) +
               " count " + std::to_string(std::min(rows.count, 18));
    };
    EXPECT_NE(log.find(firstTelegram(115, in)), std::string::npos) << log;
    EXPECT_NE(log.find(firstTelegram(111, out)), std::string::npos) << log;
    // The next pass starts 100 ms after the end of the last.
    const size_t perPass = static_cast<size_t>((in.count + 17) / 18 + (out.count + 17) / 18);
    const auto exchanges = station->exchanges();
    for (size_t i = perPass; i < exchanges.size(); i += perPass)
        EXPECT_GE(exchanges[i].received - exchanges[i - 1].replied, std::chrono::milliseconds(95));
    // Passes leave a cell being typed into as the user typed it.
    RegisterGrid* grid = dialog.tdbgOutData;
    grid->setCurrentIndex(grid->model()->index(3, 1));
    grid->edit(grid->currentIndex());
    auto* editor = grid->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText("0x12");
    const size_t before = station->requests().size();
    ASSERT_TRUE(waitFor([&] { return station->requests().size() >= before + 2 * perPass; }));
    EXPECT_EQ(editor->text(), "0x12");
    dialog.cmdExit->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(waitFor([&] { return !dialog.isVisible(); }, 250));
}

}  // namespace
}  // namespace varnak::test
