#pragma once
// A control whose port is a pseudo-terminal with a simulated station at the other end.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>
#include <string>
#include <vector>

#include "comctl/QZcomOCX.h"
#include "tests/comctl/telegram_bytes.h"
#include "tests/support/sim_station.h"

namespace varnak::test {

using namespace qzcom;

class StationTest : public ::testing::Test {
  protected:
    static constexpr int kPort = 3;
    // The station answers at once, so a long reply time-out costs a passing request nothing
    // and holds on a machine busy with other work.
    static constexpr int kReplyTimeoutMs = 1000;
    // For requests that must end in waiting for a reply that never comes; the outcome is the
    // same however late the machine lets the station run.
    static constexpr int kSilenceTimeoutMs = 10;

    StationTest() : station(1, 4) {
        setenv("VARNAK_COM3", station.devicePath().c_str(), 1);
        configure();
    }
    ~StationTest() override { unsetenv("VARNAK_COM3"); }

    void open() { control.setQZxPortOpen(true); }
    // The time-out takes effect at the next open.
    void reopenWithTimeout(int ms) {
        control.setQZxTimeout(ms);
        open();
    }
    // A request expected to end with code ComErrTimeout1 waits only briefly; every other
    // one waits long enough for its reply.
    void reopenFor(int32_t code) {
        reopenWithTimeout(code == ComErrTimeout1 ? kSilenceTimeoutMs : kReplyTimeoutMs);
    }

    // A control made anew, with its port closed: a line on which no reply is owed to an
    // earlier request, for a case that must not meet what the cases before it left.
    void renewControl() {
        holder_.emplace();
        configure();
    }

    SimStation station;

  private:
    void configure() {
        control.setQZxCommPort(kPort);
        control.setQZxTyp(QZxType_RS232);
        control.setQZxTimeout(kReplyTimeoutMs);
    }

    std::optional<QZcomOCX> holder_{std::in_place};

  protected:
    // Stays the control through renewControl(): the new one takes the old one's place.
    QZcomOCX& control = *holder_;
};

}  // namespace varnak::test
