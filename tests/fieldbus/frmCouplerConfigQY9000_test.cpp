// The Ethernet coupler dialog offscreen against the simulated station (each query answered
// at its first read), with whole wire logs: opening in DHCP mode before and after the
// server's address, Refresh, OK in either address mode, the openings that fail, the
// coupler's answers without a value, and offline where nothing goes on the wire.
#include "fieldbus/frmCouplerConfigQY9000.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "fieldbus/coupler_settings_dialog.h"
#include "model/clsColTables.h"
#include "model/clsTable.h"
#include "model/ui_services.h"
#include "tests/support/qt/rail_fixture.h"
#include "tests/support/wire_log.h"

namespace varnak::test {
namespace {

const std::string kPending = "DHCP still in process.\n\nPlease try again and click 'Refresh'";
const std::string kNoCommunication = "Keine Kommunikation mit Koppler!";

class QY9000Dialog : public RailFixture {
  protected:
    explicit QY9000Dialog(const char* type = "QY9000-0000") : RailFixture({type, {}}) {}

    SimStation& online(uint16_t dip) {
        connectStation().changeCoupler([=](CouplerState& s) { s.dipSwitch = dip; });
        goOnline();
        return *station;
    }
    QLineEdit* edit(const char* name, int i) {
        return dialog.findChild<QLineEdit*>(QString("%1(%2)").arg(name).arg(i));
    }
    std::string text(const char* name, int i) { return edit(name, i)->text().toStdString(); }
    std::vector<std::string> bytes(int first, int last) {
        std::vector<std::string> out;
        for (int i = first; i <= last; ++i) out.push_back(text("fpIQY9x00", i));
        return out;
    }
    template <typename W>
    W* child(const char* name) {
        return dialog.findChild<W*>(name);
    }
    QPushButton* refresh() { return child<QPushButton>("cmdRefresh"); }
    ::testing::AssertionResult logMatches(const char* golden) {
        return matchesGolden(wireLog(*station), testSourcePath("fieldbus/wire_golden") / golden);
    }
    void leaseTaken() {
        const std::pair<int, uint16_t> lease[] = {
            {0, 0x7C4E}, {2, 0x000A}, {3, 0x0700}, {4, 0xFFFF}, {5, 0x00FF}};
        for (const auto& [reg, value] : lease) station->setRegister(0, 121, reg, value);
    }

    CouplerSettingsDialog dialog{*findCouplerForm("frmCouplerConfigQY9000")};
};

TEST_F(QY9000Dialog, DhcpModeSaysTheServerIsPendingUntilRefreshFindsItsAddress) {
    online(0x20C);
    ASSERT_TRUE(dialog.load());
    EXPECT_TRUE(logMatches("ethernet_open_dhcp.txt"));
    EXPECT_EQ(text("txtQY9x00", 0), "00-01-05-1A-2B-3C");
    EXPECT_EQ(text("txtQY9x00", 1), "192.168.1.20.1.1");
    EXPECT_TRUE(child<QCheckBox>("chkDHCP")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("optDip9_ClassC")->isChecked());
    EXPECT_FALSE(child<QRadioButton>("optDip9_ClassB")->isChecked());
    EXPECT_EQ(bytes(1, 8), std::vector<std::string>(8, ""));
    EXPECT_EQ(bytes(9, 20), std::vector<std::string>(12, "0"));
    EXPECT_EQ(text("txtQY9x00", 3), "QY9000_12");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, kPending);
    EXPECT_EQ(ui.messages[0].style, vbInformation);
    EXPECT_EQ(ui.messages[0].title, "Varnak");

    leaseTaken();
    station->clearRequests();
    refresh()->click();
    EXPECT_TRUE(logMatches("ethernet_refresh.txt"));
    EXPECT_EQ(bytes(9, 16),
              (std::vector<std::string>{"10", "0", "0", "7", "255", "255", "255", "0"}));
    EXPECT_EQ(ui.messages.size(), 1u);

