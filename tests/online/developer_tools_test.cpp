// The developer tools and the coupler services dialog offscreen against the simulated
// station: the hexadecimal entries, the memory dump in byte addresses with its eighteenth
// word from a second request, the refused and failed writes, the station-number window
// ending on Cancel within one query, and the six service labels.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <chrono>

#include "online/frmCouplerFunctions.h"
#include "online/frmRimTalkDebug.h"
#include "online/frmRimTalkQZ3xxx.h"
#include "online/memory_debug.h"
#include "tests/support/qt/rail_fixture.h"
#include "tests/support/wire_log.h"

namespace varnak::test {
namespace {

using std::chrono::milliseconds;

// The rows' texts come from the program's string table.
class MemoryEntries : public ProgramFixture {};

TEST_F(MemoryEntries, HexWordsAndDumpRows) {
    const std::vector<std::pair<std::string, std::optional<int32_t>>> cases{
        {"7FF8", 0x7FF8},     {" &h10 ", 0x10},     {"2", 2},
        {"ffff", 0xFFFF},     {"0000FFFF", 0xFFFF}, {"12G4", std::nullopt},
        {"", std::nullopt},   {"&H", std::nullopt}, {"10000", std::nullopt},
        {"-1", std::nullopt}, {"1 2", std::nullopt}};
    for (const auto& [text, value] : cases) EXPECT_EQ(ParseHexText(text), value) << text;

    std::array<int32_t, kDumpWords> words{};
    words[1] = 0x00A5;
    words[17] = 0xBEEF;
    const std::vector<DumpRow> rows = dumpRows(2, 0x7FF8, words);
    ASSERT_EQ(rows.size(), 18u);
    EXPECT_EQ(rows[0].nr, " 0");
    EXPECT_EQ(rows[0].address, "0x27FF8");
    EXPECT_EQ(rows[0].value, "0x0000");
    EXPECT_EQ(rows[1].address, "0x27FFA");
    EXPECT_EQ(rows[1].value, "0x00A5");
    EXPECT_EQ(rows[17].nr, "17");
    EXPECT_EQ(rows[17].address, "0x2801A");
    EXPECT_EQ(rows[17].value, "0xBEEF");
    const std::vector<DumpRow> partly = dumpRows(2, 0xFFDE, words, 17);
    EXPECT_EQ(partly[16].value, "0x0000");
    EXPECT_EQ(partly[17].value, "nicht lesbar");
    EXPECT_EQ(partly[17].address, "0x210000");
}

class DeveloperTools : public RailFixture {
  protected:
    DeveloperTools() : RailFixture({"QZ3100-0000", {"QT3002-0000"}}) { connectStation(); }
    void pumpUntil(const std::function<bool()>& done) {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!done() && std::chrono::steady_clock::now() < giveUp)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
};

TEST_F(DeveloperTools, MemoryWindowDumpsEighteenWordsAndWritesOne) {
    std::vector<uint16_t> words;
    for (int i = 0; i < 18; ++i) words.push_back(static_cast<uint16_t>(0xA000 + i));
    station->setMemory(2, 0x7FF8, words);
    frmRimTalkDebug window;
    window.load();
    QTreeWidget* list = window.ListView1;
    ASSERT_EQ(list->topLevelItemCount(), 18);
    EXPECT_EQ(list->topLevelItem(0)->text(1), "0x27FF8");
    EXPECT_EQ(list->topLevelItem(0)->text(2), "0xA000");
    EXPECT_EQ(list->topLevelItem(17)->text(0), "17");
    EXPECT_EQ(list->topLevelItem(17)->text(2), "0xA011");  // never a made-up 0
    EXPECT_EQ(window.Text1[2]->text(), "2");
    EXPECT_EQ(window.Text1[3]->text(), "7FF8");
    EXPECT_TRUE(window.Text1[4]->text().isEmpty());

    // A segment above 15 is read by its low four bits and shown as entered.
    window.Text1[0]->setText("12");
    window.Text1[1]->setText("&h7ffa");
    window.cmdUpdate->click();
    EXPECT_EQ(list->topLevelItem(0)->text(1), "0x127FFA");
    EXPECT_EQ(list->topLevelItem(0)->text(2), "0xA001");

    window.Text1[2]->setText("3");
    window.Text1[3]->setText("10");
    window.Text1[4]->setText("A5");
    window.cmdSend->click();
    EXPECT_EQ(station->memory(3, 0x10), 0xA5);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(matchesGolden(wireLog(*station),
                              testSourcePath("online/wire_golden/memory_dump_and_write.txt")));

    // Refused before anything is sent: other segments, bad hex, words beyond 16 bits.
    station->clearRequests();
    window.Text1[2]->setText("1");
    window.cmdSend->click();
    window.Text1[2]->setText("2");
    window.Text1[4]->setText("12G4");
    window.cmdSend->click();
    window.Text1[4]->setText("10000");
    window.cmdSend->click();
    window.Text1[1]->setText("X");
    window.cmdUpdate->click();
    EXPECT_EQ(list->topLevelItemCount(), 18);  // the list as it was
    EXPECT_TRUE(station->requests().empty());
    EXPECT_EQ(messageTexts(),
              (std::vector<std::string>{"In den Speicher wird nur in Segment 2 oder 3 geschrieben.",
                                        "Keine Hexadezimalzahl von 0 bis FFFF: 12G4",
                                        "Keine Hexadezimalzahl von 0 bis FFFF: 10000",
                                        "Keine Hexadezimalzahl von 0 bis FFFF: X"}));

    // From 0xFFDE on the 18th word lies beyond the addresses a request can name: the
    // words read are listed, the rest not readable.
    ui.messages.clear();
    for (const char* start : {"FFDE", "FFFF"}) {
        station->setMemory(2, 0xFFDE, words);
        window.Text1[0]->setText("2");
        window.Text1[1]->setText(start);
        window.cmdUpdate->click();
        ASSERT_EQ(list->topLevelItemCount(), 18) << start;
        EXPECT_EQ(list->topLevelItem(16)->text(2),
                  start == std::string("FFDE") ? "0xA010" : "0x0000");
        EXPECT_EQ(list->topLevelItem(17)->text(2), "nicht lesbar") << start;
    }
    EXPECT_EQ(list->topLevelItem(0)->text(1), "0x2FFFF");
    EXPECT_TRUE(ui.messages.empty());

    // A failed write is told; a failed read leaves the list empty without a message.
    ui.messages.clear();
    station->setCommandHook([](std::vector<uint16_t>& t, uint16_t) { t[0] = 0x0102; });
    window.Text1[4]->setText("1");
    window.cmdSend->click();
    EXPECT_EQ(messageTexts(),
              std::vector<std::string>{"Das Schreiben ist fehlgeschlagen, Fehler -1"});
    window.Text1[1]->setText("7FF8");
    window.cmdUpdate->click();
    EXPECT_EQ(list->topLevelItemCount(), 0);
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(DeveloperTools, StationNumberWindowPollsUntilCancelWithinOneQuery) {
    frmRimTalkQZ3xxx window;
    EXPECT_EQ(window.lblQZ3x00Adr->text(), "..und los..!");
    window.show();
    pumpUntil([&] { return window.lblQZ3x00Adr->text() == "03" && window.queries() >= 2; });
    EXPECT_EQ(window.lblQZ3x00Adr->text(), "03");
    station->changeCoupler([](CouplerState& c) { c.stationNumber = 123; });
    pumpUntil([&] { return window.lblQZ3x00Adr->text() == "123"; });
    EXPECT_EQ(window.lblQZ3x00Adr->text(), "123");

    QTimer::singleShot(0, window.cmdCancel, &QPushButton::click);
    const int before = window.queries();
    pumpUntil([&] { return !window.isVisible(); });
    EXPECT_FALSE(window.isVisible());
    EXPECT_LE(window.queries(), before + 1);
    const size_t requests = station->requests().size();
    QApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(station->requests().size(), requests);

    // An answer without a number leaves the label; a silent coupler shows why.
    frmRimTalkQZ3xxx again;
    station->configureCommands([](StationCommandTable& t) { t.noValue.insert(0x00FF); });
    again.show();
    pumpUntil([&] { return again.queries() >= 2; });
    EXPECT_EQ(again.lblQZ3x00Adr->text(), "..und los..!");
    control.setQZxTimeout(10);
    control.setQZxPortOpen(true);
    for (int i = 0; i < 50; ++i) station->queueFault(ReplyFault::noReply());
    pumpUntil([&] { return again.lblQZ3x00Adr->text() == "Keine Kommunikation mit Koppler!"; });
    EXPECT_EQ(again.lblQZ3x00Adr->text(), "Keine Kommunikation mit Koppler!");
    again.cmdCancel->click();
    EXPECT_FALSE(again.isVisible());
}

TEST_F(DeveloperTools, CouplerServiceLabelsStateOnlyWhatTheCouplerAnswered) {
    station->setRestartSilence(milliseconds(0));
    station->changeCoupler([](CouplerState& c) { c.checksum = 4660; });
    frmCouplerFunctions dialog;
    EXPECT_EQ(dialog.windowTitle(), "Buskoppler Funktionen");
    EXPECT_EQ(dialog.Command1[5]->text(), "Hersteller-Einstellung");
    auto labels = [&] {
        std::vector<std::string> out;
        for (int i = 0; i < 6; ++i) {
            dialog.Command1[i]->click();
            out.push_back(dialog.Label1[i]->text().toStdString());
        }
        return out;
    };
    EXPECT_EQ(labels(),
              (std::vector<std::string>{"Schreibschutz ist gesetzt", "Schreibschutz zurückgesetzt!",
                                        "Reset Ok", "4660", "Ok", "Ok"}));
    EXPECT_TRUE(matchesGolden(wireLog(*station),
                              testSourcePath("online/wire_golden/coupler_service_buttons.txt")));

    // Refused: the protection stands as it was; an answer without a checksum is no number.
    station->setCommandHook([](std::vector<uint16_t>& t, uint16_t command) {
        if (command == 0x0101 || command == 0x0301) t[1] = 0;
    });
    dialog.Command1[0]->click();
    EXPECT_EQ(dialog.Label1[0]->text(), "Schreibschutz zurückgesetzt!");
    dialog.Command1[1]->click();
    EXPECT_EQ(dialog.Label1[1]->text(), "Schreibschutz ist gesetzt");
    EXPECT_TRUE(dialog.Label1[0]->text().isEmpty());  // one label at a time
    dialog.Command1[2]->click();
    EXPECT_EQ(dialog.Label1[2]->text(), "Nicht Ok");  // the reset was never sent
    dialog.Command1[3]->click();
    EXPECT_EQ(dialog.Label1[3]->text(), "Nicht Ok");

    // No answer at all claims no state.
    control.setQZxTimeout(10);
    control.setQZxPortOpen(true);
    for (int i : {0, 1, 4}) {
        station->queueFault(ReplyFault::noReply());
        dialog.Command1[i]->click();
        EXPECT_EQ(dialog.Label1[i]->text(), "Nicht Ok") << i;
    }
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace varnak::test
