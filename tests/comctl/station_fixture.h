#pragma once
// A control whose port is a pseudo-terminal with a simulated station at the other end.
#include <gtest/gtest.h>
#include <stdlib.h>

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

    StationTest() : station(1, 4) {
        setenv("VARNAK_COM3", station.devicePath().c_str(), 1);
        control.setQZxCommPort(kPort);
        control.setQZxTyp(QZxType_RS232);
        control.setQZxTimeout(10);
    }
    ~StationTest() override { unsetenv("VARNAK_COM3"); }

    void open() { control.setQZxPortOpen(true); }

    SimStation station;
    QZcomOCX control;
};

}  // namespace varnak::test
