#include "tests/support/qt/qt_app.h"

#include <QApplication>

namespace varnak::test {

void ensureQtApp() {
    if (QApplication::instance()) return;
    static int argc = 1;
    static char name[] = "test_app";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);  // lives until the process ends
}

}  // namespace varnak::test
