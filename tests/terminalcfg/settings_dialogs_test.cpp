// The settings dialogs offscreen: every registered form opens on a rail of its type with a
// widget per binding, takes OK on the shipped defaults without a change, and shows its
// captions in both languages; then the QT3002 dialog's refused entry, Default and Cancel,
// a failed OK that keeps the dialog open, and the opener.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "fieldbus/coupler_settings_dialog.h"
#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "model/clsCoupler.h"
#include "model/clsTable.h"
#include "model/clsTerminal.h"
#include "model/device_register_model.h"
#include "settingsforms/register_image.h"
#include "terminalcfg/terminal_settings_dialog.h"
#include "tests/support/qt/rail_fixture.h"
#include "tests/terminalcfg/shipped_types.h"

namespace varnak::test {
namespace {

// A rail made for one form inside a test.
class FormRail : public RailFixture {
  public:
    explicit FormRail(RailStationSpec s) : RailFixture(std::move(s)) {}
    void TestBody() override {}
    using ProgramFixture::context;
    using ProgramFixture::messageTexts;
    using RailFixture::rail;
};

// The type a form is tried on: a shipped type its picker opens it for, or the type its
// name carries (a form no picker opens).
std::string typeFor(const std::string& form, bool coupler) {
    const auto shipped = shippedTypesOpening(form, coupler);
    if (!shipped.empty()) return shipped.front();
    return form.substr(form.size() - 6) + "-0000";
}

void expectWidgetPerBinding(const QDialog& dialog, const FormSpec* spec) {
    if (!spec) return;  // a body of its own
    for (const Binding& b : spec->bindings)
        EXPECT_TRUE(dialog.findChild<QWidget*>(QString::fromStdString(b.name))) << b.name;
}

TEST(SettingsForms, EveryTerminalFormOpensTakesOkUnchangedAndSpeaksBothLanguages) {
    for (const TerminalFormEntry& form : terminalForms()) {
        SCOPED_TRACE(form.name);
        const std::string type = typeFor(form.name, false);
        FormRail r({"QZ8000-0000", {type}});
        clsTable& table = *r.rail()->clsColTerminals()->ItemPos(1)->clsColTables()->Item(0);
        const RegisterImage before = imageOf(table);
        const bool channels = r.rail()->clsColTerminals()->ItemPos(1)->InfoNrLogSigChnl() > 1;
        {
            TerminalSettingsDialog dialog(form);
            ASSERT_TRUE(dialog.load(1, 0));
            expectWidgetPerBinding(dialog, form.spec);
            EXPECT_EQ(dialog.windowTitle(), "Einstellungen der Klemme");
            EXPECT_EQ(dialog.cmdOK->text(), "&Ok");
            EXPECT_EQ(dialog.Label1->text().toStdString(),
                      "Position: 1      Typ: " + type + "      Kanal: 1");
            EXPECT_EQ(dialog.chkConfigAllChannel->isHidden(), !channels);
            dialog.cmdOK->click();
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
        }
        EXPECT_EQ(imageOf(table), before);
        r.context.LanguageBase = 2000;
        TerminalSettingsDialog english(form);
        ASSERT_TRUE(english.load(1, 0));
        EXPECT_EQ(english.windowTitle(), "Adjustments in terminal");
        EXPECT_EQ(english.cmdCancel->text(), "&Cancel");
        EXPECT_EQ(english.chkConfigAllChannel->text(),
                  "Take settings for all channels of this terminal");
        EXPECT_TRUE(english.Label1->text().endsWith("Channel: 1"));
        EXPECT_TRUE(r.messageTexts().empty());
    }
}

TEST(SettingsForms, EveryCouplerFormOpensTakesOkUnchangedAndSpeaksBothLanguages) {
    for (const CouplerFormEntry& form : couplerForms()) {
        SCOPED_TRACE(form.name);
        FormRail r({typeFor(form.name, true), {}});
        clsTable& table = *r.rail()->clsColTables()->Item(kFieldbusSettingsTable);
        const RegisterImage before = imageOf(table);
        {
            CouplerSettingsDialog dialog(form);
            ASSERT_TRUE(dialog.load());
            expectWidgetPerBinding(dialog, form.spec);
            EXPECT_EQ(dialog.windowTitle(), "Feldbus spezifische Konfiguration (Offline)");
            EXPECT_EQ(dialog.cmdOK->text(), "&OK");
            EXPECT_EQ(dialog.cmdDefault->text(), "&Voreinstellung");
            dialog.cmdOK->click();
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
        }
        EXPECT_EQ(imageOf(table), before);
        r.context.LanguageBase = 2000;
        CouplerSettingsDialog english(form);
        ASSERT_TRUE(english.load());
        EXPECT_EQ(english.windowTitle(), "Fieldbus specific configuration (Offline)");
        EXPECT_EQ(english.cmdDefault->text(), "&Default");
        EXPECT_EQ(english.cmdOK->text(), "&OK");
        EXPECT_TRUE(r.messageTexts().empty());
    }
}

// Records whether the dialog's buttons could be clicked while a message was up.
class ButtonWatchUi : public SilentUi {
  public:
    int messageBox(const std::string& text, int style, const std::string& title) override {
        if (dialog)
            clickable.push_back(dialog->cmdDefault->isEnabled() || dialog->cmdOK->isEnabled() ||
                                dialog->cmdCancel->isEnabled());
        return SilentUi::messageBox(text, style, title);
    }
    SettingsDialog* dialog = nullptr;
    std::vector<bool> clickable;
};

class QT3002Dialog : public RailFixture {
  protected:
    QT3002Dialog() : RailFixture({"QZ8000-0000", {"QT3002-0000", "QT3004-0000"}}) {}
    QLineEdit* field(const char* name) { return dialog.findChild<QLineEdit*>(name); }
    clsTable& table(const std::shared_ptr<clsCoupler>& r, int pos, int channel) {
        return *r->clsColTerminals()->ItemPos(pos)->clsColTables()->Item(channel);
    }
    TerminalSettingsDialog dialog{*findTerminalForm("frmTermConfigQT3002")};
};

TEST_F(QT3002Dialog, ARefusedEntryNamesTheFieldKeepsTheDialogOpenAndStoresNothing) {
    ASSERT_TRUE(dialog.load(1, 1));
    dialog.show();
    field("fpReg35")->setText("70000");
    dialog.findChild<QCheckBox*>("chk3022Feature(0)")->setChecked(true);
    dialog.cmdOK->click();
    EXPECT_EQ(messageTexts(),
              std::vector<std::string>{"Ungültige Eingabe: Grenzwert 1 (-32768 .. 65535)"});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.focusWidget(), field("fpReg35"));
    EXPECT_EQ(table(rail(), 1, 1).ConfRegisterValue(32), 0x0002);
    EXPECT_TRUE(dialog.cmdOK->isEnabled());
    field("fpReg35")->setText("-100");
    dialog.cmdOK->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    auto disk = railFromDisk();
    EXPECT_EQ(table(disk, 1, 1).ConfRegisterValue(35), 0xFF9C);
    EXPECT_EQ(table(disk, 1, 1).ConfRegisterValue(32), 0x0003);
}

TEST_F(QT3002Dialog, DefaultThenCancelKeepsTheDefaultsInTheSavedRail) {
    table(rail(), 2, 3).setConfRegisterValue(34, 0x0200);
    ASSERT_TRUE(dialog.load(2, 3));
    EXPECT_EQ(field("fpReg34")->text(), "512");
    dialog.cmdDefault->click();
    EXPECT_EQ(field("fpReg34")->text(), "256");
    EXPECT_TRUE(dialog.cmdDefault->isEnabled());
    dialog.cmdCancel->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(table(railFromDisk(), 2, 3).ConfRegisterValue(34), 0x0100);
    EXPECT_TRUE(messageTexts().empty());
}

TEST_F(QT3002Dialog, AFailedOkKeepsTheDialogOpenWithItsButtonsAndCancelKeepsWhatWasStored) {
    ButtonWatchUi watch;
    watch.dialog = &dialog;
    context.ui = &watch;
    connectStation().setTerminalCodeWord(true);
    goOnline();
    ASSERT_TRUE(dialog.load(2, 0));
    dialog.show();
    dialog.chkConfigAllChannel->setChecked(true);
    field("fpReg33")->setText("77");
    station->queueFault(ReplyFault::none());
    station->queueFault(ReplyFault::noReply());
    dialog.cmdOK->click();
    ASSERT_EQ(watch.clickable, std::vector<bool>{false});
    EXPECT_EQ(watch.messages.at(0).text, "Keine Kommunikation mit Koppler!\nCode: 1");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.cmdOK->isEnabled());
    dialog.cmdCancel->click();
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(table(context.VarnakOnlineCoupler, 2, c).ConfRegisterValue(33), 77);
    EXPECT_EQ(station->reg(2, 1, 33), 0);
    context.ui = &ui;
}

TEST_F(QT3002Dialog, TheOpenerShowsTheFormForAChannelAndNothingForAMissingOne) {
    std::vector<std::string> shown;
    auto closeModal = [&] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            shown.push_back(w->objectName().toStdString() + " " +
                            w->findChild<QLabel*>("Label1")->text().toStdString());
            static_cast<QDialog*>(w)->reject();
        }
    };
    QTimer::singleShot(0, closeModal);
    openTerminalForm("frmTermConfigQT3002", 2, 3, nullptr);
    openTerminalForm("frmTermConfigQT3002", 2, 4, nullptr);
    EXPECT_EQ(shown, std::vector<std::string>{
                         "frmTermConfigQT3002 Position: 2      Typ: QT3004-0000      Kanal: 4"});
    EXPECT_TRUE(messageTexts().empty());
}

}  // namespace
}  // namespace varnak::test
