#pragma once
// A slow coupler that lifts its write protection but answers the lift too late: the reply
// to the read-back of a lift block (the moment the coupler takes the block up) is held
// until the next request comes, after the control has given up on it.
#include "tests/support/sim_station.h"

namespace varnak::test {

// The next `times` lifts of the station are answered late; other replies as queued.
void answerLiftsLate(SimStation& station, int times = 1);

}  // namespace varnak::test
