#include "model/clsTerminal.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "platform/unexamined_result.h"
#include "tests/model/project_fixture.h"

namespace varnak::test {
namespace {

class TerminalTest : public ::testing::Test, public ProjectFixture {
  protected:
    std::shared_ptr<clsTerminal> fromDescription(const std::string& type) {
        auto t = std::make_shared<clsTerminal>();
        ignoreLoadResult(
            t->InfoRetrieveData((resources() / "Terminal" / (type + ".INI")).string()));
        return t;
    }
    std::string railDir() { return (parent() / "Rail.CF").string(); }
};

TEST(TerminalEntryCount, FollowsTheLogicalChannelSize) {
    EXPECT_EQ(clsTerminal::mappingEntryCount("QT1002-0000", 8), 8);
    EXPECT_EQ(clsTerminal::mappingEntryCount("QT1002-0000", 1), 1);
    EXPECT_EQ(clsTerminal::mappingEntryCount("QT3002-0000", 16), 2);
    EXPECT_EQ(clsTerminal::mappingEntryCount("QT3002-0000", 12), 2);  // 1.5 to even
    EXPECT_EQ(clsTerminal::mappingEntryCount("QT3002-0000", 20), 2);  // 2.5 to even
    EXPECT_EQ(clsTerminal::mappingEntryCount("QT3002-0000", 28), 4);  // 3.5 to even
    for (const char* serial : {"QT6001", "QT6011-0000", "QT6021-0001"})
        EXPECT_EQ(clsTerminal::mappingEntryCount(serial, 64), 6) << serial;
    EXPECT_EQ(clsTerminal::mappingEntryCount("QT6051-0000", 16), 2);
}

TEST_F(TerminalTest, DescriptionGivesLayoutRegisterModelAndUnmappedDefaults) {
    auto analog = fromDescription("QT3002-0000");
    EXPECT_EQ(analog->InfoName(), "QT3002-0000");
    EXPECT_EQ(analog->InfoDescription(), "Klemme QT3002-0000");
    EXPECT_EQ(analog->InfoCurrentKBus(), -60);
    EXPECT_EQ(analog->InfoNrLogSigChnl(), 2);
    EXPECT_EQ(analog->InfoSizeLogSigChnl(), 16);
    EXPECT_EQ(analog->InfoInputSizeSigChnl(), 16);
    EXPECT_TRUE(analog->InfoTermRegisterModell());
    EXPECT_EQ(analog->ConfMappInputImage(1, 1), "511");
    EXPECT_EQ(analog->ConfInputDestProcImage(0), "0");
    EXPECT_EQ(analog->clsColTables()->Count(), 2);
    // Every channel starts from the description's channel registers.
    for (int c = 0; c < 2; ++c) {
        auto t = analog->clsColTables()->Item(c);
        ASSERT_TRUE(t);
        EXPECT_EQ(t->TableNr(), c);
        EXPECT_EQ(t->TableLen(), 63);
        EXPECT_EQ(t->ConfRegisterValue(32), 5);
        EXPECT_EQ(t->ConfRegisterValue(63), 0xBEEF);
    }

    auto digital = fromDescription("QT1002-0000");
    EXPECT_FALSE(digital->InfoTermRegisterModell());
    EXPECT_EQ(digital->ConfMappInputImage(0, 0), "511.7");
    EXPECT_EQ(digital->clsColTables()->Count(), 0);
    EXPECT_THROW(digital->ConfMappInputImage(0, 1), std::out_of_range);
    EXPECT_THROW(digital->ConfMappInputImage(2, 0), std::out_of_range);
    EXPECT_THROW(digital->setConfOutputDestProcImage(-1, "1"), std::out_of_range);

    auto serial = fromDescription("QT6001-0000");
    EXPECT_EQ(serial->MappingEntryCount(), 6);
}

TEST_F(TerminalTest, LayoutRegisterTwelveSplitsIntoSizesAndFlags) {
    writeFile(resources() / "Terminal" / "QT5000-0000.INI",
              "[Common]\nName=QT5000-0000\n[RegValue_Table0]\nReg11=0x0110\nReg12=0x8010\n");
    auto t = fromDescription("QT5000-0000");
    EXPECT_EQ(t->InfoOutputTransCSB(), 1);
    EXPECT_EQ(t->InfoOutputSizeSigChnl(), 0);
    EXPECT_EQ(t->InfoInputSizeSigChnl(), 16);
    EXPECT_EQ(t->InfoInputTransCSB(), 0);
    EXPECT_TRUE(t->InfoTermRegisterModell());
}

TEST_F(TerminalTest, MissingDescriptionReadsUnknownAndMissingUnknownGivesAnEmptyTerminal) {
    auto t = fromDescription("QT0000-9999");
    EXPECT_EQ(t->InfoName(), "Unknown");
    EXPECT_EQ(t->clsColTables()->Count(), 1);
    std::filesystem::remove(resources() / "Terminal" / "Unknown.INI");
    auto empty = fromDescription("QT0000-9999");
    EXPECT_EQ(empty->InfoNrLogSigChnl(), 0);
    EXPECT_EQ(empty->clsColTables()->Count(), 0);
}

TEST_F(TerminalTest, TerminalFileFillsMissingMappingKeysWithUnmappedTexts) {
    std::filesystem::path file = parent() / "C001T001.TCF";
    writeFile(file,
              "[Config]\nTermPos=1\nTermID=1\nCouplerID=1\n[Common]\nName=QT1008-0000\n"
              "[RegValue_Table0]\nReg11=0x0108\nReg12=0x0008\n"
              "[Mapp_Table0]\nInProcImage=\nInput_Adr0=2.0\nInput_Adr1= 2.1 \n");
    auto t = std::make_shared<clsTerminal>();
    ignoreLoadResult(t->ConfRetrieveData(file.string()));
    EXPECT_FALSE(t->InfoTermRegisterModell());
    ASSERT_EQ(t->MappingEntryCount(), 8);
    EXPECT_EQ(t->ConfInputDestProcImage(0), "0");
    EXPECT_EQ(t->ConfMappInputImage(0, 1), "2.1");
    EXPECT_EQ(t->ConfMappInputImage(0, 3), "511.7");
    EXPECT_EQ(t->ConfMappOutputImage(0, 7), "511.7");
    EXPECT_EQ(ui.statusTexts.back(), "Done..");
}

TEST_F(TerminalTest, RailPositionMovesTheChannelTables) {
    auto t = fromDescription("QT3002-0000");
    t->setConfRailPosition(4);
    for (const auto& table : *t->clsColTables()) EXPECT_EQ(table->PosNr(), 4);
}

TEST_F(TerminalTest, SavedMappingAndEveryChannelReadBack) {
    auto t = fromDescription("QT3808-0000");
    t->setConfSymbolicID(12);
    t->setConfParentCouplerID(7);
    t->setConfRailPosition(3);
    t->setConfInputDestProcImage(2, "2");
    t->setConfMappInputImage(2, 1, " 5 ");
    t->clsColTables()->Item(6)->setConfRegisterValue(40, 0x4242);
    std::filesystem::create_directories(railDir());
    ASSERT_EQ(t->ConfSaveData(railDir()), kStoreOk);
    std::string file = (std::filesystem::path(railDir()) / "C007T012.TCF").string();
    ASSERT_TRUE(std::filesystem::exists(file));

    ini::dropCache();
    auto back = std::make_shared<clsTerminal>();
    ignoreLoadResult(back->ConfRetrieveData(file));
    EXPECT_EQ(back->ConfSymbolicID(), 12);
    EXPECT_EQ(back->ConfParentCouplerID(), 7);
    EXPECT_EQ(back->ConfRailPosition(), 3);
    EXPECT_EQ(back->ConfInputDestProcImage(2), "2");
    EXPECT_EQ(back->ConfMappInputImage(2, 1), "5");
    // Channels 1 and up hold the description's settings, not zeros, and channel 6 (a
    // table number the coupler's save filter leaves out) keeps its change.
    for (int c = 0; c < 8; ++c) {
        auto table = back->clsColTables()->Item(c);
        ASSERT_TRUE(table) << c;
        EXPECT_EQ(table->PosNr(), 3);
        EXPECT_EQ(table->ConfRegisterValue(32), 5) << c;
        EXPECT_EQ(table->ConfRegisterValue(40), c == 6 ? 0x4242 : 0) << c;
    }
    // The second save writes only what changed since.
    back->clsColTables()->Item(5)->setConfRegisterValue(41, 7);
    EXPECT_EQ(back->ConfSaveData(railDir()), kStoreOk);
    EXPECT_FALSE(back->clsColTables()->Item(5)->ValueChanged());
    ini::dropCache();
    EXPECT_EQ(ini::readString(file, "RegValue_Table5", "Reg41"), "0x0007");
}

// A terminal file begun as a copy of its description with its [Config], channel 0's Reg32
// changed from the description's 5 to 7, and what each way of holding channel 1 gives it.
TEST_F(TerminalTest, RegistersTheFileLacksTakeTheDescriptionsChannelDefaults) {
    using Why = ChannelsFromOwnTable::Why;
    const auto description = resources() / "Terminal" / "QT3002-0000.INI";
    const std::string descriptionText = readFile(description);
    std::string copy = descriptionText;
    copy.replace(copy.find("Reg32=0x0005"), 12, "Reg32=0x0007");
    copy += "[Config]\nTermPos=1\nTermID=1\nCouplerID=1\n";
    std::string whole = "[RegValue_Table1]\n";
    for (int r = 0; r < 64; ++r)
        whole += "Reg" + std::to_string(r) + "=0x000" + (r == 32 ? "9\n" : "0\n");
    const std::string layoutOnly = descriptionText.substr(0, descriptionText.find("Reg32"));
    struct Case {
        const char* what;
        std::string table1;
        std::string descriptionNow;  // "-": removed
        int32_t reg32, reg33, reg63;
        bool changed;                     // channel 1 is written by the next save
        std::optional<Why> fromOwnTable;  // channel 1 took the file's table 0, named so
    };
    const Case cases[] = {
        {"no table 1", "", descriptionText, 5, 0x100, 0xBEEF, true, {}},
        {"table 1 without Reg63",
         "[RegValue_Table1]\nReg32=0x0009\n",
         descriptionText,
         9,
         0x100,
         0xBEEF,
         true,
         {}},
        {"table 1 whole", whole, descriptionText, 9, 0, 0, false, {}},
        {"no table 1, no description", "", "-", 7, 0x100, 0xBEEF, false, Why::Missing},
        {"no table 1, damaged description", "", "[RegValue_Table0]\nReg32=0x0001\n", 7, 0x100,
         0xBEEF, false, Why::Damaged},
        {"table 1 without Reg63, no description", "[RegValue_Table1]\nReg32=0x0009\n", "-", 9,
         0x100, 0xBEEF, false, Why::Missing},
        // An interrupted copy: the last line without its end, or table 0 ending before the
        // user registers the file still holds.
        {"no table 1, description without its last line end", "",
         descriptionText.substr(0, descriptionText.size() - 1), 7, 0x100, 0xBEEF, false,
         Why::CutShort},
        {"no table 1, description cut after its layout", "", layoutOnly, 7, 0x100, 0xBEEF, false,
         Why::CutShort},
        // A section after table 0 proves its values whole, wherever the copy stopped.
        {"no table 1, description cut inside a section after its table 0",
         "",
         descriptionText + "\n[RegDesc_Table0]\nLang0_Reg32=Merk",
         5,
         0x100,
         0xBEEF,
         true,
         {}},
        // Whole, with fewer registers than the file: what it leaves out stays 0.
        {"no table 1, description of layout and Reg32 only",
         "",
         layoutOnly + "Reg32=0x0003\n\n[RegDesc_Table0]\nLang0_Reg32=Merkmal\n",
         3,
         0,
         0,
         true,
         {}},
    };
    const auto file = std::filesystem::path(railDir()) / "C001T001.TCF";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(description);
        if (c.descriptionNow != "-") writeFile(description, c.descriptionNow);
        writeFile(file, copy + c.table1);
        ini::dropCache();
        auto t = std::make_shared<clsTerminal>();
        ignoreLoadResult(t->ConfRetrieveData(file.string()));
        auto channel0 = t->clsColTables()->Item(0);
        auto channel1 = t->clsColTables()->Item(1);
        EXPECT_EQ(channel0->ConfRegisterValue(32), 7);
        EXPECT_FALSE(channel0->ValueChanged());
        EXPECT_EQ(channel1->ConfRegisterValue(32), c.reg32);
        EXPECT_EQ(channel1->ConfRegisterValue(33), c.reg33);
        EXPECT_EQ(channel1->ConfRegisterValue(63), c.reg63);
        EXPECT_EQ(channel1->ValueChanged(), c.changed);
        const auto& guess = t->ChannelsFromOwnTable();
        EXPECT_EQ(guess ? std::optional(guess->why) : std::nullopt, c.fromOwnTable);
    }
    // Of a terminal of eight channels without its description, the open names those whose
    // registers the file lacks, not the one it holds whole.
    const auto eight = resources() / "Terminal" / "QT3808-0000.INI";
    writeFile(file, readFile(eight) + "[Config]\nTermPos=1\nTermID=1\nCouplerID=1\n" +
                        "[RegValue_Table2]" + whole.substr(whole.find('\n')));
    std::filesystem::remove(eight);
    ini::dropCache();
    auto many = std::make_shared<clsTerminal>();
    ignoreLoadResult(many->ConfRetrieveData(file.string()));
    ASSERT_TRUE(many->ChannelsFromOwnTable());
    EXPECT_EQ(many->ChannelsFromOwnTable()->channels, (std::vector<int32_t>{1, 3, 4, 5, 6, 7}));
    // The save writes the table filled from the description; from then on the file holds it.
    writeFile(description, descriptionText);
    writeFile(file, copy);
    ini::dropCache();
    auto t = std::make_shared<clsTerminal>();
    ignoreLoadResult(t->ConfRetrieveData(file.string()));
    ASSERT_EQ(t->ConfSaveData(railDir()), kStoreOk);
    ini::dropCache();
    EXPECT_EQ(ini::readString(file.string(), "RegValue_Table1", "Reg63"), "0xBEEF");
    auto back = std::make_shared<clsTerminal>();
    ignoreLoadResult(back->ConfRetrieveData(file.string()));
    EXPECT_FALSE(back->clsColTables()->Item(1)->ValueChanged());
}

TEST_F(TerminalTest, SaveWithoutUsableDescriptionWritesASelfContainedFile) {
    const auto description = resources() / "Terminal" / "QT3002-0000.INI";
    // The description gone, or damaged since the terminal was read: a copy of it would
    // make a file that names no type.
    const std::function<void()> losses[] = {
        [&] { std::filesystem::remove(description); },
        [&] { writeFile(description, ""); },
        [&] { writeFile(description, "[RegValue_Table0]\nReg11=0x0410\n"); },
    };
    for (const auto& lose : losses) {
        writeTerminal("QT3002-0000", 2, 16, 16, 0);
        auto t = fromDescription("QT3002-0000");
        t->setConfSymbolicID(1);
        t->setConfParentCouplerID(1);
        t->setConfRailPosition(1);
        lose();
        std::filesystem::remove_all(railDir());
        std::filesystem::create_directories(railDir());
        ini::dropCache();
        ASSERT_EQ(t->ConfSaveData(railDir()), kStoreOk);
        ini::dropCache();
        auto back = std::make_shared<clsTerminal>();
        ignoreLoadResult(back->ConfRetrieveData(t->FileName(railDir())));
        EXPECT_EQ(back->InfoName(), "QT3002-0000");
        EXPECT_EQ(back->InfoNrLogSigChnl(), 2);
        EXPECT_TRUE(back->InfoTermRegisterModell());
        EXPECT_EQ(back->InfoBitmap(), "QT3002-0000.png");
        EXPECT_EQ(back->clsColTables()->Item(1)->ConfRegisterValue(33), 0x100);
    }
}

TEST_F(TerminalTest, SaveRefusesWithoutARailFolder) {
    auto t = fromDescription("QT3002-0000");
    EXPECT_EQ(t->ConfSaveData(), kStoreNoProject);  // no rail is loaded: no folder
}

TEST_F(TerminalTest, ChannelNodesCarryKeysAndTexts) {
    auto analog = fromDescription("QT3002-0000");
    std::string detail = "C005P000T012P003";
    std::string key = "SZ_TERMINAL_ITEMKEY______" + detail;
    auto nodes = analog->AddChannelsToTreeView(key, detail);
    ASSERT_EQ(nodes.size(), 6u);
    EXPECT_EQ(nodes[0].parentKey, key);
    EXPECT_EQ(nodes[0].key, "SZ_TERMINAL_CHANNEL______C005P000T012P003CHANNEL000");
    EXPECT_EQ(nodes[0].text, "Kanal1");
    EXPECT_EQ(nodes[1].parentKey, nodes[0].key);
    EXPECT_EQ(nodes[1].key, "SZ_TERMINAL_SETTINGS_____C005P000T012P003CHANNEL000");
    EXPECT_EQ(nodes[1].text, "Einstellungen");
    EXPECT_EQ(nodes[2].key, "SZ_TERMINAL_REGISTER_____C005P000T012P003CHANNEL000");
    EXPECT_EQ(nodes[3].text, "Kanal2");
    context().LanguageBase = 2000;
    EXPECT_EQ(fromDescription("QT1002-0000")->AddChannelsToTreeView(key, detail).size(), 2u);
    EXPECT_EQ(analog->AddChannelsToTreeView(key, detail)[1].text, "Adjustments");
}

TEST_F(TerminalTest, PlacementStepAnswersFalseAndKeepsOffsets) {
    auto t = fromDescription("QT3002-0000");
    int32_t a = 1, b = 2, c = 3, d = 4;
    EXPECT_FALSE(t->ConfProcAdr(a, b, c, d));
    EXPECT_EQ(a + b + c + d, 10);
}

}  // namespace
}  // namespace varnak::test
