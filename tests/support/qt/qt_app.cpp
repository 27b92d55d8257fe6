#include "tests/support/qt/qt_app.h"

#include <stdlib.h>

#include <QApplication>

namespace varnak::test {

void ensureQtApp() {
    if (QApplication::instance()) return;
    // Without a platform chosen, Qt would look for a display: a test or benchmark started
    // by hand, or on a machine without one, runs offscreen too.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "test_app";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);  // lives until the process ends
}

}  // namespace varnak::test
