#include "windowkit/dialog_support.h"

#include <gtest/gtest.h>

#include <QDialog>

#include "tests/support/qt/qt_app.h"

namespace varnak::test {
namespace {

TEST(DialogTitles, ASmallDialogIsWidenedForItsTitleButNeverNarrowed) {
    ensureQtApp();
    QDialog small;
    small.setWindowTitle("Klemmenblock öffnen - ein Titel, der länger ist als der Inhalt");
    widenForTitle(&small);
    EXPECT_GT(small.minimumWidth(), small.fontMetrics().horizontalAdvance(small.windowTitle()));

    QDialog wide;
    wide.setMinimumWidth(2000);
    wide.setWindowTitle("Kurz");
    widenForTitle(&wide);
    EXPECT_EQ(wide.minimumWidth(), 2000);
}

}  // namespace
}  // namespace varnak::test
