#include "tests/support/qt/event_wait.h"

#include <QApplication>
#include <QElapsedTimer>

namespace varnak::test {

bool runEventsUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 2);
    return done();
}

}  // namespace varnak::test
