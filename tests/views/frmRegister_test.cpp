// The register editor's window offscreen: the grid's columns, Enter starting and
// committing an edit, the type selector, and an offline edit on disk once it closes.
#include "views/frmRegister.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "model/clsTable.h"
#include "model/clsTerminal.h"
#include "tests/support/qt/rail_fixture.h"
#include "windowkit/register_grid.h"

namespace varnak::test {
namespace {

class RegisterWindow : public RailFixture {
  protected:
    RegisterWindow() : RailFixture({"QZ3100-0000", {"QT3002-0000"}}) {}
    void key(QWidget* to, int k) {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
        QApplication::sendEvent(to, &press);
        // The editor's commit and the grid's hand-over each take one pass of events.
        QApplication::processEvents();
        QApplication::processEvents();
    }
    QLineEdit* editor() { return dialog.tdbgData->findChild<QLineEdit*>(); }
    frmRegister dialog;
};

TEST_F(RegisterWindow, EnterStartsAndCommitsAnEditThatIsOnDiskOnceTheDialogCloses) {
    ASSERT_TRUE(dialog.load(registerKey(1, 0)));
    dialog.show();
    RegisterGrid* grid = dialog.tdbgData;
    EXPECT_EQ(grid->rowCount(), 64);
    EXPECT_EQ(grid->cell(34, 0), "34");
    EXPECT_EQ(grid->cell(34, 1), "0x 0100");
    EXPECT_EQ(grid->cell(34, 2), "Anwender-Skalierung (256 = 1,0)");
    EXPECT_FALSE(dialog.cmdRefresh->isEnabled());
    EXPECT_EQ(dialog.comboDataTyp1->count(), 5);
    EXPECT_EQ(dialog.Label1->text(), "Darstellung");

    grid->setCurrentIndex(grid->model()->index(34, 0));
    key(grid, Qt::Key_Return);
    EXPECT_FALSE(grid->editing());  // the offset column takes no edit
    grid->setCurrentIndex(grid->model()->index(34, 1));
    key(grid, Qt::Key_Return);
    ASSERT_TRUE(grid->editing());
    editor()->setText("0x 0180");
    key(editor(), Qt::Key_Return);
    EXPECT_FALSE(grid->editing());
    EXPECT_EQ(grid->cell(34, 1), "0x 0180");
    EXPECT_EQ(grid->currentIndex().row(), 34);  // Enter moved nowhere

    dialog.comboDataTyp1->setCurrentIndex(3);
    EXPECT_EQ(grid->cell(34, 1), "384");
    EXPECT_EQ(grid->cell(32, 1), "2");
    dialog.cmdExit->click();
    auto terminal = railFromDisk()->clsColTerminals()->ItemPos(1);
    EXPECT_EQ(terminal->clsColTables()->Item(0)->ConfRegisterValue(34), 0x0180);
}

}  // namespace
}  // namespace varnak::test
