// The control object: properties, opening and closing the port, entry points.
#include <dirent.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <filesystem>

#include "platform/com_port_map.h"
#include "platform/registry_store.h"
#include "tests/comctl/station_fixture.h"
#include "tests/support/temp_dir.h"

using namespace qzcom;

namespace varnak::test {
namespace {

namespace fs = std::filesystem;

// Descriptors of this process that refer to path.
int openCount(const std::string& path) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
        std::error_code ec;
        if (fs::read_symlink(entry.path(), ec) == path) ++count;
    }
    return count;
}

// Sets an environment variable for the life of the object.
class EnvScope {
  public:
    EnvScope(const char* name, const std::string& value) : name_(name) {
        setenv(name, value.c_str(), 1);
    }
    ~EnvScope() { unsetenv(name_); }

  private:
    const char* name_;
};

TEST(ControlProperties, DefaultsAndPutRules) {
    QZcomOCX control;
    EXPECT_EQ(control.QZxCommPort(), 2);
    EXPECT_EQ(control.QZxBaudrate(), Baud_38400);
    EXPECT_EQ(control.QZxTyp(), QZxType_RS485);
    EXPECT_EQ(control.QZxTimeout(), 10);
    EXPECT_FALSE(control.QZxPortOpen());
    EXPECT_FALSE(control.modified());

    for (int ignored : {0, 9, -1, 1000}) control.setQZxCommPort(ignored);
    EXPECT_EQ(control.QZxCommPort(), 2);
    EXPECT_FALSE(control.modified());
    control.setQZxCommPort(8);
    EXPECT_EQ(control.QZxCommPort(), 8);
    EXPECT_TRUE(control.modified());
    control.setQZxCommPort(1);
    EXPECT_EQ(control.QZxCommPort(), 1);

    const std::array<std::pair<int, int>, 6> rates{
        {{9600, 9600}, {19200, 19200}, {38400, 38400}, {4800, 38400}, {0, 38400}, {115200, 38400}}};
    for (auto [put, stored] : rates) {
        control.setQZxBaudrate(put);
        EXPECT_EQ(control.QZxBaudrate(), stored) << put;
    }
    control.setQZxTyp(7);
    EXPECT_EQ(control.QZxTyp(), 7);
    control.setQZxTimeout(-3);
    EXPECT_EQ(control.QZxTimeout(), -3);
}

TEST(ControlPort, MissingDeviceThrowsAndLeavesThePortClosed) {
    TempDir dir;
    SimStation station;
    station.addTable(0, 9, 4);
    const std::string missing = (dir / "ttyMissing").string();
    EnvScope good("VARNAK_COM4", station.devicePath());
    EnvScope bad("VARNAK_COM5", missing);
    EnvScope notTty("VARNAK_COM6", (dir / "plain").string());
    writeFile(dir / "plain", "not a tty");

    QZcomOCX control;
    control.setQZxCommPort(4);
    control.setQZxPortOpen(true);
    ASSERT_TRUE(control.QZxPortOpen());
    for (int port : {5, 6}) {
        control.setQZxCommPort(port);
        try {
            control.setQZxPortOpen(true);
            ADD_FAILURE() << "no error for port " << port;
        } catch (const QZcomError& e) {
            EXPECT_EQ(e.code(), 0x800A1F42u);
            EXPECT_STREQ(e.what(), "8002 Invalid port number QZcom");
        }
        EXPECT_FALSE(control.QZxPortOpen());
    }
    EXPECT_FALSE(fs::exists(missing));  // a missing device is never created
    EXPECT_EQ(readFile(dir / "plain"), "not a tty");
    EXPECT_EQ(openCount(station.devicePath()), 1);  // only the station's own end
}

TEST_F(StationTest, ReopeningAndClosingThePort) {
    station.addTable(0, 9, 4);
    station.setRegister(0, 9, 0, 0xBEEF);
    std::array<int32_t, 1> value{};
    open();
    open();  // closes and opens again
    EXPECT_TRUE(control.QZxPortOpen());
    EXPECT_EQ(openCount(station.devicePath()), 2);
    EXPECT_EQ(control.QZxRegSyncReadReq(0, 9, 0, 1, 1, value), ComErrNo);
    EXPECT_EQ(value[0], 0xBEEF);
    control.setQZxPortOpen(false);
    EXPECT_FALSE(control.QZxPortOpen());
    EXPECT_EQ(openCount(station.devicePath()), 1);
    open();
    EXPECT_EQ(control.QZxRegSyncReadReq(0, 9, 0, 1, 1, value), ComErrNo);
}

