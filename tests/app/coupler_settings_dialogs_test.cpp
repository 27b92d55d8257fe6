// The coupler settings dialogs in the running program, offscreen: each opens from its tree
// node, offline OK leaves the rail saved and Cancel after Default leaves table 0 as it was.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>

#include "app/frmMainVMT.h"
#include "couplercfg/frmCouplerConfigController.h"
#include "couplercfg/frmCouplerConfigController2.h"
#include "couplercfg/frmCouplerConfigControllerLinkTerm.h"
#include "couplercfg/frmCouplerConfigGeneral.h"
#include "model/clsColTables.h"
#include "model/clsTable.h"
#include "model/tree_node_key.h"
#include "tests/support/qt/rail_fixture.h"
#include "windowkit/register_grid.h"

namespace varnak::test {
namespace {

class CouplerSettingsDialogs : public RailFixture {
  protected:
    explicit CouplerSettingsDialogs(RailStationSpec spec = {"QY3100-0000",
                                                            {"QT1002-0000", "QT9010-0000"}})
        : RailFixture(std::move(spec)) {
        window = std::make_unique<frmMainVMT>(context);
        window->setEnabled(true);
        window->fFillTreeView();
    }
    // Double-clicks the node of that kind and runs check on the modal dialog it opened.
    template <typename Dialog>
    void open(TreeNodeKind kind, const std::function<void(Dialog&)>& check) {
        const std::string key = treeKey(
            kind, couplerKeyDetail(rail()->ConfSymbolicID(), rail()->ConfProjectPosition()));
        ASSERT_TRUE(window->selectKey(key)) << key;
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            ran = true;
            check(*dialog);
            if (dialog->isVisible()) dialog->reject();
        });
        window->tvTreeView_DblClick();
        EXPECT_TRUE(ran);
    }
    std::shared_ptr<clsTable> savedTable(int n) { return railFromDisk()->clsColTables()->Item(n); }

    std::unique_ptr<frmMainVMT> window;
};

TEST_F(CouplerSettingsDialogs, GeneralOkOfflineSavesAndCancelAfterDefaultKeepsTableZero) {
    rail()->clsColTables()->Item(0)->setConfRegisterValue(4, 0x0001);
    open<frmCouplerConfigGeneral>(TreeNodeKind::CommonSettings, [](frmCouplerConfigGeneral& d) {
        EXPECT_EQ(d.windowTitle(), "Allgemeine Koppler Konfiguration");
        EXPECT_EQ(d.SSTab1->tabText(3), "PLC->DP");
        EXPECT_FALSE(d.SSTab1->isTabEnabled(6));
        EXPECT_EQ(d.SSTab1->tabText(7), "Tab 7");
        QCheckBox* autoconfiguration = d.images[1].boxes[kAutoconfiguration];
        EXPECT_FALSE(d.images[1].boxes[kEvaluation]->isEnabled());
        d.images[1].boxes[kInputSynch]->setChecked(true);
        autoconfiguration->click();
        EXPECT_TRUE(d.images[1].boxes[kEvaluation]->isEnabled());
        EXPECT_FALSE(d.images[1].boxes[kInputSynch]->isChecked());
        d.fpSlaveMaster->setText("12");
        // Coming back from another window keeps the edits.
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(&d, &activate);
        EXPECT_EQ(d.fpSlaveMaster->text(), "12");
        EXPECT_TRUE(autoconfiguration->isChecked());
        d.cmdOk->click();
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(savedTable(0)->ConfRegisterValue(4), 0x0003);
    EXPECT_EQ(savedTable(0)->ConfRegisterValue(8), 12);

    open<frmCouplerConfigGeneral>(TreeNodeKind::CommonSettings, [](frmCouplerConfigGeneral& d) {
        d.cmdDefault->click();
        // The description's 0 turns autoconfiguration off, whose rule ticks the image box.
        EXPECT_TRUE(d.images[1].boxes[kActivateImage]->isChecked());
        EXPECT_FALSE(d.images[1].boxes[kAutoconfiguration]->isChecked());
        EXPECT_EQ(d.fpSlaveMaster->text(), "0");
        d.cmdCancel->click();
    });
    EXPECT_EQ(rail()->clsColTables()->Item(0)->ConfRegisterValue(4), 0x0003);
    EXPECT_EQ(rail()->clsColTables()->Item(0)->ConfRegisterValue(8), 12);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(CouplerSettingsDialogs, ControllerDialogsOpenFromTheirNodes) {
    open<frmCouplerConfigController>(
        TreeNodeKind::ControllerSettings, [](frmCouplerConfigController& d) {
            EXPECT_EQ(d.windowTitle(), " (Offline)");
            EXPECT_EQ(d.lblDiag[0]->text(), "Minimale SPS-Zykluszeit [ms]");
            EXPECT_EQ(d.lblDiagValue[0]->text(), "");
            EXPECT_FALSE(d.chkActivateTimeCycle->isChecked());
            // Each value box shows its frame on all four sides, within its page: none looks
            // cut off on the right.
            const int window = d.palette().color(QPalette::Window).lightness();
            for (QLabel* value : d.lblDiagValue) {
                const QImage box = value->grab().toImage();
                const int w = box.width(), h = box.height();
                for (QPoint edge : {QPoint(0, h / 2), QPoint(w - 1, h / 2), QPoint(w / 2, 0),
                                    QPoint(w / 2, h - 1)})
                    EXPECT_LT(box.pixelColor(edge).lightness(), window - 20)
                        << edge.x() << "," << edge.y();
                const QRect page = value->parentWidget()->rect();
                EXPECT_TRUE(page.contains(value->geometry())) << value->objectName().toStdString();
            }
        });
    open<frmCouplerConfigController2>(TreeNodeKind::ControllerSettings2,
                                      [](frmCouplerConfigController2& d) {
                                          EXPECT_FALSE(d.chkQYx[kLargeModelBox]->isEnabled());
                                          EXPECT_TRUE(d.optPlcTermbusUpdate[0]->isChecked());
                                          EXPECT_EQ(d.cmdExit->text(), "&Ende");
                                          d.chkQYx[0]->setChecked(true);
                                          d.cmdOk->click();
                                      });
    EXPECT_EQ(savedTable(1)->ConfRegisterValue(14), 0x0041);
    open<frmCouplerConfigControllerLinkTerm>(
        TreeNodeKind::SpecificProgTermCfg, [](frmCouplerConfigControllerLinkTerm& d) {
            EXPECT_FALSE(d.cmdRefresh->isEnabled());
            ASSERT_EQ(d.tdbgData->rowCount(), 2);
            EXPECT_EQ(d.tdbgData->cell(0, 2), "SPS Klemme (Komplex) (Default)");
            d.tdbgData->edit(d.tdbgData->model()->index(0, 2));
            auto* list = d.tdbgData->findChild<QComboBox*>();
            ASSERT_NE(list, nullptr);
            list->setCurrentIndex(0);
            emit list->activated(0);  // as a pick from the list
            QApplication::processEvents();
            d.txtQYx[4]->setText("8");
            d.cmdOk->click();
        });
    EXPECT_EQ(savedTable(1)->ConfRegisterValue(4), 0x000C);
    EXPECT_EQ(savedTable(1)->ConfRegisterValue(15), 8);
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace varnak::test
