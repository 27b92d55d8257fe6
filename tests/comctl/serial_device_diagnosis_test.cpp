// Why a port's device does not open, as the user is told after a failed open: each cause
// produced for real on a device or file of its kind.
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/serial_port.h"
#include "tests/support/pty.h"
#include "tests/support/temp_dir.h"

namespace varnak::test {
namespace {

using platform::SerialDeviceFault;

// The diagnosis as a user without privileges gets it: root tries in a child that has
// given up its rights, since root opens any file.
platform::SerialDeviceDiagnosis diagnoseUnprivileged(const std::string& device) {
    if (geteuid() != 0) return platform::diagnoseSerialDevice(device);
    int channel[2];
    if (pipe(channel) != 0) return {SerialDeviceFault::Other, "", "no pipe"};
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        constexpr uid_t kNobody = 65534;
        if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(99);
        const auto d = platform::diagnoseSerialDevice(device);
        const std::string group = d.group;
        if (write(channel[1], group.data(), group.size()) < 0) _exit(98);
        _exit(static_cast<int>(d.fault));
    }
    close(channel[1]);
    platform::SerialDeviceDiagnosis d;
    char buffer[256];
    for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;) d.group.append(buffer, n);
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    d.fault = static_cast<SerialDeviceFault>(WIFEXITED(status) ? WEXITSTATUS(status) : 99);
    return d;
}

std::string groupName(const std::string& path) {
    struct stat st {};
    stat(path.c_str(), &st);
    const group* g = getgrgid(st.st_gid);
    return g ? g->gr_name : "";
}

TEST(SerialDeviceDiagnosis, EachCauseOnADeviceOfItsKind) {
    TempDir dir;
    writeFile(dir / "plain", "");
    Pty free;
    EXPECT_EQ(platform::diagnoseSerialDevice(free.slavePath()).fault, SerialDeviceFault::None);
    EXPECT_EQ(platform::diagnoseSerialDevice(dir.str() + "/ttyUSB7").fault,
              SerialDeviceFault::Missing);
    EXPECT_EQ(platform::diagnoseSerialDevice(dir.str() + "/plain").fault,
              SerialDeviceFault::NotSerial);
    EXPECT_EQ(platform::diagnoseSerialDevice(dir.str()).fault, SerialDeviceFault::NotSerial);

    // Another program holds the line exclusively.
    Pty held;
    ASSERT_EQ(ioctl(held.slave(), TIOCEXCL), 0);
    EXPECT_EQ(platform::diagnoseSerialDevice(held.slavePath()).fault, SerialDeviceFault::InUse);
    ioctl(held.slave(), TIOCNXCL);
    EXPECT_EQ(platform::diagnoseSerialDevice(held.slavePath()).fault, SerialDeviceFault::None);
}

TEST(SerialDeviceDiagnosis, NoPermissionNamesTheGroupThatMayOpenIt) {
    TempDir dir;
    chmod(dir.str().c_str(), 0755);
    const std::string groupOnly = dir.str() + "/group-only";
    const std::string nobodys = dir.str() + "/nobodys";
    writeFile(groupOnly, "");
    writeFile(nobodys, "");
    // The owner is refused too when only the group may read and write.
    chmod(groupOnly.c_str(), 0060);
    chmod(nobodys.c_str(), 0);
    const auto byGroup = diagnoseUnprivileged(groupOnly);
    EXPECT_EQ(byGroup.fault, SerialDeviceFault::NoPermission);
    EXPECT_EQ(byGroup.group, groupName(groupOnly));
    const auto noGroup = diagnoseUnprivileged(nobodys);
    EXPECT_EQ(noGroup.fault, SerialDeviceFault::NoPermission);
    EXPECT_EQ(noGroup.group, "dialout");  // where serial ports usually belong
}

}  // namespace
}  // namespace varnak::test
