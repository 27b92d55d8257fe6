#pragma once
// The ways a station may acknowledge a register write, by name ("count", "values", "empty"),
// for the station program's option and for tests run against each of them.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/support/sim_station.h"

namespace varnak::test {

const char* writeReplyName(SimStation::WriteReply shape);
std::optional<SimStation::WriteReply> writeReplyNamed(const std::string& name);

inline auto everyWriteReply() {
    return ::testing::Values(SimStation::WriteReply::Count, SimStation::WriteReply::Values,
                             SimStation::WriteReply::Empty);
}

struct WriteReplyTestName {
    std::string operator()(const ::testing::TestParamInfo<SimStation::WriteReply>& info) const {
        return writeReplyName(info.param);
    }
};

}  // namespace varnak::test
