// The Ethernet coupler dialog offscreen against the simulated station (each query answered
// at its first read), with whole wire logs: DHCP mode before and after the server's
// address, Refresh, OK in either address mode, the openings that fail, the coupler's
// answers without a value, a rail without the status table, and offline where nothing goes
// on the wire.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "fieldbus/coupler_settings_dialog.h"
#include "model/clsColTables.h"
#include "model/clsTable.h"
#include "tests/support/qt/rail_fixture.h"
#include "tests/support/wire_log.h"

namespace varnak::test {
namespace {

const std::string kPending = "DHCP still in process.\n\nPlease try again and click 'Refresh'";
const std::string kNoCommunication = "Keine Kommunikation mit Koppler!";

class QY9000Dialog : public RailFixture {
  protected:
    QY9000Dialog() : RailFixture({"QY9000-0000", {}}) {}

    void online(uint16_t dip) {
        connectStation().changeCoupler([=](CouplerState& s) { s.dipSwitch = dip; });
        goOnline();
    }
    template <typename W = QLineEdit>
    W* child(const QString& name) {
        return dialog.findChild<W*>(name);
    }
    QLineEdit* byte(int i) { return child(QString("fpIQY9x00(%1)").arg(i)); }
    std::string text(int i) { return child(QString("txtQY9x00(%1)").arg(i))->text().toStdString(); }
    std::string bytes(int first, int last) {
        std::string s;
        for (int i = first; i <= last; ++i)
            s += (i > first ? "." : "") + byte(i)->text().toStdString();
        return s;
    }
    bool ticked(const char* name) { return child<QAbstractButton>(name)->isChecked(); }
    QPushButton* refresh() { return child<QPushButton>("cmdRefresh"); }
    void leaseTaken() {
        for (auto [reg, value] : {std::pair{0, 0x7C4E}, {2, 0x000A}, {3, 0x0700}})
            station->setRegister(0, 121, reg, static_cast<uint16_t>(value));
    }

    CouplerSettingsDialog dialog{*findCouplerForm("frmCouplerConfigQY9000")};
};

TEST_F(QY9000Dialog, DhcpModeSaysTheServerIsPendingUntilRefreshFindsItsAddress) {
    online(0x20C);
    ASSERT_TRUE(dialog.load());
    EXPECT_TRUE(logMatches("ethernet_open_dhcp.txt"));
    EXPECT_EQ(text(0) + " " + text(1) + " " + text(3),
              "00-01-05-1A-2B-3C 192.168.1.20.1.1 QY9000_12");
    EXPECT_TRUE(ticked("chkDHCP") && ticked("optDip9_ClassC") && !ticked("optDip9_ClassB"));
    EXPECT_EQ(bytes(1, 8) + " " + bytes(9, 12), "....... 0.0.0.0");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, kPending);
    EXPECT_EQ(std::pair(ui.messages[0].style, ui.messages[0].title),
              std::pair(64, std::string("Varnak")));
    for (const char* shown :
         {"chkDHCP", "optDip9_ClassB", "optDip9_ClassC", "txtQY9x00(0)", "txtQY9x00(1)",
          "fpIQY9x00(4)", "fpIQY9x00(9)", "fpIQY9x00(1)", "fraSpecIP"})
        EXPECT_FALSE(child<QWidget>(shown)->isEnabled()) << shown;
    EXPECT_TRUE(child<QWidget>("txtQY9x00(3)")->isEnabled());

    leaseTaken();
    station->clearRequests();
    refresh()->click();
    EXPECT_TRUE(logMatches("ethernet_refresh.txt"));
    EXPECT_EQ(bytes(9, 12), "10.0.0.7");
    EXPECT_EQ(ui.messages.size(), 1u);

    // OK: registers 0..3 and the name as loaded, only the link bit changed in register 16.
    child<QCheckBox>("chkDuplex")->setChecked(false);
    station->clearRequests();
    dialog.cmdOK->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(logMatches("ethernet_ok_dhcp.txt"));
    EXPECT_EQ(station->reg(0, 100, 16), 0x3000);
}

TEST_F(QY9000Dialog, SpecificAddressOkWritesTheTypedAddressWithTheCouplersOwnByte) {
    online(0x100);
    station->setRegister(0, 0, 34, 0x0501);  // the coupler's own address ends in 5
    ASSERT_TRUE(dialog.load());
    EXPECT_EQ(bytes(1, 8) + " " + bytes(9, 12), "192.168.1.5.255.255.255.0 ...");
    EXPECT_TRUE(ticked("optDip9_ClassB") && !ticked("chkDHCP"));
    EXPECT_FALSE(child<QWidget>("txtQY9x00(3)")->isEnabled());  // the name: DHCP mode only
    for (int i : {1, 2, 3, 5, 8}) EXPECT_TRUE(byte(i)->isEnabled()) << i;
    byte(1)->setText("10");
    byte(2)->setText("300");
    station->clearRequests();
    dialog.cmdOK->click();
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"Ungültige Eingabe: IP Address (0 .. 255)"});
    EXPECT_TRUE(station->requests().empty());
    byte(2)->setText("0");
    byte(8)->setText("128");
    dialog.cmdOK->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(std::vector<uint16_t>(
                  {station->reg(0, 100, 0), station->reg(0, 100, 1), station->reg(0, 100, 3)}),
              std::vector<uint16_t>({0x000A, 0x0501, 0x80FF}));
}

