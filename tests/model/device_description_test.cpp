// Damaged device descriptions: a description that names no device type is refused where a
// type is inserted or a rail created, and read as missing (the fallback description)
// everywhere else; every other description works as it stands.
#include "model/device_description.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <tuple>

#include "platform/unexamined_result.h"
#include "tests/model/project_fixture.h"
#include "tests/support/description_damage.h"

namespace varnak::test {
namespace {

class DeviceDescriptions : public ::testing::Test, public ProjectFixture {
  protected:
    void SetUp() override {
        ASSERT_EQ(newProject("P"), kStoreOk);
        ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, "R"), kStoreOk);
        ASSERT_EQ(terminals()->Add("QT3002-0000", 1, 2, 1), kStoreOk);
    }
    std::string terminalDescription(const std::string& type) {
        return (resources() / "Terminal" / (type + ".INI")).string();
    }
};

// Each way a description is damaged: it names no device type.
const std::pair<const char*, std::function<void(DescriptionDamage&)>> kDamages[] = {
    {"random bytes", [](DescriptionDamage& d) { d.randomBytes(3); }},
    {"empty", [](DescriptionDamage& d) { d.cutTo(0); }},
    {"cut before its type", [](DescriptionDamage& d) { d.cutTo(9); }},
    {"an empty type", [](DescriptionDamage& d) { d.replace("Name=", "Name= \nOldName="); }},
};

TEST_F(DeviceDescriptions, ADamagedTerminalDescriptionInsertsNothingAndReadsAsMissing) {
    DescriptionDamage description(terminalDescription("QT4002-0000"));
    for (const auto& [what, damage] : kDamages) {
        SCOPED_TRACE(what);
        damage(description);
        ini::dropCache();
        EXPECT_EQ(descriptionState(description.path().string()), DescriptionState::Refused);
        EXPECT_EQ(terminals()->Add("QT4002-0000", 1, 2, 1), kStoreDescriptionRefused);
        EXPECT_EQ(terminals()->Count(), 2);
        EXPECT_EQ(terminals()->TermID(), 2);
        EXPECT_EQ(terminals()->ItemPos(1)->ConfSymbolicID(), 1);
        // Read anyway, it is the fallback's terminal, as for a type without description.
        auto read = std::make_shared<clsTerminal>();
        ignoreLoadResult(read->InfoRetrieveData(description.path().string()));
        EXPECT_EQ(read->InfoName(), "Unknown");
    }
    description.missing();
    EXPECT_EQ(descriptionState(description.path().string()), DescriptionState::Missing);
    ASSERT_EQ(terminals()->Add("QT4002-0000", 3, 1, 1), kStoreOk);
    EXPECT_EQ(terminals()->ItemPos(3)->InfoName(), "Unknown");
}

TEST_F(DeviceDescriptions, DescriptionsThatNameTheirTypeWorkAsTheyStand) {
    const std::pair<const char*, const char*> readable[] = {
        {"QT7001-0000", "[Common]\nName=QT7001-0000\n"},  // cut right after its type
        {"QT7002-0000",
         "[Common]\nName=QT7002-0000\nLang0_Desc=ohne Aufbau\n"
         "[RegValue_Table0]\nReg32=0x0001\n"},  // no Reg10-Reg12
        {"QT7003-0000", "[Common]\r\nName = QT7003-0000 \r\n"},
    };
    for (const auto& [type, text] : readable) {
        writeFile(terminalDescription(type), text);
        EXPECT_EQ(descriptionState(terminalDescription(type)), DescriptionState::Usable) << type;
        ASSERT_EQ(terminals()->Add(type, 1, 1, 1), kStoreOk) << type;
        EXPECT_EQ(terminals()->ItemPos(1)->InfoName(), type);
        EXPECT_EQ(terminals()->ItemPos(1)->InfoNrLogSigChnl(), 0);
    }
    ASSERT_EQ(rail()->ConfSaveData(), kStoreOk);
    ASSERT_EQ(openRail("P", "R"), kStoreOk);
    EXPECT_EQ(terminals()->Count(), 5);
    EXPECT_TRUE(terminals()->UnusedFiles().empty());
}

