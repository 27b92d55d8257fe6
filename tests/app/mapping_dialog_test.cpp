// The process-image mapping dialog in the running program, offscreen: opened from its tree
// node, the keys its cells take, Esc, OK offline, and the mapping report it feeds.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include "app/frmMainVMT.h"
#include "app/frmPrint.h"
#include "app/report_text.h"
#include "couplercfg/frmConfigProg.h"
#include "couplercfg/image_mapping_grid.h"
#include "mapping/mapping_layout.h"
#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "model/clsTable.h"
#include "model/clsTerminal.h"
#include "model/tree_node_key.h"
#include "tests/support/qt/rail_fixture.h"
#include "tests/support/wire_log.h"
#include "windowkit/dialog_openers.h"

namespace varnak::test {
namespace {

class MappingDialog : public RailFixture {
  protected:
    MappingDialog() : RailFixture({"QZ3100-0000", {"QT3002-0000", "QT1002-0000", "QT9010-0000"}}) {}

    static void type(QWidget* to, Qt::Key key, const QString& text = {}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(to, &press);
        // The editor's commit and the grid's hand-over each take one pass of events.
        QApplication::processEvents();
        QApplication::processEvents();
    }
    std::string progConfKey() const {
        return treeKey(TreeNodeKind::SpecificProgConf,
                       couplerKeyDetail(rail()->ConfSymbolicID(), rail()->ConfProjectPosition()));
    }
};

TEST_F(MappingDialog, FromTheTreeItsCellsTakeOnlyTheirKeysAndOkOfflineSavesTheRail) {
    frmMainVMT window(context);
    window.setEnabled(true);
    window.fFillTreeView();
    ASSERT_TRUE(window.selectKey(progConfKey()));
    bool ran = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<frmConfigProg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Programmierte Konfiguration");
        ImageMappingGrid* in = dialog->tdbg5Input;
        ASSERT_EQ(in->rowCount(), 4);
        EXPECT_EQ(in->cell(0, 4), "QT3002-0000");
        EXPECT_EQ(in->model()->headerData(8, Qt::Horizontal).toString(), "Ref0");
        EXPECT_TRUE(in->isColumnHidden(1));
        EXPECT_GE(in->columnWidth(4), in->fontMetrics().horizontalAdvance("QT3002-0000"));
        EXPECT_EQ(dialog->focusWidget(), in);  // typing goes to the grid at once

        in->setCurrentIndex(in->model()->index(0, 6));
        type(in, Qt::Key_4, "4");  // no image 4: swallowed, no edit starts
        EXPECT_FALSE(in->editing());
        type(in, Qt::Key_3, "3");
        ASSERT_TRUE(in->editing());
        auto* editor = in->findChild<QLineEdit*>();
        type(editor, Qt::Key_4, "4");  // swallowed inside the edit too
        EXPECT_EQ(editor->text(), "3");
        type(editor, Qt::Key_Return);
        EXPECT_EQ(in->cell(0, 6), "3");
        in->setCurrentIndex(in->model()->index(0, 7));
        type(in, Qt::Key_Return);
        type(in->findChild<QLineEdit*>(), Qt::Key_A, "a");
        in->findChild<QLineEdit*>()->setText("5");
        type(in->findChild<QLineEdit*>(), Qt::Key_Return);
        EXPECT_EQ(in->cell(0, 7), "005");

        // The digital inputs have no outputs: their output rows take no key.
        ImageMappingGrid* out = dialog->tdbg5Output;
        EXPECT_EQ(out->cell(2, 8), "511.7");
        out->setCurrentIndex(out->model()->index(2, 8));
        type(out, Qt::Key_1, "1");
        EXPECT_FALSE(out->editing());
        EXPECT_EQ(out->cell(2, 8), "511.7");
        dialog->cmdOK->click();
        ran = true;
    });
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(window.tvTreeView, &enter);
    ASSERT_TRUE(ran);
    EXPECT_TRUE(ui.messages.empty());

    auto saved = railFromDisk()->clsColTerminals()->ItemPos(1);
    EXPECT_EQ(saved->ConfInputDestProcImage(0), "3");
    EXPECT_EQ(saved->ConfMappInputImage(0, 0), "005");
}

