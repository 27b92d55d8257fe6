#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "comctl/gsd_generator.h"
#include "tests/comctl/gsd_fake_device.h"
#include "tests/comctl/station_fixture.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace varnak::test {
namespace {

// The control writes its log into the current folder; the test runs inside a temporary one.
class CurrentFolder {
  public:
    explicit CurrentFolder(const fs::path& folder) : previous_(fs::current_path()) {
        fs::current_path(folder);
    }
    ~CurrentFolder() { fs::current_path(previous_); }

  private:
    fs::path previous_;
};

class GsdControlTest : public StationTest {
  protected:
    // The same station in the simulated device on the line and in the register model.
    void setRegister(int railPos, int table, int reg, uint16_t value) {
        station.setRegister(railPos, table, reg, value);
        model.set(railPos, table, reg, value);
    }

    GsdFakeDevice model;
};

TEST_F(GsdControlTest, GeneratesTheSameFilesOverTheLineAsFromTheRegisterModel) {
    station.addTable(0, 0);
    station.addTable(0, 9);
    for (int terminal = 1; terminal <= 4; ++terminal) station.addTable(terminal, 0, 64);
    setRegister(0, 9, 0, 3120);
    setRegister(0, 0, 255, 0x0710);
    setRegister(0, 0, 3, 0x0004);
    const uint16_t terminals[] = {0x8801, 3002, 6001, 0x8402};
    for (int i = 0; i < 4; ++i) setRegister(0, 9, i + 1, terminals[i]);
    setRegister(3, 0, 35, 5);
    open();

    TempDir viaControl;
    {
        CurrentFolder inside(viaControl.path());
        EXPECT_EQ(control.QZxCreateGsdFile("plant.GSD", std::getenv("VARNAK_RESOURCE_DIR")), 0);
    }
    TempDir viaModel;
    gsd::GsdOptions options{viaModel / "GSD.LOG", gsd::localNow};
    ASSERT_EQ(gsd::createGsdFiles(model, (viaModel / "plant.GSD").string(),
                                  std::getenv("VARNAK_RESOURCE_DIR"), options),
              0);

    // The creation date may differ if midnight passes in between; nothing else may.
    for (const char* name : {"plant.gsg", "plant.gse"}) {
        std::string expected = readFile(viaModel / name);
        ASSERT_FALSE(expected.empty()) << name;
        EXPECT_EQ(readFile(viaControl / name), expected) << name;
    }
    std::string log = readFile(viaControl / "GSD.LOG");
    EXPECT_NE(log.find("Erzeuge \"plant.gsg\""), std::string::npos);
    EXPECT_NE(log.find("Best.-Nr.:'QZ3120'"), std::string::npos);
    EXPECT_NE(log.find("0 Fehler, 0 Warnung(en)"), std::string::npos);
}

TEST_F(GsdControlTest, WithoutAnAnsweringCouplerTheGenerationFails) {
    TempDir folder;
    CurrentFolder inside(folder.path());
    EXPECT_EQ(control.QZxCreateGsdFile("plant.GSD", std::getenv("VARNAK_RESOURCE_DIR")), -1);
    EXPECT_EQ(readFile(folder / "GSD.LOG"),
              "[ERROR]Typ des Buskoppler konnte nicht ausgelesen werden.\r\n"
              "[ERROR]1 Fehler, 0 Warnung(en)\r\n\r\n");
    EXPECT_FALSE(fs::exists(folder / "plant.gsg"));
}

}  // namespace
}  // namespace varnak::test
