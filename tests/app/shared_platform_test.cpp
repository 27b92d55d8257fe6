// The program and the control share one platform layer, linked as the program links them:
// what one side writes into an INI file the other reads back from the same cache, even
// while the write is still pending or the file is not checked again on disk.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "comctl/QZcomOCX.h"
#include "platform/ini_file.h"
#include "platform/registry_store.h"
#include "tests/support/pty.h"
#include "tests/support/temp_dir.h"

namespace varnak::test {
namespace {

class SharedPlatform : public ::testing::Test {
  protected:
    SharedPlatform() {
        setenv("VARNAK_CONFIG_DIR", dir.str().c_str(), 1);
        unsetenv("VARNAK_COM6");  // the port is found through the settings file alone
    }
    ~SharedPlatform() override { unsetenv("VARNAK_CONFIG_DIR"); }

    TempDir dir;
};

TEST_F(SharedPlatform, APortMappingTheProgramHasNotYetSavedIsTheOneTheControlOpens) {
    Pty line;
    const std::string settings = (dir / "settings.ini").string();
    ini::IniBatch batch;  // keeps the program's write in the cache until it ends
    ASSERT_TRUE(
        ini::WritePrivateProfileString("QZcomOCX\\Ports", "COM6", line.slavePath(), settings));
    ASSERT_FALSE(std::filesystem::exists(settings));
    QZcomOCX control;
    control.setQZxCommPort(6);
    control.setQZxBaudrate(qzcom::Baud_19200);
    EXPECT_NO_THROW(control.setQZxPortOpen(true));
    EXPECT_EQ(line.baud(), 19200);  // the control set up this line, not another device
}

TEST_F(SharedPlatform, WhatTheControlRegistersTheProgramReadsWithinOneRun) {
    platform::RegistryStore machine;
    ini::IniRun run;  // the program looks at the file on disk once in a run
    std::string clsid;
    ASSERT_FALSE(machine.readValue(kQZcomProgId, "CLSID", clsid));
    ASSERT_EQ(DllRegisterServer(), 0);
    EXPECT_TRUE(machine.readValue(kQZcomProgId, "CLSID", clsid));
    EXPECT_FALSE(clsid.empty());
}

}  // namespace
}  // namespace varnak::test
