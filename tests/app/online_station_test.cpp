// Going online against a simulated station: the terminal names and positions read from
// the terminal list, the end terminal, positions without a usable description, the failure
// path and the download offer.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "app/control_register_device.h"
#include "app/online_station_reader.h"
#include "app/online_switch.h"
#include "comctl/QZcomOCX.h"
#include "mapping/mapping_layout.h"
#include "tests/model/project_fixture.h"
#include "tests/support/description_damage.h"
#include "tests/support/sim_station.h"
#include "tests/support/station_online.h"

using namespace qzcom;

namespace varnak::test {
namespace {

TEST(TerminalNames, IntelligentTerminalsTakeTheirExtension) {
    EXPECT_EQ(intelligentTerminalName(3102, 16), "QT3102-0016");
    EXPECT_EQ(intelligentTerminalName(3102, 65535), "QT3102-0000");
    EXPECT_EQ(intelligentTerminalName(3102, 12345), "QT3102-2345");
    EXPECT_EQ(intelligentTerminalName(1000, 7), "QT1000-0007");
    EXPECT_EQ(intelligentTerminalName(400, 0), "JRV-400_000-000");
    EXPECT_EQ(intelligentTerminalName(999, 12345), "JRV-999_012-345");
    EXPECT_EQ(intelligentTerminalName(7, 65535), "JRV-7_000-000");
}

TEST(TerminalNames, DigitalWordsByTheTableFirstMatchFirst) {
    EXPECT_EQ(digitalTerminalName(0x8403), "QT2212-0000");
    EXPECT_EQ(digitalTerminalName(0x8407), "QT1212-0000");  // before the "both, 4" row
    EXPECT_EQ(digitalTerminalName(0x8201), "QT1002-0000");
    EXPECT_EQ(digitalTerminalName(0x8401), "QT1104-0000");
    EXPECT_EQ(digitalTerminalName(0x8202), "QT2012-0000");
    EXPECT_EQ(digitalTerminalName(0x8402), "QT2114-0000");
    EXPECT_EQ(digitalTerminalName(0x840B), "QT2212-0000");  // other bits ignored
    EXPECT_EQ(digitalTerminalName(0x8803), "QP2008-Bxx0");
    EXPECT_EQ(digitalTerminalName(0x8A01), std::nullopt);
    EXPECT_EQ(digitalTerminalName(0x8200), std::nullopt);
    EXPECT_EQ(digitalTerminalName(0x8803 | 0x1000), std::nullopt);  // 24 bits
}

class GoingOnline : public ::testing::Test, public ProjectFixture {
  protected:
    explicit GoingOnline(int terminals = 64) : station(1, terminals) {
        setenv("VARNAK_COM5", station.devicePath().c_str(), 1);
        control.setQZxCommPort(5);
        control.setQZxTyp(QZxType_RS232);
        control.setQZxTimeout(1000);
        control.setQZxPortOpen(true);
        context().VarnakComOCX = &control;
        context().registerDevice = &device;
        context().MultiPointAdr = 1;
        for (const char* name : {"QT3102-0016", "JRV-400_000-000", "QT2212-0000", "QT1212-0000",
                                 "QT1104-0000", "QT2012-0000", "QT2114-0000", "QP2008-Bxx0"})
            writeTerminal(name, 1, 4, 4, 4);
    }
    ~GoingOnline() override {
        context().VarnakComOCX = nullptr;
        context().registerDevice = nullptr;
        unsetenv("VARNAK_COM5");
    }

    // Names and positions of the online rail's terminals in rail order.
    std::vector<std::pair<int32_t, std::string>> row(const std::shared_ptr<clsCoupler>& rail) {
        std::vector<std::pair<int32_t, std::string>> out;
        auto terminals = rail->clsColTerminals();
        for (int32_t p = 1; p <= terminals->Count(); ++p) {
            auto t = terminals->ItemPos(p);
            out.emplace_back(p, t ? t->InfoName() : "<none>");
        }
        return out;
    }

    bool goOnline(int* downloads = nullptr) {
        EXPECT_EQ(project->setOnline(true), kStoreOk);
        GoOnlineHooks hooks;
        hooks.showDownloadDialog = [downloads] {
            if (downloads) ++*downloads;
        };
        return fGoOnlineRead(context(), hooks);
    }

