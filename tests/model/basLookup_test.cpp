#include "model/basLookup.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "model/clsCommon.h"
#include "platform/paths.h"
#include "tests/model/project_fixture.h"

namespace varnak::test {
namespace {

class LookupTest : public ::testing::Test, public ProjectFixture {};

TEST_F(LookupTest, AccessCodeIsAskedUntilGivenThenNeverAgain) {
    ui.inputs = {std::string("wrong"), std::nullopt, std::string("tidal-gate")};
    EXPECT_FALSE(gfCheckAccessCode());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Falsches Passwort !");
    EXPECT_EQ(ui.messages[0].text,
              "Falsches Passwort !\nSie können Koppler und Klemmen auslesen,\njedoch nicht "
              "verändern.");
    EXPECT_EQ(ui.messages[0].style, vbCritical);
    EXPECT_FALSE(gfCheckAccessCode());  // cancel is a wrong answer
    EXPECT_TRUE(gfCheckAccessCode());
    EXPECT_EQ(context().AccessCodeText, "TIDAL-GATE");
    EXPECT_TRUE(gfCheckAccessCode());
    EXPECT_EQ(ui.prompts.size(), 3u);
    EXPECT_EQ(ui.prompts[0], "Enter key / Paßwort eingeben: ");
}

TEST_F(LookupTest, PresetAccessCodeNeverAsks) {
    context().AccessCodeText = "TIDAL-GATE";
    EXPECT_TRUE(gfCheckAccessCode());
    EXPECT_TRUE(ui.prompts.empty());
}

TEST(TypeFromListEntry, TrimsInPlaceAndTakesTheTextBeforeTheComma) {
    std::string entry = "  QZ3100-0000,         Buskoppler  ";
    EXPECT_EQ(gfGetTypeFromListEntry(entry), "QZ3100-0000");
    EXPECT_EQ(entry, "QZ3100-0000,         Buskoppler");
    // An entry without a description names its type whole.
    std::string bare = " QZ3100-0000 ";
    EXPECT_EQ(gfGetTypeFromListEntry(bare), "QZ3100-0000");
    std::string empty;
    EXPECT_EQ(gfGetTypeFromListEntry(empty), "");
}

TEST_F(LookupTest, ActiveCouplerIsTheOnlineRailOnlineAndTheLoadedRailOffline) {
    std::shared_ptr<clsCoupler> active;
    EXPECT_FALSE(gfGetActiveCoupler(active));
    EXPECT_FALSE(active);
    ASSERT_EQ(newProject("P"), kStoreOk);
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, "R"), kStoreOk);
    ASSERT_TRUE(gfGetActiveCoupler(active));
    EXPECT_EQ(active, rail());

    ASSERT_EQ(project->setOnline(true), kStoreOk);
    std::shared_ptr<clsCoupler> online;
    ASSERT_TRUE(gfGetActiveCoupler(online));
    EXPECT_NE(online, rail());
    EXPECT_EQ(online, context().VarnakOnlineCoupler);
    std::shared_ptr<clsCoupler> again;
    ASSERT_TRUE(gfGetActiveCoupler(again));
    EXPECT_EQ(again, online);
}

TEST_F(LookupTest, CouplerTypeListTakesTheSeriesInThreePasses) {
    auto folder = resources() / "Coupler";
    writeFile(folder / "QI1000-0000.INI", "[Common]\nName=QI1000-0000\nLang0_Desc=Steuerung\n");
    writeFile(folder / "QL2000-0000.ini",
              "[Common]\nName=QL2000\nLang0_Desc=X\n");  // one character
    writeFile(folder / "QY9000-0000.INI", "[Common]\nName=QY9000-0000\nLang0_Desc= Feldbus Y \n");
    writeFile(folder / "qz5000-0000.INI", "[Common]\nName=QZ5000-0000\nLang0_Desc=lower case\n");
    writeFile(folder / "QZ7000-0000.TXT", "[Common]\nName=QZ7000-0000\n");
    // Damaged descriptions name no type: a rail of type "0" is never offered.
    writeFile(folder / "QZ8000-0000.INI", "");
    writeFile(folder / "QY8000-0000.INI", "[Common]\nLang0_Desc=ohne Typ\n");
    auto list = gfInitCouplerTypeList();
    EXPECT_EQ(list.entries,
              (std::vector<std::string>{"QY9000-0000,         Feldbus Y",
                                        "QZ3100-0000,         Buskoppler Testreihe", "QL2000-0000",
                                        "QI1000-0000,         Steuerung"}));
    EXPECT_EQ(list.selected, 0);
    context().LanguageNr = 1;
    EXPECT_EQ(gfInitCouplerTypeList().entries[1], "QZ3100-0000,         Bus coupler test series");

    // Nothing in the first pass: nothing is selected.
    std::filesystem::remove(folder / "QY9000-0000.INI");
    std::filesystem::remove(folder / "QZ3100-0000.INI");
    auto later = gfInitCouplerTypeList();
    EXPECT_EQ(later.entries.size(), 2u);
    EXPECT_EQ(later.selected, -1);
}

TEST(ShippedCouplerTypes, EveryListedTypeHasADescriptionNamedAfterIt) {
    std::filesystem::path shipped = platform::resourceDir();
    if (!std::filesystem::exists(shipped / "Coupler")) GTEST_SKIP() << "no resource folder yet";
    AppContext context;
    ContextScope scope(context);
    context.VarnakProject =
        std::make_shared<clsProject>(shipped.parent_path().string(), shipped.string());
    auto list = gfInitCouplerTypeList();
    ASSERT_FALSE(list.entries.empty());
    EXPECT_EQ(list.selected, 0);
    for (std::string entry : list.entries) {
        std::string type = gfGetTypeFromListEntry(entry);
        EXPECT_NE(entry.find(",         "), std::string::npos) << entry;
        std::string file = (shipped / "Coupler" / (type + ".INI")).string();
        EXPECT_EQ(ini::readString(file, "Common", "Name"), type);
    }
}

}  // namespace
}  // namespace varnak::test
