// The mapping core on rails of shipped and synthetic descriptions: the entry words, the
// list's place in tables 10-23 / 50-63, the terminal list, the recalculation, the limits and
// damaged terminal texts.
#include <gtest/gtest.h>

#include "mapping/mapping_address.h"
#include "mapping/mapping_routines.h"
#include "mapping/terminal_list.h"
#include "model/device_register_model.h"
#include "platform/ini_file.h"
#include "tests/mapping/mapping_fixture.h"

namespace varnak::test {
namespace {

using Dir = MappingDirection;
using Kind = MappingProblem::Kind;

TEST(MappingAddress, StoredTextsReadStrictly) {
    const std::vector<std::pair<const char*, std::optional<ImageAddress>>> table{
        {"12.3", ImageAddress{12, 3}},
        {"012.3", ImageAddress{12, 3}},
        {"20", ImageAddress{20, 0}},
        {" 511.7 ", ImageAddress{511, 7}},
        {"0", ImageAddress{0, 0}},
        {"12.9", std::nullopt},
        {"12.35", std::nullopt},
        {"12.", std::nullopt},
        {".5", std::nullopt},
        {"512", std::nullopt},
        {"-1", std::nullopt},
        {"1e2", std::nullopt},
        {"", std::nullopt},
        {"99999999999999", std::nullopt},
        {"12.3x", std::nullopt}};
    for (const auto& [text, address] : table) EXPECT_EQ(fSplitImageAddress(text), address) << text;
}

TEST(MappingTypeNumber, DigitsAfterThePrefix) {
    const std::vector<std::pair<const char*, int32_t>> table{
        {"QZ3100-0000", 3100}, {"QT3002-0000", 3002}, {"QT3102-0016", 3102},
        {"QP2008-B310", 2008}, {"QI2301-B310", 2301}, {"JRV-842_000-000", 842},
        {"QT9010", 9010},      {"Unknown", 0},        {"", 0}};
    for (const auto& [name, number] : table) EXPECT_EQ(mappingTypeNumber(name), number) << name;
}

class MappingTables : public MappingFixture {};

TEST_F(MappingTables, GridStoreGivesTheEntryWordsAndTheTerminalList) {
    auto rail = makeRail("QZ3100-0000", {"QT1002-0000", "QT3002-0000", "QT9010-0000"});
    const RailMappingLayout layout = layoutOf(*rail);
    std::vector<MappingTextFault> faults;
    MappingGrid in = fFillImageGrid(layout, Dir::Input, faults);
    MappingGrid out = fFillImageGrid(layout, Dir::Output, faults);
    EXPECT_TRUE(faults.empty());
    ASSERT_EQ(in.rows.size(), 4u);  // two channels each; the end terminal has none
    EXPECT_EQ(in.rows[0][kMappingColumnNr], "1");
    EXPECT_EQ(in.rows[0][kMappingColumnType], "QT1002-0000");
    EXPECT_EQ(in.rows[1][kMappingColumnNr], "");
    EXPECT_EQ(in.flags(0).dtype, kDTypeBit);
    EXPECT_EQ(in.flags(2).dtype, kDTypeByte);
    EXPECT_EQ(in.flags(2).mapData, 3);
    EXPECT_TRUE(out.flags(0).hidden);  // the digital inputs have no outputs
    EXPECT_EQ(out.rows[0][kMappingColumnRef0], "511.7");
    EXPECT_EQ(in.rows[2][kMappingColumnCS], "511");

    in.setCell(0, kMappingColumnImage, "1");
    in.setCell(0, kMappingColumnRef0, "12.3");
    in.setCell(2, kMappingColumnImage, "2");
    for (int k = 0; k < 3; ++k) in.setCell(2, kMappingColumnCS + k, std::to_string(20 + k));
    in.setCell(3, kMappingColumnCS, "12.3");  // a bit part in a byte entry: kept as text only
    ASSERT_EQ(fStoreImageGrid(*rail, layout, Dir::Input, in), std::nullopt);
    ASSERT_EQ(fStoreImageGrid(*rail, layout, Dir::Output, out), std::nullopt);
    EXPECT_TRUE(fStoreTerminalList(*rail, layout, false).empty());

    const std::vector<int32_t> inputs{0x260C, 0x0FFF, 0x5014, 0x5015, 0x5016,
                                      0x100C, 0x11FF, 0x11FF, 0xFFFF};
    const std::vector<int32_t> outputs{0x0FFF, 0x0FFF, 0x11FF, 0x11FF, 0x11FF,
                                       0x11FF, 0x11FF, 0x11FF, 0xFFFF};
    for (size_t i = 0; i < inputs.size(); ++i) {
        EXPECT_EQ(reg(*rail, 10, static_cast<int32_t>(i)), inputs[i]) << i;
        EXPECT_EQ(reg(*rail, 50, static_cast<int32_t>(i)), outputs[i]) << i;
    }
    EXPECT_EQ(reg(*rail, 8, 0), 3100);
    EXPECT_EQ(reg(*rail, 8, 1), 0x8201);  // 2 bits, inputs
    EXPECT_EQ(reg(*rail, 8, 2), 3002);    // the type number, not the suffix's 0
    EXPECT_EQ(reg(*rail, 8, 3), 0xFFFF);  // the end terminal is not listed
    auto digital = rail->clsColTerminals()->ItemPos(1);
    EXPECT_EQ(digital->ConfMappInputImage(0, 0), "12.3");
    EXPECT_EQ(digital->ConfInputDestProcImage(0), "1");
    EXPECT_EQ(rail->clsColTerminals()->ItemPos(2)->ConfMappInputImage(1, 0), "12.3");
    EXPECT_EQ(mappingTablesToSend(*rail, Dir::Input), std::vector<int32_t>{10});
}

TEST_F(MappingTables, ListIndexesAndTheBoundaryOfATable) {
    auto rail = makeRail("QZ3100-0000", {});
    MappingList list;
    for (int32_t i = 0; i < 3569; ++i) list[i] = i;
    list[3569] = kMappingListEnd;
    writeMappingList(*rail, Dir::Output, list, 3569);
    EXPECT_EQ(reg(*rail, 50, 254), 254);
    EXPECT_EQ(reg(*rail, 51, 0), 255);
    EXPECT_EQ(reg(*rail, 50, 255), 255);  // the copy
    EXPECT_EQ(reg(*rail, 63, 253), 3568);
    EXPECT_EQ(reg(*rail, 63, 254), 0xFFFF);
    EXPECT_EQ(mappingTablesToSend(*rail, Dir::Output).size(), 14u);
    const MappingList back = readMappingList(*rail, Dir::Output, false).list;
    for (int32_t i : {0, 254, 255, 509, 510, 3568, 3569}) EXPECT_EQ(back[i], list[i]) << i;

    // A list of exactly 255 entries: its end in the copy register and in the real slot, so
    // that a stale register 0 of table 11 never reads as an entry, and table 11 is sent.
    rail->clsColTables()->Item(11)->setConfRegisterValue(0, 0x1234);
    MappingList full;
    full[255] = kMappingListEnd;
    writeMappingList(*rail, Dir::Input, full, 255);
    EXPECT_EQ(reg(*rail, 10, 255), 0xFFFF);
    EXPECT_EQ(reg(*rail, 11, 0), 0xFFFF);
    EXPECT_EQ(mappingTablesToSend(*rail, Dir::Input), (std::vector<int32_t>{10, 11}));
    MappingList shorter;
    shorter[254] = kMappingListEnd;
    writeMappingList(*rail, Dir::Input, shorter, 254);
    EXPECT_EQ(mappingTablesToSend(*rail, Dir::Input), std::vector<int32_t>{10});
}

TEST_F(MappingTables, RailWithoutTerminals) {
    auto rail = makeRail("QZ3100-0000", {});
    rail->clsColTables()->Item(10)->setConfRegisterValue(1, 0x4711);
    const RailMappingLayout layout = layoutOf(*rail);
    std::vector<MappingTextFault> faults;
    for (Dir d : {Dir::Input, Dir::Output}) {
        MappingGrid grid = fFillImageGrid(layout, d, faults);
        EXPECT_TRUE(grid.rows.empty());
        ASSERT_EQ(fStoreImageGrid(*rail, layout, d, grid), std::nullopt);
    }
    EXPECT_TRUE(fStoreTerminalList(*rail, layout, false).empty());
    EXPECT_EQ(reg(*rail, 10, 0), 0xFFFF);
    EXPECT_EQ(reg(*rail, 50, 0), 0xFFFF);
    EXPECT_EQ(reg(*rail, 10, 1), 0x4711);  // after the end mark nothing is written
    EXPECT_EQ(reg(*rail, 8, 0), 3100);
    EXPECT_EQ(reg(*rail, 8, 1), 0xFFFF);
    EXPECT_TRUE(rail->clsColTables()->Item(10)->bInitDone());
}

TEST_F(MappingTables, TheTerminalListLeavesOutOnlyAnEndTerminalOrABoxModulesLastElement) {
    struct Row {
        const char* coupler;
        std::vector<std::string> terminals;
        std::vector<int32_t> list;  // registers 0 ..
    };
    const std::vector<Row> table{
        {"QZ3100-0000", {"QT3002-0000", "QT9010-0000"}, {3100, 3002, 0xFFFF}},
        {"QZ3100-0000", {"QT1002-0000", "QT3002-0000"}, {3100, 0x8201, 3002, 0xFFFF}},
        {"QZ3100-0000", {"QT9010-0000"}, {3100, 0xFFFF}},
        {"QP2008-B310", {"QP2008-Bxx0", "QT1002-0000"}, {2008, 0x8803, 0xFFFF}},
        {"QI2301-B310", {"QT1002-0000", "QT3002-0000"}, {2301, 0x8201, 0xFFFF}},
    };
    for (const Row& row : table) {
        auto rail = makeRail(row.coupler, row.terminals);
        EXPECT_TRUE(fStoreTerminalList(*rail, layoutOf(*rail), false).empty());
        for (size_t r = 0; r < row.list.size(); ++r)
            EXPECT_EQ(reg(*rail, 8, static_cast<int32_t>(r)), row.list[r])
                << row.coupler << " " << row.terminals.back() << " register " << r;
    }
}

TEST_F(MappingTables, ATerminalWithoutTypeNumberTakesOnlyAWordTheStationListsATerminalWith) {
    // A description of its own whose name carries no type number.
    writeFile(resources() / "Terminal" / "QTANALOG-0000.INI",
              "[Common]\nName=QTANALOG-0000\n\n[RegValue_Table0]\nReg10=0x0110\n"
              "Reg11=0x0110\nReg12=0x1010\n");
    ini::dropCache();
    auto rail = makeRail("QZ3100-0000", {"QT3002-0000", "QTANALOG-0000", "QT9010-0000"});
    const RailMappingLayout layout = layoutOf(*rail);
    EXPECT_TRUE(layout.undescribedPositions().empty());
    EXPECT_EQ(fTerminalListWord(layout.terminals[1]), std::nullopt);
    auto list = rail->clsColTables()->Item(8);
    list->setConfRegisterValue(2, 0x4712);
    list->setValueChanged(false);
    for (int32_t word : {0, 0xFFFF}) {
        rail->clsColTables()->Item(9)->setConfRegisterValue(2, word);
        EXPECT_EQ(fStoreTerminalList(*rail, layout, true), std::vector<int32_t>{2}) << word;
    }
    EXPECT_EQ(reg(*rail, 8, 2), 0x4712);
    EXPECT_FALSE(list->ValueChanged());
    rail->clsColTables()->Item(9)->setConfRegisterValue(2, 4711);
    EXPECT_TRUE(fStoreTerminalList(*rail, layout, true).empty());
    EXPECT_EQ(reg(*rail, 8, 2), 4711);
    EXPECT_NE(terminalListKeptMessage({2, 5}).find(": 2, 5."), std::string::npos);
}

// A variant without a description of its own is loaded as the unknown terminal, whose
// channels are a guess: the station's QT3102-0016 has two channels, the fallback one.
TEST_F(MappingTables, AnUndescribedTerminalTakesNoMappingAndShowsNoAddressFromTheLists) {
    auto rail = makeRail("QZ3100-0000", {"QT3002-0000", "QT3102-0016", "QT1002-0000"});
    const RailMappingLayout layout = layoutOf(*rail);
    EXPECT_EQ(layout.undescribedPositions(), std::vector<int32_t>{2});
    EXPECT_EQ(undescribedPositions(*rail), std::vector<int32_t>{2});
    for (int32_t t : {8, 10, 50}) {
        rail->clsColTables()->Item(t)->setConfRegisterValue(1, 0x4711);
        rail->clsColTables()->Item(t)->setValueChanged(false);
    }
    rail->clsColTables()->Item(9)->setConfRegisterValue(2, 3102);  // even the station's word
    auto described = rail->clsColTerminals()->ItemPos(1);
    auto undescribed = rail->clsColTerminals()->ItemPos(2);
    auto digital = rail->clsColTerminals()->ItemPos(3);
    digital->setConfMappInputImage(0, 0, "12.3");  // as an earlier version kept it
    std::vector<MappingTextFault> faults;
    MappingGrid in = fFillImageGrid(layout, Dir::Input, faults);
    in.setCell(0, kMappingColumnCS, "7");   // the described terminal's first byte
    in.setCell(2, kMappingColumnCS, "40");  // the undescribed terminal's first byte
    in.setCell(3, kMappingColumnRef0, "13.1");
    // Neither texts nor lists: one store writes both, and a guessed layout neither.
    EXPECT_EQ(fStoreImageGrid(*rail, layout, Dir::Input, in),
              (MappingProblem{.kind = MappingProblem::Kind::Undescribed, .position = 2}));
    EXPECT_EQ(fStoreTerminalList(*rail, layout, true), std::vector<int32_t>{2});
    for (int32_t t : {8, 10, 50}) {
        EXPECT_EQ(reg(*rail, t, 1), 0x4711) << t;
        EXPECT_FALSE(rail->clsColTables()->Item(t)->ValueChanged()) << t;
    }
    EXPECT_EQ(described->ConfMappInputImage(0, 0), "511");
    EXPECT_EQ(undescribed->ConfMappInputImage(0, 0), "511");
    EXPECT_EQ(digital->ConfMappInputImage(0, 0), "12.3");
    EXPECT_NE(undescribedRefusedMessage({2, 3}).find(": 2, 3."), std::string::npos);

    // Without the fallback description the terminal stays empty: undescribed all the same.
    std::filesystem::remove(resources() / "Terminal" / "Unknown.INI");
    ini::dropCache();
    auto empty = makeRail("QZ3100-0000", {"QT3102-0016"});
    EXPECT_EQ(layoutOf(*empty).undescribedPositions(), std::vector<int32_t>{1});

    // The device's list is decoded up to the undescribed terminal; from there on no
    // address shows, whatever the terminals held.
    goOnline(rail);
    auto& table = device.registers(0, 10);
    for (int i = 0; i < 9; ++i) table[i] = 0x1000 | i;
    table[9] = 0xFFFF;
    ASSERT_EQ(fReCalcProgrammedConfigurationInputImage(), std::nullopt);
    EXPECT_EQ(described->ConfMappInputImage(1, 2), "5");
    EXPECT_EQ(undescribed->ConfMappInputImage(0, 0), "511");
    EXPECT_EQ(digital->ConfMappInputImage(0, 0), "511.7");
}

TEST_F(MappingTables, AFullTerminalListFillsTable8WithoutEndMark) {
    auto rail = makeRail("QZ3100-0000", std::vector<std::string>(64, "QT1002-0000"));
    auto list = rail->clsColTables()->Item(8);
    list->setConfRegisterValue(64, 0xFFFF);  // a shorter list's end mark
    const RailMappingLayout layout = layoutOf(*rail);
    EXPECT_EQ(layout.listed, 64);
    EXPECT_TRUE(fStoreTerminalList(*rail, layout, false).empty());
    EXPECT_EQ(list->TableLen(), 64);
    EXPECT_EQ(reg(*rail, 8, 64), 0x8201);
    EXPECT_EQ(storedTerminalList(*list), std::vector<int32_t>(64, 0x8201));

    // Read back: up to the end mark, or all of a full list; zeros are no list.
    using Words = std::vector<int32_t>;
    struct Row {
        const char* what;
        std::vector<std::pair<int32_t, int32_t>> registers;  // set over the full list
        std::optional<Words> list;
    };
    Words first(63, 0x8201);
    first.push_back(3002);
    const std::vector<Row> table{
        {"full", {{64, 3002}}, first},
        {"end mark at 64", {{64, 0xFFFF}}, Words(63, 0x8201)},
        {"end mark at 1", {{1, 0xFFFF}}, Words{}},
        {"a zero word ahead of the end", {{2, 0}, {3, 0xFFFF}}, Words{0x8201, 0}},
        {"a zero word, no end", {{2, 0}}, std::nullopt},
    };
    for (const Row& row : table) {
        for (int32_t r = 1; r <= 64; ++r) list->setConfRegisterValue(r, 0x8201);
        for (const auto& [r, value] : row.registers) list->setConfRegisterValue(r, value);
        EXPECT_EQ(storedTerminalList(*list), row.list) << row.what;
    }
    list->setTableLen(0);
    EXPECT_EQ(storedTerminalList(*list), std::nullopt);
}

TEST_F(MappingTables, SerialInterfaceTakesItsDataBytesAndTheControlByteInEveryRoutine) {
    auto rail = makeRail("QZ3100-0000", {"QT6001-0000"});
    auto serial = rail->clsColTerminals()->ItemPos(1);
    device.registers(1, 0)[35] = 3;
    goOnline(rail);
    const RailMappingLayout layout = layoutOf(*rail, true);
    // Online its registers 35 and 36 come from the device first.
    ASSERT_FALSE(device.calls.empty());
    EXPECT_EQ(device.calls[0].railPosition, 1);
    EXPECT_EQ(device.calls[0].firstRegister, 35);
    EXPECT_EQ(device.calls[0].count, 2);
    ASSERT_EQ(layout.terminals.size(), 1u);
    EXPECT_EQ(layout.terminals[0].entries, 4);
    std::vector<MappingTextFault> faults;
    MappingGrid grid = fFillImageGrid(layout, Dir::Input, faults);
    EXPECT_EQ(grid.flags(0).mapData, 4);
    for (int k = 0; k < 4; ++k) grid.setCell(0, kMappingColumnCS + k, std::to_string(k));
    grid.setCell(0, kMappingColumnImage, "3");
    ASSERT_EQ(fStoreImageGrid(*rail, layout, Dir::Input, grid), std::nullopt);
    EXPECT_EQ(reg(*rail, 10, 3), 0x7003);
    EXPECT_EQ(reg(*rail, 10, 4), 0xFFFF);

    // The device's list comes back into the terminal's four texts.
    for (int r = 0; r < 4; ++r) device.registers(0, 10)[r] = 0x5000 | (40 + r);
    device.registers(0, 10)[4] = 0xFFFF;
    device.calls.clear();
    ASSERT_EQ(fReCalcProgrammedConfigurationInputImage(), std::nullopt);
    EXPECT_EQ(device.calls.size(), 2u);  // registers 35-36, then table 10 only
    for (int k = 0; k < 4; ++k) EXPECT_EQ(serial->ConfMappInputImage(0, k), std::to_string(40 + k));
    EXPECT_EQ(serial->ConfMappInputImage(0, 4), "511");  // not one of the channel's entries
    EXPECT_EQ(serial->ConfInputDestProcImage(0), "2");

    // Six data bytes do not fit the terminal's texts.
    device.registers(1, 0)[35] = 6;
    RailMappingLayout refused;
    EXPECT_EQ(railMappingLayout(*rail, true, refused),
              (MappingProblem{Kind::SerialDataBytes, 1, 6, 0}));
}

TEST_F(MappingTables, RecalculationDecodesBytesAndStopsAtTheEndMark) {
    auto rail = makeRail("QZ3100-0000", {"QT3002-0000", "QT1002-0000", "QT4002-0000"});
    goOnline(rail);
    auto& table = device.registers(0, 10);
    const int32_t words[] = {0x5014, 0x1015, 0x1016, 0x2017, 0x3018, 0x3019, 0x0605, 0xFFFF};
    for (int i = 0; i < 8; ++i) table[i] = words[i];
    ASSERT_EQ(fReCalcProgrammedConfigurationInputImage(), std::nullopt);
    auto analog = rail->clsColTerminals()->ItemPos(1);
    EXPECT_EQ(analog->ConfMappInputImage(0, 0), "20");  // a 24-bit channel with data, not "511"
    EXPECT_EQ(analog->ConfInputDestProcImage(0), "0");  // the channel's last entry decides
    EXPECT_EQ(analog->ConfMappInputImage(1, 2), "25");
    EXPECT_EQ(analog->ConfInputDestProcImage(1), "1");
    auto digital = rail->clsColTerminals()->ItemPos(2);
    EXPECT_EQ(digital->ConfMappInputImage(0, 0), "5.3");
    // From the end mark on: unmapped, image 0, never the mark's 511.7 in image 3.
    EXPECT_EQ(digital->ConfMappInputImage(1, 0), "511.7");
    EXPECT_EQ(digital->ConfInputDestProcImage(1), "0");
    auto outputs = rail->clsColTerminals()->ItemPos(3);
    EXPECT_EQ(outputs->ConfMappInputImage(0, 0), "511");
}

TEST_F(MappingTables, LimitsAreCheckedBeforeAnythingIsTouched) {
    // 64 listed terminals fill table 8.
    std::vector<std::string> fits(63, "QT8914-0000");
    fits.push_back("QT8941-0000");
    auto rail = makeRail("QZ3100-0000", fits);
    RailMappingLayout layout;
    ASSERT_EQ(railMappingLayout(*rail, false, layout), std::nullopt);
    EXPECT_EQ(layout.entryCount(), 3569);
    std::vector<MappingTextFault> faults;
    ASSERT_EQ(
        fStoreImageGrid(*rail, layout, Dir::Input, fFillImageGrid(layout, Dir::Input, faults)),
        std::nullopt);
    EXPECT_EQ(reg(*rail, 23, 254), 0xFFFF);

    // A serial interface whose edited description gives its channel 7 bits: an entry per
    // bit would overrun the terminal's six texts.
    ASSERT_TRUE(
        ini::WritePrivateProfileString("RegValue_Table0", "Reg11", "0x0107",
                                       (resources() / "Terminal" / "QT6011-0000.INI").string()));
    ASSERT_TRUE(ini::flush());
    ini::dropCache();

    std::vector<std::string> over(63, "QT8914-0000");
    over.push_back("QT8942-0000");
    std::vector<std::string> full(63, "QT1002-0000");
    full.push_back("QT9010-0000");
    struct Row {
        const char* coupler;
        std::vector<std::string> terminals;
        MappingRefusal problem;
    };
    const std::vector<Row> table{
        {"QP2008-B310", over, MappingProblem{Kind::TooManyEntries, 0, 3570, 3569}},
        {"QZ3100-0000",
         {"QT1002-0000", "QT8915-0000"},
         MappingProblem{Kind::TooManyChannelEntries, 2, 15, 14}},
        {"QZ3100-0000",
         {"QT8916-0000", "QT9010-0000"},
         MappingProblem{Kind::TerminalListBits, 1, 128, 127}},
        // Without an end terminal the last one is listed like the others.
        {"QZ3100-0000",
         {"QT1002-0000", "QT8916-0000"},
         MappingProblem{Kind::TerminalListBits, 2, 128, 127}},
        {"QP2008-B310", {"QT1002-0000", "QT8916-0000"}, std::nullopt},
        {"QZ3100-0000",
         {"QT3002-0000", "QT6011-0000"},
         MappingProblem{Kind::SerialChannelBits, 2, 7, 8}},
        {"QZ3100-0000", full, std::nullopt},
        {"QZ3100-0000", std::vector<std::string>(64, "QT1002-0000"), std::nullopt},
        {"QZ3100-0000", std::vector<std::string>(65, "QT1002-0000"),
         MappingProblem{Kind::TooManyTerminals, 0, 65, 64}},
    };
    for (const Row& row : table) {
        auto checked = makeRail(row.coupler, row.terminals);
        EXPECT_EQ(railMappingLayout(*checked, false, layout), row.problem)
            << row.coupler << " " << row.terminals.size() << " " << row.terminals.back();
        EXPECT_EQ(layout.terminals.empty(), row.problem.has_value());
        if (row.problem) {
            EXPECT_FALSE(mappingProblemText(*row.problem).empty());
        }
    }

    dropCouplerTable(resources(), "QZ3100-0000", 55);
    auto lacking = makeRail("QZ3100-0000", {"QT6001-0000"});
    goOnline(lacking);
    device.calls.clear();
    EXPECT_EQ(fReCalcProgrammedConfigurationOutputImage(),
              (MappingProblem{Kind::MissingTable, 0, 55, 0}));
    EXPECT_TRUE(device.calls.empty());  // refused before any read
}

TEST_F(MappingTables, DamagedTerminalTextsShowUnmappedAndAreNamed) {
    auto rail = makeRail("QZ3100-0000", {"QT1002-0000", "QT3002-0000"});
    auto digital = rail->clsColTerminals()->ItemPos(1);
    auto analog = rail->clsColTerminals()->ItemPos(2);
    digital->setConfMappInputImage(0, 0, "12.9");
    digital->setConfInputDestProcImage(1, "x");
    analog->setConfMappInputImage(1, 2, "600");
    std::vector<MappingTextFault> faults;
    const MappingGrid grid = fFillImageGrid(layoutOf(*rail), Dir::Input, faults);
    EXPECT_EQ(faults, (std::vector<MappingTextFault>{{Dir::Input, 1, 0, 0, "12.9"},
                                                     {Dir::Input, 1, 1, -1, "x"},
                                                     {Dir::Input, 2, 1, 2, "600"}}));
    EXPECT_EQ(grid.rows[0][kMappingColumnRef0], "511.7");
    EXPECT_EQ(grid.rows[1][kMappingColumnImage], "0");
    EXPECT_EQ(grid.rows[3][kMappingColumnCS + 2], "511");
    EXPECT_EQ(digital->ConfMappInputImage(0, 0), "12.9");  // nothing written before OK
    const std::string message = mappingTextFaultsMessage(faults);
    EXPECT_NE(message.find("\"12.9\""), std::string::npos);
    EXPECT_NE(message.find("\"600\""), std::string::npos);
}

}  // namespace
}  // namespace varnak::test