TEST_F(DeviceDescriptions, ADamagedCouplerDescriptionCreatesNoRailAndReadsAsMissing) {
    DescriptionDamage description(resources() / "Coupler" / "QZ3100-0000.INI");
    const std::string projectFile = (projectFolder("P") / "P.VMT").string();
    for (const auto& [what, damage] : kDamages) {
        SCOPED_TRACE(what);
        damage(description);
        ini::dropCache();
        EXPECT_EQ(couplers()->Add("QZ3100-0000", 2, "S"), kStoreDescriptionRefused);
        EXPECT_EQ(couplers()->RailName(), "R");  // still loaded, not saved away
        EXPECT_EQ(ini::readString(projectFile, "Config", "CouplerID"), "1");
        auto read = std::make_shared<clsCoupler>();
        ignoreLoadResult(read->ConfRetrieveData(description.path().string()));
        EXPECT_EQ(read->InfoName(), "Unknown");
    }
    EXPECT_FALSE(std::filesystem::exists(railFolder("P", "S")));
    EXPECT_EQ(newDeviceRefusalText(kStoreDescriptionRefused, description.path().string()),
              "Die Gerätebeschreibung nennt keinen Gerätetyp ([Common] Name): sie ist "
              "beschädigt und wird nicht verwendet.\r\n\r\n" +
                  description.path().string());
}

// Where an interrupted copy stopped decides: inside a line of a table's values, that table
// may have lost them; after a whole line, or inside a section after the values, nothing is.
TEST_F(DeviceDescriptions, ACouplerDescriptionCutInsideALineOfValuesCreatesNoRail) {
    DescriptionDamage description(resources() / "Coupler" / "QZ3100-0000.INI");
    const std::string& text = description.original();
    auto after = [&](const std::string& part) { return text.find(part) + part.size(); };
    const std::tuple<const char*, size_t, std::optional<int32_t>> cuts[] = {
        {"inside table 100", after("Reg5=0x00"), 100},
        {"inside table 0", after("Reg11=0x0"), 0},
        {"after a whole line", after("Reg11=0x000B\r\n"), std::nullopt},
        {"inside the register texts", text.size() - 2, std::nullopt},
    };
    for (const auto& [what, bytes, table] : cuts) {
        SCOPED_TRACE(what);
        description.cutTo(bytes);
        ini::dropCache();
        EXPECT_EQ(tableCutShort(description.path().string()), table);
        if (!table) continue;
        EXPECT_EQ(couplers()->Add("QZ3100-0000", 2, "S"), kStoreDescriptionCutShort);
        EXPECT_EQ(couplers()->RailName(), "R");
        EXPECT_FALSE(std::filesystem::exists(railFolder("P", "S")));
    }
    EXPECT_EQ(newDeviceRefusalText(kStoreDescriptionCutShort, description.path().string()),
              "Die Gerätebeschreibung ist abgeschnitten: sie endet mitten in einer Zeile ihrer "
              "Registerwerte, wie ein unterbrochenes Kopieren sie hinterlässt, und wird hier nicht "
              "verwendet. Eine vollständige Kopie im Ressourcenordner behebt das.\r\n\r\n" +
                  description.path().string());
    // The online road builds the terminal from a description cut inside its channel values:
    // the upload reads those registers from the device.
    DescriptionDamage terminal(terminalDescription("QT4002-0000"));
    terminal.cutTo(terminal.original().size() - 3);
    EXPECT_EQ(newDeviceRefusal(terminal.path().string(), kChannelDefaultsTable),
              kStoreDescriptionCutShort);
    EXPECT_EQ(terminals()->Add("QT4002-0000", 1, 1, 1), kStoreOk);
}

}  // namespace
}  // namespace varnak::test
