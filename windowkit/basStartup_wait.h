#pragma once
// The program-wide timed wait and the splash's wait: pending window events run while time
// passes, so that a window stays responsive while it waits for a device.
#include <functional>

namespace varnak {

// Seconds from any fixed origin; injected so that tests decide how time passes.
using SecondsClock = std::function<double()>;
SecondsClock steadySecondsClock();

// Lets pending window events run until more than the given seconds have passed; at
// least one pass of events runs.
void gfWaitSeconds(float seconds);
void gfWaitSeconds(float seconds, const SecondsClock& clock, const std::function<void()>& pump);

// The splash wait: lets pending window events run while less than the given seconds have
// passed since the call (no pass at all when none is needed).
void waitWhileLessThan(float seconds, const SecondsClock& clock, const std::function<void()>& pump);

}  // namespace varnak
