// The four reports' text against golden files in both languages, the piece list's
// counting, the changed-register comparison and the mapping rows.
#include "app/report_text.h"

#include <gtest/gtest.h>

#include "app/report_columns.h"
#include "mapping/mapping_grid.h"
#include "platform/unexamined_result.h"
#include "tests/app/report_fixture.h"
#include "tests/support/wire_log.h"

namespace varnak::test {
namespace {

constexpr const char* kWhen = "09.12.2026 06:00";

MappingTables fabricatedMapping() {
    MappingTables m;
    m.input = {{"1", "", "", "", "QT1002-0000", "0", "0.0", "511.7", "a", "b", "c", "d"},
               {"", "", "", "", "", "1", "0.1", "511.7", "", "", "", ""},
               {"2", "", "", "", "QT3002-0000", "0", "2", "511", "x", "", "", "y"},
               {"", "", "", "", "", "", "", "", "", "", "", ""},
               {"9", "", "", "", "never written", "", "", "", "", "", "", ""}};
    m.output = {{"3", "", "", "", "QT4002-0000", "0", "4", "6", "", "", "", ""}};
    return m;
}

class Reports : public ::testing::Test, public ReportFixture {};

TEST_F(Reports, GoldenInBothLanguages) {
    const std::pair<const char*, int> languages[] = {{"de", 0}, {"en", 1}};
    for (const auto& [tag, language] : languages) {
        SCOPED_TRACE(tag);
        buildRail(language);
        const std::pair<int32_t, const char*> rows[] = {{kReportRailConfiguration, "TermByPos"},
                                                        {kReportPieceList, "TermByTyp"},
                                                        {kReportChangedRegisters, "DeltaRegister"},
                                                        {kReportMapping, "MappByPos"}};
        for (const auto& [row, name] : rows) {
            SCOPED_TRACE(name);
            std::string text = fReportText(row, *rail(), kWhen, fabricatedMapping());
            EXPECT_TRUE(matchesGolden(text, testSourcePath("app/report_golden") /
                                                (std::string(tag) + "_" + name + ".txt")));
        }
        ASSERT_EQ(project->fDeleteProject(projectFolder("Plant").string()), kStoreOk);
    }
}

TEST_F(Reports, ARailWithoutTerminalsGivesTheCouplerLineOnly) {
    context().LanguageNr = 1;
    context().LanguageBase = 2000;
    ASSERT_EQ(newProject("Plant"), kStoreOk);
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, "Empty"), kStoreOk);
    const std::string head = "Harvenor Varnak   Varnak\r\n\r\nnow\r\n\r\n\r\n";
    // A new rail has no comment yet.
    const std::string block = "\r\n\r\n\r\nStation: \tEmpty\r\n         \t\r\n\r\n";
    const std::string coupler = "QZ3100-0000\tBus coupler test series\r\n";
    EXPECT_EQ(fReportText(kReportRailConfiguration, *rail(), "now"),
              head + "Configuration of rail" + block + "Pos: \t0\t" + coupler + "\r\n\r\n\r\n\r\n");
    EXPECT_EQ(fReportText(kReportPieceList, *rail(), "now"),
              head + "Piece list" + block + "\t1\tTyp: \t" + coupler + "\r\n\r\n\r\n\r\n");

    // The rail read from a station is built from its description: no name, no comment.
    auto online = std::make_shared<clsCoupler>();
    ignoreLoadResult(
        online->ConfRetrieveData((resources() / "Coupler" / "QZ3100-0000.INI").string()));
    EXPECT_NE(fReportText(kReportRailConfiguration, *online, "now")
                  .find("\r\n\r\n\r\nStation: \t\r\n         \t\r\n\r\nPos: \t0\t"),
              std::string::npos);
}

TEST_F(Reports, ReferenceTablesMissingInTheDescriptionCompareAgainstZero) {
    ASSERT_EQ(newProject("Plant"), kStoreOk);
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, "Line1"), kStoreOk);
    ASSERT_EQ(rail()->clsColTables()->Item(100)->ConfRegisterValue(0), 0x1234);
    // The description is gone: the reference is the unknown coupler, without table 100.
    std::filesystem::remove(resources() / "Coupler" / "QZ3100-0000.INI");
    std::string text = fReportText(kReportChangedRegisters, *rail(), "now");
    EXPECT_NE(text.find("\t\tTable: 101\r\n\t\t\t\tOffset: 0\t\t0x1234\t[0x0000]\r\n"
                        "\t\t\t\tOffset: 5\t\t0x0005\t[0x0000]\r\n"),
              std::string::npos)
        << text;
}