TEST_F(MappingDialog, EscNeverClosesItInOrAfterACellEdit) {
    frmConfigProg dialog;
    bool ran = false;
    QTimer::singleShot(0, [&] {
        ImageMappingGrid* in = dialog.tdbg5Input;
        in->setCurrentIndex(in->model()->index(0, 6));
        type(in, Qt::Key_3, "3");
        ASSERT_TRUE(in->editing());
        type(in->findChild<QLineEdit*>(), Qt::Key_Escape);  // ends the edit, as it was
        EXPECT_FALSE(in->editing());
        EXPECT_EQ(in->cell(0, 6), "0");
        type(in, Qt::Key_2, "2");
        type(in->findChild<QLineEdit*>(), Qt::Key_Return);
        EXPECT_EQ(in->cell(0, 6), "2");
        // Pressed again to leave the cell that was already left.
        type(in, Qt::Key_Escape);
        type(&dialog, Qt::Key_Escape);
        EXPECT_TRUE(dialog.isVisible());
        dialog.cmdOK->click();
        ran = true;
    });
    ASSERT_TRUE(dialog.fKonstruktor(true));
    ASSERT_TRUE(ran);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(railFromDisk()->clsColTerminals()->ItemPos(1)->ConfInputDestProcImage(0), "2");
}

TEST_F(MappingDialog, MappingReportOfARailInBothLanguages) {
    auto analog = rail()->clsColTerminals()->ItemPos(1);
    for (int k = 0; k < 3; ++k) analog->setConfMappInputImage(1, k, std::to_string(40 + k));
    analog->setConfInputDestProcImage(1, "2");
    rail()->clsColTerminals()->ItemPos(2)->setConfMappInputImage(0, 0, "12.3");
    frmMainVMT window(context);
    for (int language : {0, 1}) {
        context.LanguageNr = language;
        context.LanguageBase = static_cast<int16_t>(2000 * language);
        bool show = false;
        EXPECT_TRUE(dialogOpeners().frmConfigProg_fKonstruktor(show));
        const ConfigProgTables tables = dialogOpeners().frmConfigProg_Tables();
        dialogOpeners().frmConfigProg_Unload();
        const std::string text = fReportText(kReportMapping, *rail(), "09.12.2026 06:00", tables);
        const char* golden = language == 0 ? "de_MappByPos_rail.txt" : "en_MappByPos_rail.txt";
        EXPECT_TRUE(matchesGolden(text, testSourcePath("app/report_golden") / golden));
    }
    EXPECT_TRUE(dialogOpeners().frmConfigProg_Tables().input.empty());
}

// A serial interface with five data bytes: its control/status byte and every data byte's
// address reach the report, the fifth one in the grid's last-but-seven column.
class SerialMapping : public RailFixture {
  protected:
    SerialMapping() : RailFixture({"QZ3100-0000", {"QT6001-0000", "QT9010-0000"}}) {}
};

TEST_F(SerialMapping, TheReportHoldsEveryAddressOfTheChannel) {
    auto serial = rail()->clsColTerminals()->ItemPos(1);
    serial->clsColTables()->Item(0)->setConfRegisterValue(kSerialDataBytesRegister, 5);
    serial->setConfInputDestProcImage(0, "0");
    for (int k = 0; k < 6; ++k) serial->setConfMappInputImage(0, k, std::to_string(10 + k));
    frmMainVMT window(context);
    bool show = false;
    ASSERT_TRUE(dialogOpeners().frmConfigProg_fKonstruktor(show));
    const ConfigProgTables tables = dialogOpeners().frmConfigProg_Tables();
    dialogOpeners().frmConfigProg_Unload();
    const std::string text = fReportText(kReportMapping, *rail(), "now", tables);
    EXPECT_NE(text.find("\r\n1\tQT6001-0000\t1\t0\t10\t11\t\t12\t\t13\t\t14\t\t15\t\t\t"),
              std::string::npos)
        << text;
}

// A rail with more terminals than the coupler's table 8 lists: the mapping dialog refuses
// it, so the report selection shows and writes no mapping report and the one written for an
// earlier mapping stays as it was.
class RefusedMapping : public RailFixture {
  protected:
    RefusedMapping() : RailFixture({"QZ3100-0000", std::vector<std::string>(70, "QT1002-0000")}) {}
};

TEST_F(RefusedMapping, NoReportIsShownOrWrittenAndTheEarlierOneStays) {
    frmMainVMT window(context);
    const std::filesystem::path earlier =
        std::filesystem::path(project->FullPathProject()) / reportFileName(kReportMapping);
    writeFile(earlier, "the report of an earlier mapping");
    int previews = 0;
    // A preview that opened would wait for its user: it is closed, and counted.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != &window) {
            ++previews;
            modal->close();
        }
    });
    closer.start(10);
    frmPrint dialog(context);
    dialog.lstPrint->item(kReportMapping)->setSelected(true);
    dialog.cmdOk_Click();
    EXPECT_EQ(previews, 0);
    EXPECT_EQ(readFile(earlier), "the report of an earlier mapping");
    const std::vector<std::string> messages = messageTexts();
    ASSERT_EQ(messages.size(), 2u) << messages.back();  // no printer; the mapping refused
    EXPECT_NE(messages[1].find("70"), std::string::npos) << messages[1];
}

}  // namespace
}  // namespace varnak::test
