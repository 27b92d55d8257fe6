#pragma once
// The ways a station may acknowledge a register write or refuse a read, by name ("count",
// "values", "empty"), for the station program's options and for tests run against each.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/support/sim_station.h"

namespace varnak::test {

const char* writeReplyName(SimStation::WriteReply shape);
std::optional<SimStation::WriteReply> writeReplyNamed(const std::string& name);

inline auto everyReplyShape() {
    return ::testing::Values(SimStation::ReplyShape::Count, SimStation::ReplyShape::Values,
                             SimStation::ReplyShape::Empty);
}
inline auto everyWriteReply() {
    return everyReplyShape();
}

struct WriteReplyTestName {
    std::string operator()(const ::testing::TestParamInfo<SimStation::WriteReply>& info) const {
        return writeReplyName(info.param);
    }
};

}  // namespace varnak::test