TEST_F(StationTest, PortChangeWaitsForTheNextOpen) {
    SimStation other(1);
    other.addTable(0, 9, 4);
    other.setRegister(0, 9, 0, 2);
    station.addTable(0, 9, 4);
    station.setRegister(0, 9, 0, 1);
    EnvScope env("VARNAK_COM7", other.devicePath());
    open();
    control.setQZxCommPort(7);
    std::array<int32_t, 1> value{};
    ASSERT_EQ(control.QZxRegSyncReadReq(0, 9, 0, 1, 1, value), ComErrNo);
    EXPECT_EQ(value[0], 1);
    open();
    ASSERT_EQ(control.QZxRegSyncReadReq(0, 9, 0, 1, 1, value), ComErrNo);
    EXPECT_EQ(value[0], 2);
}

TEST_F(StationTest, DestroyingTheControlReleasesThePort) {
    {
        QZcomOCX* created = QZcomOCX_Create();
        created->setQZxCommPort(kPort);
        created->setQZxPortOpen(true);
        EXPECT_EQ(openCount(station.devicePath()), 2);
        QZcomOCX_Destroy(created);
    }
    EXPECT_EQ(openCount(station.devicePath()), 1);
}

TEST_F(StationTest, LineIsRawEightBitsWithoutFlowControl) {
    control.setQZxBaudrate(Baud_9600);
    open();
    termios t{};
    ASSERT_EQ(tcgetattr(station.lineFd(), &t), 0);
    EXPECT_EQ(cfgetospeed(&t), B9600);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & (CSTOPB | CRTSCTS), 0u);
    EXPECT_NE(t.c_cflag & CLOCAL, 0u);
    EXPECT_NE(t.c_cflag & CREAD, 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | ICRNL | ISTRIP), 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    // A pseudo-terminal drops the parity bit; the open still succeeds, also a second time.
    open();
    EXPECT_TRUE(control.QZxPortOpen());
}

TEST(ComPortMap, EnvironmentThenUserSettingThenDefault) {
    TempDir dir;
    EnvScope config("VARNAK_CONFIG_DIR", dir.str());
    unsetenv("VARNAK_COM4");
    EXPECT_EQ(platform::comPortDevice(4), "/dev/ttyS3");
    EXPECT_EQ(platform::comPortDevice(1), "/dev/ttyS0");

    ASSERT_TRUE(platform::UserSettings().saveSetting("QZcomOCX", "Ports", "COM4",
                                                     "/dev/serial/by-id/usb-adapter"));
    EXPECT_EQ(platform::comPortDevice(4), "/dev/serial/by-id/usb-adapter");
    EXPECT_EQ(platform::comPortDevice(3), "/dev/ttyS2");
    {
        EnvScope env("VARNAK_COM4", "/dev/pts/77");
        EXPECT_EQ(platform::comPortDevice(4), "/dev/pts/77");
    }
    EnvScope empty("VARNAK_COM4", "");
    EXPECT_EQ(platform::comPortDevice(4), "/dev/serial/by-id/usb-adapter");
}

TEST(ControlRegistration, RecordsAndRemovesTheClass) {
    TempDir dir;
    EnvScope config("VARNAK_CONFIG_DIR", dir.str());
    ASSERT_EQ(DllRegisterServer(), 0);

    platform::RegistryStore store;
    std::string clsid;
    ASSERT_TRUE(store.readValue("QZCOMOCX.QZcomOCXCtrl.1", "CLSID", clsid));
    std::string progId, path;
    ASSERT_TRUE(store.readValue("CLSID\\" + clsid, "ProgID", progId));
    EXPECT_EQ(progId, "QZCOMOCX.QZcomOCXCtrl.1");
    ASSERT_TRUE(store.readValue("CLSID\\" + clsid, "InprocServer32", path));
    EXPECT_NE(path.find("libqzcomocx.so"), std::string::npos) << path;
    EXPECT_TRUE(fs::exists(path));

    EXPECT_EQ(DllUnregisterServer(), 0);
    EXPECT_FALSE(store.readValue("QZCOMOCX.QZcomOCXCtrl.1", "CLSID", clsid));
    EXPECT_FALSE(store.readValue("CLSID\\" + clsid, "InprocServer32", path));
    EXPECT_EQ(DllUnregisterServer(), 0);  // nothing left to remove is no failure
}

TEST(ControlRegistration, UnwritableRegistryGivesTheSelfRegistrationCode) {
    TempDir dir;
    writeFile(dir / "file", "");
    EnvScope config("VARNAK_CONFIG_DIR", (dir / "file" / "sub").string());
    EXPECT_EQ(DllRegisterServer(), static_cast<int32_t>(0x80040200));
}

TEST(ControlAboutBox, AsksTheHostToShowItsText) {
    QZcomOCX control;
    control.AboutBox();  // no host service: nothing happens
    std::string caption, text;
    control.AboutBoxHandler = [&](const std::string& c, const std::string& t) {
        caption = c;
        text = t;
    };
    control.AboutBox();
    EXPECT_EQ(caption, "About Pelmun ActiveX Control");
    EXPECT_EQ(text, "Pelmun ActiveX Control, Version 2.0.0.5");
}

}  // namespace
}  // namespace varnak::test