TEST_F(QY9000Dialog, OpeningStopsOnlyWhenTheSettingsOrTheGeneralTableCannotBeRead) {
    online(0x20C);
    // Requests: table 121 (1), table 100 (2), table 0 (15).
    for (const auto& [soundFirst, opens] : {std::pair{0, true}, {1, false}, {3, false}}) {
        SCOPED_TRACE(soundFirst);
        ui.messages.clear();
        for (int i = 0; i < soundFirst; ++i) station->queueFault(ReplyFault::none());
        station->queueFault(ReplyFault::badChecksum());
        CouplerSettingsDialog d(*findCouplerForm("frmCouplerConfigQY9000"));
        EXPECT_EQ(d.load(), opens);
        // A status table that could not be read is the line's fault, not the server's: the
        // address is unknown, empty.
        EXPECT_EQ(messageTexts(), std::vector<std::string>{kNoCommunication});
        if (opens) {
            EXPECT_EQ(d.findChild<QLineEdit*>("fpIQY9x00(9)")->text(), "");
        }
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
    EXPECT_EQ(bytes(9, 12), "10.0.0.7");
    ButtonWatchUi watch;
    watch.dialog = &dialog;
    context.ui = &watch;
    station->queueFault(ReplyFault::badChecksum());
    refresh()->click();
    context.ui = &ui;
    EXPECT_EQ(watch.clickable, (std::vector<bool>{false}));  // busy until it is done
    ui.messages = watch.messages;
    EXPECT_EQ(messageTexts(), (std::vector<std::string>{kNoCommunication}));
    EXPECT_EQ(bytes(9, 12), "...");
    EXPECT_TRUE(refresh()->isEnabled() && dialog.cmdOK->isEnabled());

    // In specific-address mode the failed read is said all the same, once.
    station->changeCoupler([](CouplerState& s) { s.dipSwitch = 0x00C; });
    ui.messages.clear();
    station->queueFault(ReplyFault::badChecksum());
    refresh()->click();
    EXPECT_EQ(messageTexts(), (std::vector<std::string>{kNoCommunication}));
}

TEST_F(QY9000Dialog, ARailWithoutTheStatusTableSaysNothingOfDhcpInProcess) {
    connectStation().changeCoupler([](CouplerState& s) { s.dipSwitch = 0x20C; });
    station->setRegister(0, 127, 121, 0);  // the coupler lists no table 121
    goOnline();
    ASSERT_FALSE(context.VarnakOnlineCoupler->clsColTables()->Item(121));
    ASSERT_TRUE(dialog.load());
    EXPECT_TRUE(ticked("chkDHCP"));
    EXPECT_EQ(bytes(9, 20), "...........");
    refresh()->click();
    dialog.cmdDefault->click();
    EXPECT_EQ(bytes(9, 12), "...");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(wireLog(*station).find("table 121 "), std::string::npos) << wireLog(*station);
}

TEST_F(QY9000Dialog, AnswersWithoutAValueAndNoAnswer) {
    online(0x20C);
    station->configureCommands([](StationCommandTable& t) { t.noValue = {0x05FF, 0x03FF}; });
    ASSERT_TRUE(dialog.load());
    EXPECT_EQ(text(0) + " " + text(3), "00-00-00-00-00-00 QY9000_0");
    EXPECT_TRUE(!ticked("chkDHCP") && ticked("optDip9_ClassC"));
    EXPECT_TRUE(ui.messages.empty());

    // A coupler that does not echo: the MAC field empty, DHCP cleared, the class kept.
    station->configureCommands([](StationCommandTable& t) {
        t.echoOnRead[0x05FF] = 0;
        t.echoOnRead[0x03FF] = 0;
    });
    refresh()->click();
    EXPECT_EQ(text(0), "");
    EXPECT_TRUE(ticked("optDip9_ClassC"));
}

TEST_F(QY9000Dialog, OfflineNothingGoesOnTheWireAndTheOwnCaptionsAreEnglishInBothLanguages) {
    connectStation();
    rail()->clsColTables()->Item(100)->setConfRegisterValue(16, 0);
    context.LanguageBase = 2000;
    CouplerSettingsDialog english(*findCouplerForm("frmCouplerConfigQY9000"));
    ASSERT_TRUE(english.load());
    EXPECT_EQ(english.windowTitle(), "Fieldbus specific configuration (Offline)");
    context.LanguageBase = 0;
    ASSERT_TRUE(dialog.load());
    for (QDialog* d : {static_cast<QDialog*>(&english), static_cast<QDialog*>(&dialog)}) {
        EXPECT_EQ(d->findChild<QPushButton*>("cmdRefresh")->text(), "&Refresh");
        EXPECT_EQ(d->findChild<QCheckBox*>("chkSpeed")->text(),
                  "100 Mbps = checked  / 10 Mbps = unchecked");
        EXPECT_EQ(d->findChild<QWidget*>("fraSpecIP")->property("title"), "Specific IP address");
    }
    EXPECT_EQ(dialog.cmdCancel->text(), "&Abbruch");
    EXPECT_EQ(text(0), "");
    EXPECT_FALSE(ticked("chkSpeed"));
    refresh()->click();
    dialog.cmdDefault->click();
    EXPECT_TRUE(ticked("chkSpeed"));
    dialog.cmdOK->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(station->requests().empty());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(railFromDisk()->clsColTables()->Item(100)->ConfRegisterValue(16), 0x3100);
}

}  // namespace
}  // namespace varnak::test
