// The file-backed registry stand-in and the per-user settings store.
#include "platform/registry_store.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/ini_file.h"
#include "tests/platform/ini_test_support.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"

namespace varnak::test {
namespace {

using platform::RegistryStore;
using platform::UserSettings;
namespace fs = std::filesystem;

class Registry : public ::testing::Test {
  protected:
    void SetUp() override { ini::dropCache(); }
    void TearDown() override { ini::dropCache(); }
    TempDir dir;
};

TEST_F(Registry, ConfigFolderComesFromTheEnvironment) {
    {
        ScopedEnv config("VARNAK_CONFIG_DIR", dir.str().c_str());
        EXPECT_EQ(platform::configDir(), dir.path());
        EXPECT_EQ(RegistryStore().file(), dir.path() / "machine.ini");
        EXPECT_EQ(UserSettings().file(), dir.path() / "settings.ini");
    }
    ScopedEnv noConfig("VARNAK_CONFIG_DIR", nullptr);
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", "/xdg/home");
        EXPECT_EQ(platform::configDir(), fs::path("/xdg/home/varnak"));
    }
    ScopedEnv relativeXdg("XDG_CONFIG_HOME", "relative");
    ScopedEnv home("HOME", "/home/someone");
    EXPECT_EQ(platform::configDir(), fs::path("/home/someone/.config/varnak"));
}

TEST_F(Registry, ValuesRoundTripWithCaseInsensitiveKeys) {
    ScopedEnv config("VARNAK_CONFIG_DIR", (dir / "new" / "folder").c_str());
    RegistryStore store;
    std::string value = "untouched";
    EXPECT_FALSE(store.readValue("Software\\Varnak", "Language", value));
    EXPECT_EQ(value, "untouched");
    EXPECT_FALSE(fs::exists(store.file()));

    EXPECT_TRUE(store.writeValue("Software\\Varnak", "Language", "1"));
    EXPECT_TRUE(fs::exists(dir / "new" / "folder" / "machine.ini"));
    EXPECT_TRUE(store.readValue("SOFTWARE\\varnak", "language", value));
    EXPECT_EQ(value, "1");
    EXPECT_TRUE(store.createValue("Software\\Varnak", "Modification", "3"));
    EXPECT_TRUE(store.writeValue("software\\VARNAK", "LANGUAGE", "0"));
    // A fresh store object (a new program start) reads what reached the disk.
    ini::dropCache();
    RegistryStore again;
    EXPECT_TRUE(again.readValue("Software\\Varnak", "Language", value));
    EXPECT_EQ(value, "0");
    EXPECT_TRUE(again.readValue("Software\\Varnak", "Modification", value));
    EXPECT_EQ(value, "3");
    EXPECT_TRUE(again.deleteValue("Software\\Varnak", "modification"));
    EXPECT_FALSE(again.readValue("Software\\Varnak", "Modification", value));
}

TEST_F(Registry, BlanksAndQuotesAtTheEndsOfValuesSurvive) {
    RegistryStore store(dir / "machine.ini");
    const std::vector<std::string> values = {" lead",    "trail ", "\tboth\t", "   ",  "\"quoted\"",
                                             "'single'", "\"open", "",         "plain"};
    for (size_t i = 0; i < values.size(); ++i)
        EXPECT_TRUE(store.writeValue("K", numbered("V", i), values[i]));
    ini::dropCache();
    for (size_t i = 0; i < values.size(); ++i) {
        std::string value = "x";
        EXPECT_TRUE(store.readValue("K", numbered("V", i), value));
        EXPECT_EQ(value, values[i]) << "value " << i;
    }
}

TEST_F(Registry, UserSettingsKeepApplicationsApart) {
    UserSettings settings(dir / "settings.ini");
    EXPECT_EQ(settings.getSetting("Varnak", "Settings", "Port", "2"), "2");
    EXPECT_TRUE(settings.saveSetting("Varnak", "Settings", "Port", "5"));
    EXPECT_TRUE(settings.saveSetting("Other Company", "Settings", "Port", "7"));
    EXPECT_EQ(settings.getSetting("VARNAK", "settings", "PORT", "2"), "5");
    EXPECT_EQ(settings.getSetting("Other Company", "Settings", "Port", "2"), "7");
    EXPECT_TRUE(settings.saveSetting("Varnak", "Settings", "Empty", ""));
    EXPECT_EQ(settings.getSetting("Varnak", "Settings", "Empty", "dflt"), "");
    EXPECT_TRUE(settings.deleteSetting("Varnak", "Settings", "Port"));
    EXPECT_EQ(settings.getSetting("Varnak", "Settings", "Port", "2"), "2");
    EXPECT_EQ(settings.getSetting("Other Company", "Settings", "Port", "2"), "7");
}

TEST_F(Registry, StoreInTheWorkingFolderWorks) {
    fs::path old = fs::current_path();
    fs::current_path(dir.path());
    RegistryStore store(fs::path("machine.ini"));
    EXPECT_TRUE(store.writeValue("K", "V", "1"));
    std::string value;
    EXPECT_TRUE(store.readValue("K", "V", value));
    fs::current_path(old);
    EXPECT_TRUE(fs::exists(dir / "machine.ini"));
    EXPECT_EQ(value, "1");
}

TEST_F(Registry, RefusedWriteIsReported) {
    // The store's file is a folder: nothing can be written there.
    fs::create_directories(dir / "machine.ini");
    RegistryStore store(dir / "machine.ini");
    EXPECT_FALSE(store.writeValue("K", "Language", "1"));
    std::string value;
    EXPECT_FALSE(store.readValue("K", "Language", value));
}

}  // namespace
}  // namespace varnak::test
