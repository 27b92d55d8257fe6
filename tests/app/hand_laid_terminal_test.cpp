// A rail whose QT3002 file was laid out by hand as its description with its [Config] keys
// and channel 0's Reg32 changed: the second channel, whose table the file lacks, carries the
// description's channel registers into the changed-register report and the download.
#include <gtest/gtest.h>

#include "app/report_text.h"
#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "model/clsTable.h"
#include "model/clsTerminal.h"
#include "model/rail_open_report.h"
#include "online/settings_download.h"
#include "platform/ini_file.h"
#include "tests/support/qt/rail_fixture.h"
#include "tests/support/wire_log.h"

namespace varnak::test {
namespace {

// The text from the first what on; without it, a text that fails the caller's check.
std::string from(const std::string& text, const std::string& what) {
    const size_t at = text.find(what);
    return at == std::string::npos ? "no \"" + what + "\" in: " + text : text.substr(at);
}

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
    const std::string terminal = from(report, "Pos: \t1\t");
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

// The same file while its description is what an interrupted copy left of it (its first 204
// bytes, ending in the layout registers): the channel without its table takes the file's own
// table 0, not zeros, is named at every open and is stored by no save until it is set.
TEST_F(HandLaidTerminal, ACutDescriptionLeavesTheChannelToTheFilesOwnTableUnstored) {
    const auto description = resources() / "Terminal" / "QT3002-0000.INI";
    writeFile(description, readFile(description).substr(0, 204));
    const std::string file =
        rail()->clsColTerminals()->ItemPos(1)->FileName((dir / "Werk.PF" / "Linie 1.CF").string());
    for (int open = 0; open < 2; ++open) {
        railFromDisk();
        EXPECT_EQ(channel(1)->ConfRegisterValue(32), 0x0007);
        EXPECT_EQ(channel(1)->ConfRegisterValue(34), 0x0100);
        EXPECT_FALSE(channel(1)->ValueChanged());
        EXPECT_EQ(from(railOpenReport(*rail()), "\r\nPosition"),
                  "\r\nPosition 1 (QT3002-0000): " + file + "\r\n    Beschreibung abgeschnitten: " +
                      description.string() + "\r\n    Kanal2");
        ASSERT_EQ(rail()->ConfSaveData(), kStoreOk);
        EXPECT_TRUE(ini::sectionKeys(file, "RegValue_Table1").empty());
    }
    channel(1)->setConfRegisterValue(35, 1);
    ASSERT_EQ(rail()->ConfSaveData(), kStoreOk);
    railFromDisk();
    EXPECT_EQ(channel(1)->ConfRegisterValue(34), 0x0100);
    EXPECT_EQ(railOpenReport(*rail()), "");
}

// The same file while its description lacks only its final line end, as an editor that
// writes none leaves it: the sections after its values prove them whole.
TEST_F(HandLaidTerminal, ADescriptionWithoutItsFinalLineEndStillFillsTheChannel) {
    const auto description = resources() / "Terminal" / "QT3002-0000.INI";
    const std::string text = readFile(description);
    ASSERT_TRUE(text.ends_with("\n"));
    writeFile(description, text.substr(0, text.size() - 1));
    railFromDisk();
    EXPECT_EQ(channel(1)->ConfRegisterValue(32), 0x0002);
    EXPECT_EQ(channel(1)->ConfRegisterValue(34), 0x0100);
    EXPECT_EQ(railOpenReport(*rail()), "");
}

}  // namespace
}  // namespace varnak::test