    // OK: registers 0..3 as loaded, only the link bit changed in register 16.
    child<QCheckBox>("chkDuplex")->setChecked(false);
    station->clearRequests();
    dialog.cmdOK->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(logMatches("ethernet_ok_dhcp.txt"));
    EXPECT_EQ(station->reg(0, 100, 16), 0x3000);
    EXPECT_EQ(station->reg(0, 100, 4), 0x5951);  // the name left as it was: "QY9000"
    EXPECT_TRUE(station->coupler().writeProtected);
}

TEST_F(QY9000Dialog, SpecificAddressOkWritesTheTypedAddressWithTheCouplersOwnByte) {
    online(0);
    station->setRegister(0, 0, 34, 0x0501);  // the coupler's own address ends in 5
    ASSERT_TRUE(dialog.load());
    EXPECT_EQ(bytes(1, 8),
              (std::vector<std::string>{"192", "168", "1", "5", "255", "255", "255", "0"}));
    EXPECT_EQ(bytes(9, 20), std::vector<std::string>(12, ""));
    EXPECT_FALSE(child<QCheckBox>("chkDHCP")->isChecked());
    EXPECT_TRUE(ui.messages.empty());
    edit("fpIQY9x00", 1)->setText("10");
    edit("fpIQY9x00", 2)->setText("300");
    station->clearRequests();
    dialog.cmdOK->click();
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"Ungültige Eingabe: IP Address (0 .. 255)"});
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_TRUE(station->requests().empty());
    edit("fpIQY9x00", 2)->setText("0");
    edit("fpIQY9x00", 3)->setText("8");
    edit("fpIQY9x00", 8)->setText("128");
    dialog.cmdOK->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ((std::vector<uint16_t>{station->reg(0, 100, 0), station->reg(0, 100, 1),
                                     station->reg(0, 100, 2), station->reg(0, 100, 3)}),
              (std::vector<uint16_t>{0x000A, 0x0508, 0xFFFF, 0x80FF}));
}

TEST_F(QY9000Dialog, OpeningStopsOnlyWhenTheSettingsOrTheGeneralTableCannotBeRead) {
    online(0x20C);
    struct Case {
        const char* what;
        int soundRepliesFirst;
        bool opens;
    };
    // Requests: table 121 (1), table 100 (2), table 0 (15).
    for (const Case& c :
         {Case{"table 121", 0, true}, Case{"table 100", 1, false}, Case{"table 0", 3, false}}) {
        SCOPED_TRACE(c.what);
        ui.messages.clear();
        for (int i = 0; i < c.soundRepliesFirst; ++i) station->queueFault(ReplyFault::none());
        station->queueFault(ReplyFault::badChecksum());
        CouplerSettingsDialog d(*findCouplerForm("frmCouplerConfigQY9000"));
        EXPECT_EQ(d.load(), c.opens);
        if (!c.opens) {
            EXPECT_EQ(messageTexts(), std::vector<std::string>{kNoCommunication});
            continue;
        }
        // Without the status table the address is unknown: fields empty, the marker absent.
        EXPECT_EQ(messageTexts(), std::vector<std::string>{kPending});
        for (int i = 9; i <= 20; ++i)
            EXPECT_EQ(d.findChild<QLineEdit*>(QString("fpIQY9x00(%1)").arg(i))->text(), "");
    }
}

// Records whether any of the dialog's buttons could be clicked while a message was up.
class ButtonWatchUi : public SilentUi {
  public:
    int messageBox(const std::string& text, int style, const std::string& title) override {
        bool any = false;
        for (QPushButton* b : dialog->findChildren<QPushButton*>()) any = any || b->isEnabled();
        clickable.push_back(any);
        return SilentUi::messageBox(text, style, title);
    }
    QDialog* dialog = nullptr;
    std::vector<bool> clickable;
};

TEST_F(QY9000Dialog, ARefreshThatCannotReadTheStatusTableSaysSoAndStaysOpen) {
    online(0x20C);
    leaseTaken();
    ASSERT_TRUE(dialog.load());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(text("fpIQY9x00", 12), "7");
    ButtonWatchUi watch;
    watch.dialog = &dialog;
    context.ui = &watch;
    station->queueFault(ReplyFault::badChecksum());
    refresh()->click();
    context.ui = &ui;
    EXPECT_EQ(watch.clickable, (std::vector<bool>{false, false}));  // busy until it is done
    ui.messages = watch.messages;
    EXPECT_EQ(messageTexts(), (std::vector<std::string>{kNoCommunication, kPending}));
    EXPECT_EQ(text("fpIQY9x00", 12), "");
    EXPECT_TRUE(refresh()->isEnabled());
    EXPECT_TRUE(dialog.cmdOK->isEnabled());
}

TEST_F(QY9000Dialog, AnswersWithoutAValueShowAnEmptyIdAndSpecificAddressMode) {
    online(0x20C).configureCommands([](StationCommandTable& t) {
        t.noValue.insert(0x05FF);
        t.noValue.insert(0x03FF);
    });
    ASSERT_TRUE(dialog.load());
    EXPECT_EQ(text("txtQY9x00", 0), "00-00-00-00-00-00");
    EXPECT_FALSE(child<QCheckBox>("chkDHCP")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("optDip9_ClassC")->isChecked());
    EXPECT_EQ(text("txtQY9x00", 3), "QY9000_0");
    EXPECT_TRUE(ui.messages.empty());

    // A coupler that does not echo: the MAC field empty, DHCP cleared, the class kept.
    station->configureCommands([](StationCommandTable& t) {
        t.echoOnRead[0x05FF] = 0;
        t.echoOnRead[0x03FF] = 0;
    });
    refresh()->click();
    EXPECT_EQ(text("txtQY9x00", 0), "");
    EXPECT_TRUE(child<QRadioButton>("optDip9_ClassC")->isChecked());
}

