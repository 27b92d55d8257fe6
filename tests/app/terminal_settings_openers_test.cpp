// The running program opens every terminal type's settings form from the settings node of
// each of its channels; a type without a form says to use the register view.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTimer>

#include "app/dialog_pickers.h"
#include "app/frmMainVMT.h"
#include "model/clsColTerminals.h"
#include "model/clsTerminal.h"
#include "model/tree_node_key.h"
#include "tests/support/qt/rail_fixture.h"

namespace varnak::test {
namespace {

const std::vector<std::string> kTypes{
    "QT1501-0000", "QT2502-0000", "QT3202-0000", "QT3351-0000", "QT3302-0000", "QT3312-0000",
    "QT3332-0000", "QT4002-0000", "QT4004-0000", "QT4012-0000", "QT4014-0000", "QT4022-0000",
    "QT4032-0000", "QT4034-0000", "QT5001-0000", "QT5101-0000", "QT5111-0000", "QT6001-0000",
    "QT6011-0000", "QT6021-0000", "QT6051-0000"};

class TerminalSettingsOpeners : public RailFixture {
  protected:
    TerminalSettingsOpeners() : RailFixture({"QZ8000-0000", kTypes}) {
        window = std::make_unique<frmMainVMT>(context);
        window->setEnabled(true);
        window->fFillTreeView();
    }
    // The settings node's double click: the dialog it opened (closed again) and its header.
    std::string opened(int position, int channel) {
        const std::string key =
            treeKey(TreeNodeKind::TerminalSettings,
                    registerKey(position, channel).substr(kTreeKeyPrefixLength));
        EXPECT_TRUE(window->selectKey(key)) << key;
        std::string shown;
        QTimer::singleShot(0, [&] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                shown = w->objectName().toStdString() + " " +
                        w->findChild<QLabel*>("Label1")->text().toStdString();
                static_cast<QDialog*>(w)->reject();
            }
        });
        window->tvTreeView_DblClick();
        return shown;
    }
    std::unique_ptr<frmMainVMT> window;
};

TEST_F(TerminalSettingsOpeners, EveryChannelOfEveryTypeOpensItsForm) {
    for (size_t i = 0; i < kTypes.size(); ++i) {
        const int position = static_cast<int>(i) + 1;
        const TerminalDialogChoice* choice = terminalDialogFor(kTypes[i]);
        const int channels = rail()->clsColTerminals()->ItemPos(position)->InfoNrLogSigChnl();
        for (int c = 0; c < channels; ++c) {
            SCOPED_TRACE(kTypes[i] + " channel " + std::to_string(c));
            const std::string header = "Position: " + std::to_string(position) +
                                       "      Typ: " + kTypes[i] +
                                       "      Kanal: " + std::to_string(c + 1);
            EXPECT_EQ(opened(position, c), choice ? std::string(choice->form) + " " + header : "");
        }
    }
    // QT3351 has no form of its picker's.
    EXPECT_EQ(messageTexts(),
              std::vector<std::string>{"Bitte benutzen Sie die Registerdarstellung"});
}

}  // namespace
}  // namespace varnak::test