    SimStation station;
    QZcomOCX control;
    ControlRegisterDevice device{control};
};

TEST_F(GoingOnline, TerminalsOfEveryKindGetTheirNamesAndPositions) {
    OnlineStationSetup setup;
    setup.terminalList = {3102,   400,    3002,   0x8403, 0x8407, 0x8201, 0x8401,
                          0x8202, 0x8402, 0x8803, 0x8A01, 0x8201, 0};
    setup.nameExtensions = {{1, 16}, {2, 0}, {3, 65535}};
    prepareOnlineStation(station, setup);

    ASSERT_TRUE(goOnline());
    auto rail = context().VarnakOnlineCoupler;
    ASSERT_TRUE(rail);
    EXPECT_EQ(rail->InfoName(), "QZ3100-0000");
    using Row = std::vector<std::pair<int32_t, std::string>>;
    EXPECT_EQ(row(rail), (Row{{1, "QT3102-0016"},
                              {2, "JRV-400_000-000"},
                              {3, "QT3002-0000"},
                              {4, "QT2212-0000"},
                              {5, "QT1212-0000"},
                              {6, "QT1002-0000"},
                              {7, "QT1104-0000"},
                              {8, "QT2012-0000"},
                              {9, "QT2114-0000"},
                              {10, "QP2008-Bxx0"},
                              // an unknown word: the unknown terminal, not the previous name
                              {11, "Unknown"},
                              {12, "QT1002-0000"},
                              {13, "QT9010-0000"}}));
    for (const auto& t : *rail->clsColTerminals())
        EXPECT_EQ(t->ConfParentCouplerID(), rail->ConfSymbolicID());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(GoingOnline, SixtyFourTerminalsComeFromTheDeviceWithoutEndTerminal) {
    OnlineStationSetup setup;
    setup.terminalList.assign(64, 0x8201);
    setup.terminalList[63] = 0x8202;  // register 64, past a read of registers 0-63
    prepareOnlineStation(station, setup);

    ASSERT_TRUE(goOnline());
    auto rail = context().VarnakOnlineCoupler;
    ASSERT_EQ(rail->clsColTerminals()->Count(), 64);
    EXPECT_EQ(rail->clsColTerminals()->ItemPos(63)->InfoName(), "QT1002-0000");
    EXPECT_EQ(rail->clsColTerminals()->ItemPos(64)->InfoName(), "QT2012-0000");
}

TEST_F(GoingOnline, QpAndQiCouplersHaveNoEndTerminalAndAnEmptyListOnlyTheEnd) {
    for (int family : {2, 32}) {
        SCOPED_TRACE(family);
        OnlineStationSetup setup;
        setup.family = family;
        setup.productNumber = 2008;
        setup.productVariant = 310;
        setup.terminalList = {0x8201, 0xFFFF, 0x8201};
        prepareOnlineStation(station, setup);
        ASSERT_TRUE(goOnline());
        auto rail = context().VarnakOnlineCoupler;
        // No description of this coupler: the unknown coupler's.
        EXPECT_EQ(rail->InfoName(), "Unknown");
        ASSERT_EQ(rail->clsColTerminals()->Count(), 1);
        EXPECT_EQ(rail->clsColTerminals()->ItemPos(1)->InfoName(), "QT1002-0000");
        EXPECT_EQ(project->setOnline(false), kStoreOk);
    }
    OnlineStationSetup empty;
    empty.terminalList = {0, 0x8201};
    prepareOnlineStation(station, empty);
    ASSERT_TRUE(goOnline());
    auto rail = context().VarnakOnlineCoupler;
    ASSERT_EQ(rail->clsColTerminals()->Count(), 1);
    EXPECT_EQ(rail->clsColTerminals()->ItemPos(1)->InfoName(), "QT9010-0000");
}

TEST_F(GoingOnline, ACouplerWithoutTable9StillShowsTheTerminalsRead) {
    OnlineStationSetup setup;
    setup.directoryTables = {0, 100};
    setup.terminalList = {0x8201, 0x8402, 0};
    prepareOnlineStation(station, setup);
    ASSERT_TRUE(goOnline());
    auto rail = context().VarnakOnlineCoupler;
    EXPECT_EQ(rail->clsColTables()->Item(9), nullptr);
    using Row = std::vector<std::pair<int32_t, std::string>>;
    EXPECT_EQ(row(rail), (Row{{1, "QT1002-0000"}, {2, "QT2114-0000"}, {3, "QT9010-0000"}}));
}

TEST_F(GoingOnline, OddListWordsAndIdentificationValuesStillGiveARail) {
    // Every identification register reads 0xFFFF (kind 255: an end terminal is due), the
    // list holds words no terminal has, and no coupler description exists at all.
    std::filesystem::remove(resources() / "Coupler" / "QZ3100-0000.INI");
    std::filesystem::remove(resources() / "Coupler" / "Unknown.INI");
    OnlineStationSetup setup;
    setup.typeNumber = 0xFFFF;
    setup.terminalList = {0x7FFF, 1, 0x8000, 0xFFFE, 0x80FF, 0};
    setup.nameExtensions = {{1, 65534}, {2, 65534}};
    prepareOnlineStation(station, setup);
    for (int reg = 200; reg <= 254; ++reg) station.setRegister(0, 0, reg, 0xFFFF);
    // Descriptions under the names expected, so that the names show.
    writeTerminal("QT32767-5534", 1, 4, 4, 4);
    writeTerminal("JRV-1_065-534", 1, 4, 4, 4);

    ASSERT_TRUE(goOnline());
    auto rail = context().VarnakOnlineCoupler;
    ASSERT_TRUE(rail);
    using Row = std::vector<std::pair<int32_t, std::string>>;
    EXPECT_EQ(row(rail), (Row{{1, "QT32767-5534"},
                              {2, "JRV-1_065-534"},
                              {3, "Unknown"},
                              {4, "Unknown"},
                              {5, "Unknown"},
                              {6, "QT9010-0000"}}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(GoingOnline, DamagedDescriptionsCountAsMissing) {
    writeFile(resources() / "Coupler" / "QZ3100-0000.INI", "");
    writeFile(resources() / "Terminal" / "QT2114-0000.INI", "[RegValue_Table0]\nReg11=0x0101\n");
    OnlineStationSetup setup;
    setup.terminalList = {0x8201, 0x8402, 0x8201, 0};
    prepareOnlineStation(station, setup);
    ASSERT_TRUE(goOnline());
    auto rail = context().VarnakOnlineCoupler;
    EXPECT_EQ(rail->InfoName(), "Unknown");
    using Row = std::vector<std::pair<int32_t, std::string>>;
    EXPECT_EQ(row(rail),
              (Row{{1, "QT1002-0000"}, {2, "Unknown"}, {3, "QT1002-0000"}, {4, "QT9010-0000"}}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(GoingOnline, APositionWithoutAnyUsableDescriptionHoldsAnEmptyTerminalAndIsNamed) {
    DescriptionDamage own(resources() / "Terminal" / "QT2114-0000.INI");
    DescriptionDamage fallback(resources() / "Terminal" / "Unknown.INI");
    own.cutTo(0);
    fallback.randomBytes(41);
    OnlineStationSetup setup;
    setup.terminalList = {0x8201, 0x8402, 0x8201, 0};
    prepareOnlineStation(station, setup);
    ASSERT_TRUE(goOnline());
    auto rail = context().VarnakOnlineCoupler;
    using Row = std::vector<std::pair<int32_t, std::string>>;
    EXPECT_EQ(row(rail),
              (Row{{1, "QT1002-0000"}, {2, ""}, {3, "QT1002-0000"}, {4, "QT9010-0000"}}));
    EXPECT_EQ(rail->clsColTerminals()->ItemPos(2)->InfoNrLogSigChnl(), 0);
    EXPECT_EQ(undescribedPositions(*rail), std::vector<int32_t>{2});
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Position 2 (QT2114-0000): weder die Beschreibung dieses Klemmentyps noch die "
              "Ersatzbeschreibung Unknown.INI ist brauchbar (sie fehlt oder ist beschädigt). Die "
              "Position hält eine leere Klemme ohne Beschreibung; die Klemmen dahinter stehen auf "
              "ihren Positionen.");
    EXPECT_EQ(ui.messages[0].style, vbExclamation);
    EXPECT_EQ(project->setOnline(false), kStoreOk);

    // A coupler description whose id counter leaves no room: the rail ends before the
    // first terminal, and the message says so.
    writeFile(resources() / "Coupler" / "QZ3100-0000.INI",
              std::string(kCouplerDescription) + "[Config]\r\nTermID=999\r\n");
    ui.messages.clear();
    ASSERT_TRUE(goOnline());
    EXPECT_EQ(context().VarnakOnlineCoupler->clsColTerminals()->Count(), 0);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Position 1 (QT1002-0000): keine Klemme eingefügt, die Schiene endet davor. Die "
              "Station kann nicht mehr Klemmen oder Kennungen aufnehmen.");
}

TEST_F(GoingOnline, TheExtensionIsReadFromTheDeviceWhateverTheDescriptions) {
    // No unknown-terminal description to lend a channel table: the extension still
    // comes from the device.
    std::filesystem::remove(resources() / "Terminal" / "Unknown.INI");
    writeTerminal("QT3102-0042", 1, 4, 4, 4);
    OnlineStationSetup setup;
    setup.terminalList = {3102, 0};
    setup.nameExtensions = {{1, 42}};
    prepareOnlineStation(station, setup);
    ASSERT_TRUE(goOnline());
    EXPECT_EQ(context().VarnakOnlineCoupler->clsColTerminals()->ItemPos(1)->InfoName(),
              "QT3102-0042");
}

TEST_F(GoingOnline, FiveFailedListReadsGoOfflineWithTheMessage) {
    OnlineStationSetup setup;
    setup.terminalList = {0x8201, 0};
    prepareOnlineStation(station, setup);
    auto previous = std::make_shared<clsCoupler>();
    context().VarnakOnlineCoupler = previous;
    for (int i = 0; i < kTerminalListAttempts; ++i) station.queueFault(ReplyFault::brokenOff());

    bool offlineRaised = false;
    project->ProjectStateOnlineChange.connect([&](bool& on) {
        if (!on) offlineRaised = true;
    });
    EXPECT_FALSE(goOnline());
    EXPECT_FALSE(project->Online());
    EXPECT_TRUE(offlineRaised);
    EXPECT_EQ(context().VarnakOnlineCoupler, previous);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Keine Kommunikation mit Koppler!");
    EXPECT_EQ(ui.messages[0].style, vbCritical);
    EXPECT_EQ(ui.messages[0].title, "");
}

TEST_F(GoingOnline, FourFailedReadsAreRetriedAndAFailedIdentificationFails) {
    OnlineStationSetup setup;
    setup.terminalList = {0x8201, 0};
    prepareOnlineStation(station, setup);
    for (int i = 0; i < kTerminalListAttempts - 1; ++i) station.queueFault(ReplyFault::brokenOff());
    EXPECT_TRUE(goOnline());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(project->setOnline(false), kStoreOk);

    // The list's 65 registers travel in four telegrams; the identification's first fails.
    for (int i = 0; i < 4; ++i) station.queueFault(ReplyFault::none());
    station.queueFault(ReplyFault::brokenOff());
    EXPECT_FALSE(goOnline());
    EXPECT_FALSE(project->Online());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Keine Kommunikation mit Koppler!");
}

TEST_F(GoingOnline, TheDownloadOfferComesOnlyWithALoadedRailWhichIsSavedAndRemoved) {
    OnlineStationSetup setup;
    setup.terminalList = {0};
    prepareOnlineStation(station, setup);

    int downloads = 0;
    ASSERT_TRUE(goOnline(&downloads));
    EXPECT_TRUE(ui.messages.empty());  // no project rail, no offer
    EXPECT_EQ(project->setOnline(false), kStoreOk);

    ASSERT_EQ(newProject("Plant"), kStoreOk);
    for (int answer : {vbNo, vbYes}) {
        SCOPED_TRACE(answer);
        ui.messages.clear();
        const std::string name = answer == vbNo ? "RailNo" : "RailYes";
        ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, name), kStoreOk);
        rail()->setUserInfoDescription("changed before going online");
        ui.answers.push_back(answer);
        ASSERT_TRUE(goOnline(&downloads));
        ASSERT_GE(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, "Do you want to download configuration settings ?");
        EXPECT_EQ(ui.messages[0].title, "Switch online ");
        EXPECT_EQ(ui.messages[0].style, vbYesNo | vbQuestion);
        EXPECT_EQ(downloads, answer == vbYes ? 1 : 0);
        EXPECT_EQ(couplers()->Count(), 0);
        std::string saved = readFile(railFolder("Plant", name) / "Coupler.CCF");
        EXPECT_NE(saved.find("changed before going online"), std::string::npos);
        EXPECT_EQ(project->setOnline(false), kStoreOk);
    }
}

}  // namespace
}  // namespace varnak::test
