// The coupler settings session against the simulated station, with golden wire logs, and
// offline on the project's rail.
#include <gtest/gtest.h>

#include <functional>

#include "fieldbus/coupler_settings_session.h"
#include "model/clsColTables.h"
#include "model/clsTable.h"
#include "settingsforms/register_image.h"
#include "tests/support/description_damage.h"
#include "tests/support/qt/rail_fixture.h"
#include "tests/support/wire_log.h"

namespace varnak::test {
namespace {

using Open = CouplerSettingsSession::OpenResult;
const std::string kNoCommunication = "Keine Kommunikation mit Koppler!";
const std::string kNoDescription = "Keine brauchbare Gerätebeschreibung, nichts geändert: ";

class CouplerSessionTest : public RailFixture {
  protected:
    CouplerSessionTest() : RailFixture({"QZ8000-0000", {"QT3002-0000"}}) {}
    void storeWatchdog(int32_t value) {
        RegisterImage image = imageOf(session.table());
        image[0] = value;
        session.apply(image);
    }
    CouplerSettingsSession session;
};

TEST_F(CouplerSessionTest, OkOnAProtectedStationWritesTheWholeTableBetweenLiftAndSet) {
    connectStation().changeCoupler([](CouplerState& s) { s.writeProtected = true; });
    station->setRegister(0, 100, 5, 0x0505);
    goOnline();
    ASSERT_EQ(session.open(), Open::Opened);
    EXPECT_EQ(session.title("Feldbus spezifische Konfiguration"),
              "Feldbus spezifische Konfiguration (Online)");
    EXPECT_EQ(session.table().ConfRegisterValue(5), 0x0505);
    storeWatchdog(250);
    EXPECT_EQ(session.transfer(), 0);
    EXPECT_EQ(station->reg(0, 100, 0), 250);
    EXPECT_EQ(station->reg(0, 100, 5), 0x0505);
    EXPECT_TRUE(station->coupler().writeProtected);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(logMatches("protected_ok.txt"));
    // The lift's read-back waits for the coupler to take the unlock word.
    const auto exchanges = station->exchanges();
    ASSERT_GE(exchanges.size(), 3u);
    EXPECT_GE(exchanges[2].received - exchanges[1].received, std::chrono::milliseconds(450));
}

TEST_F(CouplerSessionTest, AFailedDownloadStillSetsTheProtectionAndShowsItsCode) {
    connectStation();
    goOnline();
    ASSERT_EQ(session.open(), Open::Opened);
    storeWatchdog(300);
    station->clearRequests();
    for (int i = 0; i < 2; ++i) station->queueFault(ReplyFault::none());  // lift, read-back
    station->queueFault(ReplyFault::badChecksum());                       // the table
    EXPECT_EQ(session.transfer(), 3);
    EXPECT_EQ(messageTexts(), std::vector<std::string>{kNoCommunication + "\nCode: 3"});
    EXPECT_EQ(session.table().ConfRegisterValue(0), 300);  // as stored
    EXPECT_TRUE(logMatches("failed_download.txt"));
}

TEST_F(CouplerSessionTest, OpeningFailuresShowTheirMessageAndOpenNothing) {
    connectStation();
    goOnline();
    station->queueFault(ReplyFault::noReply());
    EXPECT_EQ(session.open(), Open::NoCommunication);
    EXPECT_EQ(messageTexts(), std::vector<std::string>{kNoCommunication});
    context.VarnakOnlineCoupler->clsColTables()->Remove(100);
    station->clearRequests();
    EXPECT_EQ(session.open(), Open::NoDialog);
    EXPECT_EQ(messageTexts().back(), "Bitte benutzen Sie die Registerdarstellung");
    EXPECT_TRUE(station->requests().empty());
}

TEST_F(CouplerSessionTest, AFurtherTableThatNeedNotAnswerStillOpens) {
    connectStation();
    goOnline();
    station->queueFault(ReplyFault::noReply());
    ASSERT_EQ(session.open({{0, false}, {100, true}, {121, true}}), Open::Opened);
    EXPECT_EQ(session.uploadResult(0), qzcom::ComErrTimeout1);
    EXPECT_EQ(session.uploadResult(100), 0);
    EXPECT_FALSE(session.boundTable(121));  // the QZ8000 has none
    EXPECT_TRUE(session.boundTable(0));
}

TEST_F(CouplerSessionTest, OfflineDefaultAndOkSendNothingAndTheRailIsOnDiskAfterClosing) {
    connectStation();
    rail()->clsColTables()->Item(100)->setConfRegisterValue(1, 77);
    rail()->clsColTables()->Item(100)->setConfRegisterValue(9, 99);
    ASSERT_EQ(session.open(), Open::Opened);
    EXPECT_EQ(session.title("T"), "T (Offline)");
    EXPECT_TRUE(session.loadDefaults());
    EXPECT_EQ(session.table().ConfRegisterValue(1), 2);
    EXPECT_EQ(session.table().ConfRegisterValue(9), 0);  // not listed: copied as 0
    storeWatchdog(500);
    EXPECT_EQ(session.transfer(), 0);
    session.close();
    EXPECT_TRUE(station->requests().empty());
    EXPECT_EQ(railFromDisk()->clsColTables()->Item(100)->ConfRegisterValue(0), 500);
}

TEST_F(CouplerSessionTest, DefaultWithoutAUsableDescriptionChangesNothing) {
    ASSERT_EQ(session.open(), Open::Opened);
    session.table().setConfRegisterValue(0, 1234);
    DescriptionDamage own(resources() / "Coupler" / "QZ8000-0000.INI");
    const std::vector<std::pair<const char*, std::function<void()>>> cases{
        {"no description of its own", [&] { own.missing(); }},
        {"no table 100 in its directory", [&] { own.replace("Reg100=0x000F", "Reg100=0x0000"); }},
        {"no directory", [&] { own.replace("[RegValue_Table127]", "[Elsewhere]"); }},
        {"a folder in its place", [&] { own.folder(); }},
    };
    for (const auto& [what, damage] : cases) {
        SCOPED_TRACE(what);
        damage();
        ui.messages.clear();
        EXPECT_FALSE(session.loadDefaults());
        EXPECT_EQ(messageTexts(), std::vector<std::string>{kNoDescription + own.path().string()});
        EXPECT_EQ(session.table().ConfRegisterValue(0), 1234);
    }
}

}  // namespace
}  // namespace varnak::test
