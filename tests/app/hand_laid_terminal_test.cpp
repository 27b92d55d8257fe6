// A rail whose QT3002 file was laid out by hand as its description with its [Config] keys
// and channel 0's Reg32 changed: the second channel, whose table the file lacks, carries the
// description's channel registers into the changed-register report and the download.
#include <gtest/gtest.h>

#include "app/report_text.h"
#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "model/clsTable.h"
#include "model/clsTerminal.h"
#include "online/settings_download.h"
#include "tests/support/qt/rail_fixture.h"
#include "tests/support/wire_log.h"

namespace varnak::test {
namespace {

class HandLaidTerminal : public RailFixture {
  protected:
    HandLaidTerminal() : RailFixture({"QZ3100-0000", {"QT3002-0000", "QT9010-0000"}}) {
        auto terminal = rail()->clsColTerminals()->ItemPos(1);
        const auto folder = dir / "Werk.PF" / "Linie 1.CF";
        std::string text = readFile(resources() / "Terminal" / "QT3002-0000.INI");
        text.replace(text.find("Reg32=0x0002"), 12, "Reg32=0x0007");
        writeFile(
            terminal->FileName(folder.string()),
            text + "\n[Config]\nTermPos=1\nTermID=" + std::to_string(terminal->ConfSymbolicID()) +
                "\nCouplerID=" + std::to_string(rail()->ConfSymbolicID()) + "\n");
        railFromDisk();
    }
    std::shared_ptr<clsTable> channel(int c) {
        return rail()->clsColTerminals()->ItemPos(1)->clsColTables()->Item(c);
    }
};

TEST_F(HandLaidTerminal, TheChannelWithoutTableReportsAndSendsTheDescriptionsRegisters) {
    EXPECT_EQ(channel(0)->ConfRegisterValue(32), 0x0007);
    EXPECT_EQ(channel(1)->ConfRegisterValue(32), 0x0002);
    EXPECT_EQ(channel(1)->ConfRegisterValue(34), 0x0100);

    const std::string report = fReportText(kReportChangedRegisters, *rail(), "now");
    const std::string terminal = report.substr(report.find("Pos: \t1\t"));
    EXPECT_EQ(terminal.substr(terminal.find("\r\n") + 2),
              "\t\tChannel: 1\r\n\t\t\t\tOffset: 32\t\t0x0007\t[0x0002]\r\n"
              "\t\tChannel: 2\r\n\t\t\t\tDefault Setting\r\n\r\n\r\n\r\n\r\n");

    connectStation();
    station->setRegister(1, 1, 32, 0x0055);
    TransferChoice choice;
    choice.boxes[kDownloadTerminalSettings] = true;
    choice.firstText = choice.lastText = "1";
    EXPECT_TRUE(runSettingsDownload(*rail(), choice, {}).clean());
    EXPECT_TRUE(logMatches("download_hand_laid_terminal.txt"));
    EXPECT_EQ(station->reg(1, 1, 32), 0x0002);
    EXPECT_EQ(station->reg(1, 0, 32), 0x0007);
}

}  // namespace
}  // namespace varnak::test
