#include "windowkit/basStartup_wait.h"

#include <chrono>

#include "model/app_context.h"

namespace varnak {

SecondsClock steadySecondsClock() {
    return [] {
        using namespace std::chrono;
        return duration<double>(steady_clock::now().time_since_epoch()).count();
    };
}

void gfWaitSeconds(float seconds, const SecondsClock& clock, const std::function<void()>& pump) {
    const double start = clock();
    float elapsed;
    do {
        pump();
        elapsed = static_cast<float>(clock() - start);
    } while (!(elapsed > seconds));
}

void gfWaitSeconds(float seconds) {
    gfWaitSeconds(seconds, steadySecondsClock(), [] { varnak().ui->pumpEvents(); });
}

void waitWhileLessThan(float seconds, const SecondsClock& clock,
                       const std::function<void()>& pump) {
    const double start = clock();
    while (static_cast<float>(clock() - start) < seconds) pump();
}

}  // namespace varnak
