// What a rail cell shows, without widgets: the type lines, the coupler's online lines from
// the services' answers, the picture file with its fallbacks, and the current check.
#include <gtest/gtest.h>

#include <limits>

#include "model/string_table.h"
#include "railview/cell_texts.h"
#include "railview/kbus_current.h"
#include "railview/picture_file.h"
#include "tests/support/temp_dir.h"

namespace varnak {
namespace {

using Outcome = ServiceOutcome;

// Answers as scripted and records what was asked.
struct ScriptedQueries : CouplerInfoQueries {
    std::string firmware = "Firmware: 0x0B02\r\n\r\n";
    Outcome outcome = Outcome::Ok;
    int32_t value = 12;
    std::string asked;
    std::string firmwareText() override {
        asked += "F";
        return firmware;
    }
    ServiceAnswer answer(int32_t& out) {
        if (outcome == Outcome::Ok) out = value;
        return {outcome, outcome == Outcome::Failed ? 2 : 0};
    }
    ServiceAnswer stationNumber(int32_t& number) override {
        asked += "S";
        return answer(number);
    }
    ServiceAnswer dipSwitchValue(int32_t& dip) override {
        asked += "D";
        return answer(dip);
    }
    std::string baudrateText(int32_t index) override {
        asked += "B" + std::to_string(index);
        return "500";
    }
};

TEST(RailCellTexts, TerminalTypesSplitIntoTwoLines) {
    EXPECT_EQ(fTerminalTypeText("QT1002-0000"), "QT1002\r\n0000");
    EXPECT_EQ(fTerminalTypeText("QT1"), "QT1\r\nQT1");
    EXPECT_EQ(fTerminalTypeText(""), "\r\n");
}

TEST(RailCellTexts, OnlineLinesOnlyInTheMakersEditionOnline) {
    EXPECT_TRUE(fCouplerInfoShown("Harvenor", true));
    EXPECT_FALSE(fCouplerInfoShown("Harvenor", false));
    EXPECT_FALSE(fCouplerInfoShown("harvenor", true));
    EXPECT_FALSE(fCouplerInfoShown("Other", true));
}

TEST(RailCellTexts, CouplerLinesByTypePrefixAndAnswer) {
    const std::string firmware = "Firmware: 0x0B02\r\n\r\n\r\n";
    struct Case {
        std::string type;
        Outcome outcome;
        int32_t value;
        std::string text;
        std::string asked;
    };
    const Case cases[] = {
        {"QZ3100-0000", Outcome::Ok, 12, firmware + "StationNr: 12\r\n", "FS"},
        {"QY3100-0000", Outcome::NoValue, 0, firmware, "FS"},
        {"QZ8000-0000", Outcome::Failed, 0, firmware, "FS"},
        {"QZ5200-0000", Outcome::Ok, 12, firmware, "F"},
        {"QL5200-0000", Outcome::Ok, 12, firmware, "F"},
        {"QZ2000-0000", Outcome::Ok, 12, firmware, "F"},
        {"QZ5100-0000", Outcome::Ok, 65535, firmware + "Station/Baudrate: N/A\r\n", "FD"},
        // DIP 1, 3 and 7 on: station 5, baud-rate setting 1.
        {"QZ5100-0000", Outcome::Ok, 0x45,
         firmware + "Dip:    10100010  ( 69)\r\nStation :    5\r\nBaudrate:    1\r\n  500", "FDB1"},
        {"QZ5110-0000", Outcome::Ok, 0xC0,
         firmware + "Dip:    00000011  ( 192)\r\nStation :    0\r\nBaudrate:    3\r\n  500",
         "FDB3"},
        {"QZ5100-0000", Outcome::NoValue, 0, firmware, "FD"},
        {"QZ5100-0000", Outcome::Failed, 0, firmware, "FD"},
    };
    for (const Case& c : cases) {
        ScriptedQueries q;
        q.outcome = c.outcome;
        q.value = c.value;
        EXPECT_EQ(fCouplerInfoText(c.type, q), c.text) << c.type << " " << c.value;
        EXPECT_EQ(q.asked, c.asked) << c.type;
    }
    ScriptedQueries unread;
    unread.firmware = "Firmware: 0x????\r\n\r\n";
    EXPECT_EQ(fCouplerInfoText("QZ5200-0000", unread), "Firmware: 0x????\r\n\r\n\r\n");
}

TEST(RailCellTexts, PicturesResolveWithFallbacksAndNeverToAFolder) {
    test::TempDir resources;
    const auto graph = resources / "Graph";
    test::writeFile(graph / "QT1002-0000.png", "x");
    test::writeFile(graph / "qtdummy.PNG", "x");
    test::writeFile(graph / "Sub" / "inner.png", "x");
    test::writeFile(graph / "QZ3100-0000.svg", "x");
    auto file = [&](const std::string& name, DeviceKind kind) {
        auto found = fPictureFile(resources.path(), name, kind);
        return found ? found->lexically_relative(graph).string() : "<placeholder>";
    };
    const auto T = DeviceKind::Terminal;
    const auto C = DeviceKind::Coupler;
    EXPECT_EQ(file("qt1002-0000.PNG", T), "QT1002-0000.png");
    EXPECT_EQ(file("QT1002-0000.wmf", T), "QT1002-0000.png");
    EXPECT_EQ(file("QZ3100-0000.WMF", C), "QZ3100-0000.svg");
    EXPECT_EQ(file("QT9999-0000.wmf", T), "qtdummy.PNG");
    EXPECT_EQ(file("", T), "qtdummy.PNG");
    EXPECT_EQ(file("  ", T), "qtdummy.PNG");
    EXPECT_EQ(file("Sub", T), "qtdummy.PNG");
    EXPECT_EQ(file("", C), "<placeholder>");
}

TEST(RailCellTexts, TheCurrentCheckNamesTheFirstShortPositionInGerman) {
    EXPECT_EQ(fKBusShortPosition(1750, {-500, -500, -500, -200, -100, -900}), 5);
    EXPECT_EQ(fKBusShortPosition(1750, {-500, 2000, -4000}), 3);
    EXPECT_EQ(fKBusShortPosition(1750, {-500, -500}), std::nullopt);
    EXPECT_EQ(fKBusShortPosition(0, {}), std::nullopt);
    EXPECT_EQ(fKBusShortPosition(-1, {}), std::nullopt);  // only terminals are counted
    // Damaged figures beyond 32 bits count as they stand.
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(fKBusShortPosition(kMax, {kMax, kMin, kMin, kMin}), 3);
    EXPECT_EQ(fKBusShortPosition(kMax, {kMax, kMax}), std::nullopt);
    const std::string german =
        "Zu große Stromaufnahme vom KBus !\r\n\r\nPosition: 5\r\n\r\n"
        "Bitte eine QT9400-0000 einfügen !";
    EXPECT_EQ(fKBusWarningText(5), german);
    EXPECT_FALSE(LoadResString(kEnglishBase + 180).empty());
}

}  // namespace
}  // namespace varnak