TEST_F(Reports, MappingRowsRunPastTheColumnCountToTheFirstEmptyRowWithEveryAddress) {
    buildRail(0);
    MappingTables m;
    for (int r = 0; r < 30; ++r)
        m.input.push_back(std::vector<std::string>(kMappingColumnCount, std::to_string(r)));
    // A channel's addresses fill the grid's columns up to the last: every one is printed.
    m.input[3] = {"4", "", "8", "6", "QT6001-0000", "1", "0", "010"};
    for (int k = 0; k <= kMappingColumnLast - kMappingColumnRef0; ++k)
        m.input[3].push_back("0" + std::to_string(11 + k));
    std::string text = fReportText(kReportMapping, *rail(), "now", m);
    std::string all = "\r\n29\t29\t29\t29\t29";
    for (int c = kMappingColumnRef0; c <= kMappingColumnLast; ++c) all += "\t29\t";
    EXPECT_NE(text.find(all + "\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\n\r\n4\tQT6001-0000\t1\t0\t010\t011\t\t012\t\t013\t\t014\t\t015\t\t"
                        "016\t\t017\t\t018\t\t019\t\t020\t\t021\t\t022\t\t023\t\r\n"),
              std::string::npos)
        << text;

    // A table without rows writes no row; the sections are still there.
    std::string empty = fReportText(kReportMapping, *rail(), "now", {});
    EXPECT_NE(empty.find("Eingangsabbild\r\n\r\n\r\nPos.\tType\tKanal\tAbbild\tC/S\tRef\r\n\r\n"
                         "\r\n\r\n\r\n\r\nKoppler-Adreßbelegung"),
              std::string::npos)
        << empty;
}

TEST(ReportColumns, StopsFollowTheWidestCellAndIgnoreLastCellsAndTitles) {
    EXPECT_EQ(reportColumnStops("Pos: \t0\tQT1002-0000\tlong description\r\n"
                                "Pos: \t12\tQT1\tx\r\n"
                                "A very long title that runs past its column\tImage\r\n"),
              (std::vector<int>{7, 11, 24}));
    EXPECT_EQ(reportColumnStops("\t\t\t\tDefault Setting\r\n"), (std::vector<int>{2, 4, 6, 8}));
    EXPECT_TRUE(reportColumnStops("no tabs\r\n").empty());
    // Characters, not bytes.
    EXPECT_EQ(reportColumnStops("Stück\tx"), (std::vector<int>{7}));
}

TEST(ReportColumns, CellsStandAtTheStopsAndTheWidestLineSetsTheSize) {
    const std::vector<int> stops = {7, 11, 24};
    const std::vector<ReportLine> lines = reportLines(
        "Pos: \t0\tQT1\r\n"
        "\t\t\t\n"                    // tabs only: nothing to show
        "A cell past two stops\tx\r"  // to the first stop right of its end
        "a\t\t\t\tz\r\n"              // past the last stop: the default tab
        "Stück\tü\r\n"                // characters, not bytes
        "last",
        stops);
    EXPECT_EQ(lines, (std::vector<ReportLine>{{{0, "Pos: "}, {7, "0"}, {11, "QT1"}},
                                              {},
                                              {{0, "A cell past two stops"}, {24, "x"}},
                                              {{0, "a"}, {26, "z"}},
                                              {{0, "Stück"}, {7, "ü"}},
                                              {{0, "last"}}}));
    EXPECT_EQ(reportLines("a\r\n", stops).size(), 1u);  // the last line end starts no line
    EXPECT_EQ(reportWidth(lines), 27);
    EXPECT_EQ(reportFitPoints(27, 400, 0.6), kReportFontPoints);
    EXPECT_DOUBLE_EQ(reportFitPoints(100, 300, 0.6), 5.0);
    EXPECT_EQ(reportFitPoints(0, 300, 0.6), kReportFontPoints);
}

}  // namespace
}  // namespace varnak::test