TEST_F(QY9000Dialog, ShowOnlyControlsAreDisabledAndTheNameIsEditableInDhcpModeOnly) {
    online(0x20C);
    ASSERT_TRUE(dialog.load());
    for (const char* name : {"chkDHCP", "optDip9_ClassB", "optDip9_ClassC", "txtQY9x00(0)",
                             "txtQY9x00(1)", "fpIQY9x00(4)", "fpIQY9x00(9)", "fpIQY9x00(20)",
                             "fpIQY9x00(1)", "fpIQY9x00(8)", "fraSpecIP"})
        EXPECT_FALSE(child<QWidget>(name)->isEnabled()) << name;
    EXPECT_TRUE(edit("txtQY9x00", 3)->isEnabled());
    EXPECT_TRUE(child<QWidget>("fraDHCP")->isEnabled());

    station->changeCoupler([](CouplerState& s) { s.dipSwitch = 0x100; });
    refresh()->click();
    EXPECT_TRUE(child<QRadioButton>("optDip9_ClassB")->isChecked());
    EXPECT_FALSE(edit("txtQY9x00", 3)->isEnabled());
    EXPECT_FALSE(edit("fpIQY9x00", 4)->isEnabled());
    EXPECT_FALSE(edit("fpIQY9x00", 9)->isEnabled());
    for (int i : {1, 2, 3, 5, 6, 7, 8}) EXPECT_TRUE(edit("fpIQY9x00", i)->isEnabled()) << i;

    // A name with a character the coupler cannot take is refused by name.
    station->changeCoupler([](CouplerState& s) { s.dipSwitch = 0x200; });
    refresh()->click();
    edit("txtQY9x00", 3)->setText(QString::fromUtf8("Halle→3"));
    station->clearRequests();
    dialog.cmdOK->click();
    EXPECT_EQ(messageTexts().back(),
              "Ungültige Eingabe: DHCP Name (at most 19 characters, codes 0x20 .. 0x7E)");
    EXPECT_TRUE(station->requests().empty());
}

TEST_F(QY9000Dialog, FixedEnglishCaptionsInBothLanguages) {
    for (int base : {0, 2000}) {
        SCOPED_TRACE(base);
        context.LanguageBase = static_cast<int16_t>(base);
        CouplerSettingsDialog d(*findCouplerForm("frmCouplerConfigQY9000"));
        ASSERT_TRUE(d.load());
        EXPECT_EQ(d.windowTitle(), base ? "Fieldbus specific configuration (Offline)"
                                        : "Feldbus spezifische Konfiguration (Offline)");
        EXPECT_EQ(d.cmdCancel->text(), base ? "&Cancel" : "&Abbruch");
        EXPECT_EQ(d.findChild<QPushButton*>("cmdRefresh")->text(), "&Refresh");
        EXPECT_EQ(d.findChild<QCheckBox*>("chkSpeed")->text(),
                  "100 Mbps = checked  / 10 Mbps = unchecked");
        EXPECT_EQ(d.findChild<QCheckBox*>("chkDHCP")->text(),
                  "Obtain an IP address from a DHCP server (DIP 10)");
        EXPECT_EQ(d.findChild<QWidget*>("fraSpecIP")->property("title"), "Specific IP address");
    }
}

TEST_F(QY9000Dialog, OfflineOpenRefreshDefaultAndOkMakeNoRequest) {
    connectStation();
    clsTable& settings = *rail()->clsColTables()->Item(100);
    settings.setConfRegisterValue(16, 0);
    ASSERT_TRUE(dialog.load());
    EXPECT_EQ(text("txtQY9x00", 0), "");
    EXPECT_FALSE(child<QCheckBox>("chkSpeed")->isChecked());
    refresh()->click();
    dialog.cmdDefault->click();
    EXPECT_TRUE(child<QCheckBox>("chkSpeed")->isChecked());
    dialog.cmdOK->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(station->requests().empty());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(railFromDisk()->clsColTables()->Item(100)->ConfRegisterValue(16), 0x3100);
}

class QZ9000Offline : public QY9000Dialog {
  protected:
    QZ9000Offline() : QY9000Dialog("QZ9000-0000") {}
};

TEST_F(QZ9000Offline, OpensWithAnEmptyIdAndNoMessage) {
    ASSERT_TRUE(dialog.load());
    EXPECT_EQ(text("txtQY9x00", 0), "");
    EXPECT_EQ(text("txtQY9x00", 3), "QZ9000_0");
    EXPECT_FALSE(child<QCheckBox>("chkDHCP")->isChecked());
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace varnak::test
