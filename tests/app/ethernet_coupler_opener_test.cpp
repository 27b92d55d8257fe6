// The Ethernet couplers' settings dialog opens from the running main window's tree; offline
// it asks the coupler nothing, so the MAC id stays empty and no message shows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTimer>

#include "app/frmMainVMT.h"
#include "model/tree_node_key.h"
#include "tests/support/qt/rail_fixture.h"

namespace varnak::test {
namespace {

class EthernetCouplerOpener : public RailFixture,
                              public ::testing::WithParamInterface<const char*> {
  protected:
    EthernetCouplerOpener() : RailFixture({GetParam(), {"QT3002-0000"}}) {}
};

TEST_P(EthernetCouplerOpener, TheSettingsNodeOpensTheDialog) {
    frmMainVMT window(context);
    window.setEnabled(true);
    window.fFillTreeView();
    const std::string key =
        treeKey(TreeNodeKind::SpecificSettings, couplerKey().substr(kTreeKeyPrefixLength));
    ASSERT_TRUE(window.selectKey(key)) << key;
    std::string opened;
    QTimer::singleShot(0, [&] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            opened = w->objectName().toStdString() + " " + w->windowTitle().toStdString() + " [" +
                     w->findChild<QLineEdit*>("txtQY9x00(0)")->text().toStdString() + "]";
            static_cast<QDialog*>(w)->reject();
        }
    });
    window.tvTreeView_DblClick();
    EXPECT_EQ(opened, "frmCouplerConfigQY9000 Feldbus spezifische Konfiguration (Offline) []");
    EXPECT_TRUE(ui.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Types, EthernetCouplerOpener,
                         ::testing::Values("QY9000-0000", "QZ9000-0000"));

}  // namespace
}  // namespace varnak::test
