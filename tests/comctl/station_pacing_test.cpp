// The simulated station's pace, seen from the line: the timing tests need a reply's head
// before its tail, the benchmarks a reply with no gap a busy machine could open in it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <utility>

#include "tests/comctl/telegram_bytes.h"
#include "tests/support/sim_station.h"

namespace varnak::test {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr size_t kReplyBytes = 12 + 2 * 64;  // a read of 64 registers
constexpr auto wireTime(size_t bytes) {
    return std::chrono::microseconds(static_cast<int64_t>(bytes) * 11 * 1'000'000 / 9600);
}

// From sending a read of 64 registers at 9600 baud to its reply's first and last byte.
std::pair<Clock::duration, Clock::duration> replyTimes(int line) {
    const std::string request =
        withChecksum(std::string("\xFD\x02\x0C\x00\x01\x40R\x00\x09\x00\x00\x00", 12));
    const auto sent = Clock::now();
    EXPECT_EQ(::write(line, request.data(), request.size()), ssize_t(request.size()));
    std::pair<Clock::duration, Clock::duration> times;
    char buffer[512];
    for (size_t got = 0; got < kReplyBytes;) {
        pollfd p{line, POLLIN, 0};
        const ssize_t n = ::poll(&p, 1, 5000) > 0 ? ::read(line, buffer, sizeof buffer) : 0;
        if (n <= 0) return {};
        if (got == 0) times.first = Clock::now() - sent;
        times.second = Clock::now() - sent;
        got += static_cast<size_t>(n);
    }
    return times;
}

TEST(StationPacing, AReplyTakesItsWireTimeWholeOrByteByByte) {
    SimStation station(1, 0);
    station.addTable(0, 9, 256);
    const int line = ::open(station.devicePath().c_str(), O_RDWR | O_NOCTTY);
    termios t{};
    ::tcgetattr(line, &t);
    ::cfmakeraw(&t);
    ::cfsetspeed(&t, B9600);
    ::tcsetattr(line, TCSANOW, &t);
    const auto wire = wireTime(12 + kReplyBytes);
    // A busy machine may wake the station late: the upper bounds leave it a second. Whole,
    // no gap as long as the one that ends the control's read of a reply (20 ms).
    station.setPacing(SimStation::Pacing::WholeReplies);
    const auto [head, tail] = replyTimes(line);
    EXPECT_GE(head, wire);
    EXPECT_LT(tail - head, milliseconds(20));
    EXPECT_LT(tail, wire + milliseconds(1000));
    station.setPacing(SimStation::Pacing::ByteByByte);
    const auto [byteHead, byteTail] = replyTimes(line);
    EXPECT_GE(byteTail, wire);
    EXPECT_GT(byteTail - byteHead, wireTime(kReplyBytes) / 2);
    EXPECT_LT(byteTail, wire + milliseconds(1000));
    ::close(line);
}

}  // namespace
}  // namespace varnak::test
