#pragma once
// Runs the event loop until a condition holds, for windows whose timers do the work.
#include <functional>

namespace varnak::test {

// True once done() holds; false when the time (milliseconds) ran out first.
bool runEventsUntil(const std::function<bool()>& done, int ms);

}  // namespace varnak::test
