// The termios layer on its own, against the far end of a pseudo-terminal.
#include "platform/serial_port.h"

#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstring>
#include <thread>

#include "tests/support/pty.h"

namespace varnak::test {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A time-out must end: the upper bound leaves a busy machine a second of margin.
TEST(SerialPort, TotalTimeoutGrowsWithTheBytesAsked) {
    Pty pty;
    platform::SerialPort port;
    ASSERT_TRUE(port.open(pty.slavePath(), 38400, 100));
    std::array<uint8_t, 5> buffer{};
    for (size_t asked : {1u, 5u}) {
        const auto start = Clock::now();
        EXPECT_EQ(port.read(std::span(buffer).first(asked)), 0u);
        const auto took = Clock::now() - start;
        EXPECT_GE(took, milliseconds(100 * (asked + 1)));
        EXPECT_LT(took, milliseconds(100 * (asked + 1) + 1000));
    }
}

TEST(SerialPort, PartialReadsAccumulateUntilAllBytesArrive) {
    Pty pty;
    platform::SerialPort port;
    ASSERT_TRUE(port.open(pty.slavePath(), 38400, 100));
    // A busy machine may stretch a 5 ms pause past the 20 ms that end a read: one of a few
    // tries must join the pieces.
    std::string got;
    for (int attempt = 0; attempt < 5 && got != "abcdefg"; ++attempt) {
        std::thread device([&] {
            for (const char* piece : {"ab", "c", "defg"}) {
                std::this_thread::sleep_for(milliseconds(5));
                ASSERT_GT(::write(pty.master(), piece, std::strlen(piece)), 0);
            }
        });
        std::array<uint8_t, 7> buffer{};
        const size_t n = port.read(buffer);
        device.join();
        got.assign(buffer.begin(), buffer.begin() + static_cast<ptrdiff_t>(n));
        while (port.readWithin(buffer, 50) > 0) {  // what a failed try left behind
        }
    }
    EXPECT_EQ(got, "abcdefg");
}

TEST(SerialPort, PurgeDiscardsInputThatArrivedBefore) {
    Pty pty;
    platform::SerialPort port;
    ASSERT_TRUE(port.open(pty.slavePath(), 38400, 5));
    ASSERT_EQ(::write(pty.master(), "stale", 5), 5);
    // The bytes reach this end through the kernel's own work: wait until all are there.
    int pending = 0;
    for (const auto until = Clock::now() + std::chrono::seconds(10);
         pending < 5 && Clock::now() < until; std::this_thread::sleep_for(milliseconds(1)))
        ASSERT_EQ(::ioctl(pty.slave(), FIONREAD, &pending), 0);
    ASSERT_EQ(pending, 5);
    port.purge();
    std::array<uint8_t, 1> buffer{};
    EXPECT_EQ(port.read(buffer), 0u);
    const std::array<uint8_t, 3> telegram{1, 2, 3};
    EXPECT_EQ(port.write(telegram), 3u);
    port.drain();
    std::array<char, 3> got{};
    EXPECT_EQ(::read(pty.master(), got.data(), got.size()), 3);
}

TEST(SerialPort, BootLoaderSettingsAndBack) {
    Pty pty;
    platform::SerialPort port;
    ASSERT_TRUE(port.open(pty.slavePath(), 9600, 10));
    EXPECT_EQ(pty.baud(), 9600);
    EXPECT_TRUE(port.useBootLoaderSettings());
    EXPECT_EQ(pty.baud(), 38400);
    EXPECT_TRUE(port.restoreLineSettings());
    EXPECT_EQ(pty.baud(), 9600);
}

TEST(SerialPort, ClosedPortNeitherWritesNorReads) {
    platform::SerialPort port;
    const std::array<uint8_t, 2> bytes{1, 2};
    std::array<uint8_t, 2> buffer{};
    EXPECT_EQ(port.write(bytes), 0u);
    EXPECT_EQ(port.read(buffer), 0u);
    EXPECT_FALSE(port.setRts(true));
    EXPECT_FALSE(port.open("/dev/null", 38400, 10));  // not a serial device
    EXPECT_FALSE(port.isOpen());
}

}  // namespace
}  // namespace varnak::test
