#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QPushButton>
#include <QSpinBox>
#include <cstdlib>

#include "app/InitComPort.h"
#include "app/com_settings.h"
#include "app/frmComParam.h"
#include "app/port_list_entry.h"
#include "comctl/QZcomOCX.h"
#include "model/app_context.h"
#include "model/clsCommon.h"
#include "platform/com_port_map.h"
#include "platform/registry_store.h"
#include "tests/support/qt/isolated_machine.h"
#include "tests/support/qt/pty_port.h"
#include "tests/support/qt/qt_app.h"
#include "tests/support/scoped_env.h"
#include "tests/support/sim_station.h"
#include "tests/support/temp_dir.h"

using namespace qzcom;

using varnak::ComSettings;
using varnak::test::TempDir;

namespace {

// A program context on temporary stores, with a control that has no device behind
// any port number unless a test maps one.
class SerialSettings : public ::testing::Test {
  protected:
    SerialSettings()
        : machine(dir.path()),
          registry(dir / "machine.ini"),
          settings(dir / "settings.ini"),
          scope(context) {
        context.registry = &registry;
        context.settings = &settings;
        context.ui = &ui;
        context.VarnakCommon = std::make_shared<varnak::clsCommon>(context, "/opt/Varnak");
        context.VarnakComOCX = &control;
    }
    ~SerialSettings() override { context.VarnakCommon.reset(); }
    std::string stored(const char* key) {
        return settings.getSetting("Harvenor", "Settings", key, "<absent>");
    }

    TempDir dir;
    varnak::test::IsolatedMachine machine;
    varnak::platform::RegistryStore registry;
    varnak::platform::UserSettings settings;
    varnak::SilentUi ui;
    QZcomOCX control;
    varnak::AppContext context;
    varnak::ContextScope scope;
};

TEST_F(SerialSettings, DefaultsAndRoundTrip) {
    ComSettings d = varnak::fLoadComSettings(settings, "Harvenor");
    EXPECT_EQ(d.Port, "2");
    EXPECT_EQ(d.Baud, "19200");
    EXPECT_EQ(d.Parity, "Even");
    EXPECT_EQ(d.DataBits, "8");
    EXPECT_EQ(d.StopBits, "1");
    EXPECT_EQ(d.QZxType, "RS232");
    EXPECT_EQ(d.Timeout, "1000");
    EXPECT_EQ(d.MultiPoint, "0");
    EXPECT_TRUE(d.CheckCurrentKBus);

    ComSettings s{"3", "9600", "E", "8", "1", "RS485", "250", "17", false};
    varnak::fSaveComSettings(settings, "Harvenor", s);
    EXPECT_EQ(stored("CheckCurrentKBus"), "False");
    EXPECT_EQ(stored("Parity"), "E");
    ComSettings back = varnak::fLoadComSettings(settings, "Harvenor");
    EXPECT_EQ(back.Port, "3");
    EXPECT_EQ(back.Baud, "9600");
    EXPECT_EQ(back.QZxType, "RS485");
    EXPECT_EQ(back.Timeout, "250");
    EXPECT_EQ(back.MultiPoint, "17");
    EXPECT_FALSE(back.CheckCurrentKBus);
    // The serial settings never mix with the program's own settings.
    EXPECT_EQ(settings.getSetting("Varnak", "Settings", "Port", "<absent>"), "<absent>");
}

TEST_F(SerialSettings, InitComPortPassesTheStoredValuesToTheControl) {
    EXPECT_EQ(varnak::InitComPort(context), static_cast<int32_t>(kQZcomErrInvalidPort));
    EXPECT_EQ(control.QZxCommPort(), 2);
    EXPECT_EQ(control.QZxBaudrate(), 19200);
    EXPECT_EQ(control.QZxTyp(), QZxType_RS232);
    EXPECT_EQ(control.QZxTimeout(), 1000);
    EXPECT_FALSE(control.QZxPortOpen());  // nothing behind COM2: skipped silently
    EXPECT_EQ(context.MultiPointAdr, 0);
    EXPECT_TRUE(context.VarnakCommon->CheckCurrentKBus());  // set at start-up already
    EXPECT_TRUE(ui.messages.empty());

    auto store = [&](const char* key, const char* value) {
        EXPECT_TRUE(settings.saveSetting("Harvenor", "Settings", key, value));
    };
    store("QZxType", "rs232");
    store("MultiPoint", "2.5");
    store("Baud", "2400");
    store("Port", "12");
    store("CheckCurrentKBus", "False");
    EXPECT_EQ(varnak::InitComPort(context), static_cast<int32_t>(kQZcomErrInvalidPort));
    EXPECT_EQ(control.QZxTyp(), QZxType_RS485);  // only the exact "RS232" is RS232
    EXPECT_EQ(context.MultiPointAdr, 2);
    EXPECT_EQ(control.QZxBaudrate(), 38400);
    EXPECT_EQ(control.QZxCommPort(), 2);  // outside 1-8: the previous port stays
    EXPECT_FALSE(context.VarnakCommon->CheckCurrentKBus());
    store("MultiPoint", "3.5");
    EXPECT_EQ(varnak::InitComPort(context), static_cast<int32_t>(kQZcomErrInvalidPort));
    EXPECT_EQ(context.MultiPointAdr, 4);
    store("MultiPoint", "abc");
    EXPECT_EQ(varnak::InitComPort(context), static_cast<int32_t>(kQZcomErrInvalidPort));
    EXPECT_EQ(context.MultiPointAdr, 0);
    store("MultiPoint", "99999999999");  // beyond a Long
    EXPECT_EQ(varnak::InitComPort(context), static_cast<int32_t>(kQZcomErrInvalidPort));
    EXPECT_EQ(context.MultiPointAdr, 0);
}

TEST_F(SerialSettings, InitComPortOpensTheMappedDevice) {
    varnak::test::PtyPort pty(3);
    ASSERT_TRUE(settings.saveSetting("Harvenor", "Settings", "Port", "3"));
    EXPECT_EQ(varnak::InitComPort(context), 0);
    EXPECT_TRUE(control.QZxPortOpen());
    EXPECT_EQ(control.QZxCommPort(), 3);
}

TEST(StoredValues, BooleansAndBaudRates) {
    bool v = false;
    EXPECT_TRUE(varnak::parseStoredBoolean("true", v));
    EXPECT_TRUE(v);
    EXPECT_TRUE(varnak::parseStoredBoolean("0", v));
    EXPECT_FALSE(v);
    EXPECT_TRUE(varnak::parseStoredBoolean("-1", v));
    EXPECT_TRUE(v);
    EXPECT_FALSE(varnak::parseStoredBoolean("maybe", v));
    EXPECT_EQ(varnak::baudRateThatRuns("9600"), "9600");
    EXPECT_EQ(varnak::baudRateThatRuns(" 19200 "), "19200");
    EXPECT_EQ(varnak::baudRateThatRuns("2400"), "38400");
    EXPECT_EQ(varnak::baudRateThatRuns("300"), "38400");
    EXPECT_EQ(varnak::baudRateThatRuns(""), "38400");
    EXPECT_EQ(varnak::supportedBaudRates(), (std::vector<std::string>{"9600", "19200", "38400"}));
}

TEST_F(SerialSettings, OpeningAndCancellingLeavesTheOpenPortAlone) {
    varnak::test::ensureQtApp();
    varnak::test::PtyPort pty(3);
    ASSERT_TRUE(settings.saveSetting("Harvenor", "Settings", "Port", "3"));
    EXPECT_EQ(varnak::InitComPort(context), 0);
    ASSERT_TRUE(control.QZxPortOpen());

    varnak::frmComParam dialog(context);
    std::vector<int> probed;
    dialog.setPortProbe([&](int n) {
        probed.push_back(n);
        return n == 5;
    });
    dialog.show();
    EXPECT_EQ(probed, (std::vector<int>{1, 2, 4, 5, 6, 7, 8}));  // never the open port
    QComboBox* ports = dialog.comboSelPort[varnak::frmComParam::kPort];
    ASSERT_EQ(ports->count(), 2);
    EXPECT_EQ(ports->currentData().toInt(), 3);
    EXPECT_TRUE(ports->currentText().contains(QString::fromStdString(pty.device())));
    EXPECT_TRUE(ports->itemText(1).startsWith("COM5"));
    dialog.cmdCancel_Click();
    EXPECT_TRUE(control.QZxPortOpen());
    EXPECT_EQ(control.QZxCommPort(), 3);
    EXPECT_EQ(stored("Port"), "3");
}

TEST(PortList, ALongDevicePathIsElidedInItsMiddleAndKeepsTheParenthesis) {
    varnak::test::ensureQtApp();
    const QFontMetrics metrics(QApplication::font());
    const QString byId = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
    const QString whole = "COM2   (" + byId + ")";
    const int fits = metrics.horizontalAdvance(whole);
    struct Case {
        QString device;
        int width;
        QString expected;  // empty: elided
    };
    const Case cases[] = {
        {"/dev/ttyUSB0", fits, "COM2   (/dev/ttyUSB0)"},
        {byId, fits, whole},
        {byId, fits - 1, ""},
        {byId, fits / 2, ""},
        {byId, 1, QString("COM2   (") + QChar(0x2026) + ")"},
    };
    for (const Case& c : cases) {
        const QString entry = varnak::portListEntry(2, c.device, metrics, c.width);
        if (!c.expected.isEmpty()) {
            EXPECT_EQ(entry, c.expected) << c.width;
            continue;
        }
        EXPECT_LE(metrics.horizontalAdvance(entry), c.width) << entry.toStdString();
        EXPECT_TRUE(entry.startsWith("COM2   (/dev/")) << entry.toStdString();
        EXPECT_TRUE(entry.endsWith("port0)")) << entry.toStdString();
        EXPECT_TRUE(entry.contains(QChar(0x2026))) << entry.toStdString();
    }
}

TEST_F(SerialSettings, APortWithALongDeviceFitsTheListAndShowsItsPathAsToolTip) {
    varnak::test::ensureQtApp();
    const std::string device =
        (dir / "serial" / "by-id" /
         "usb-Harvenor_RS485_Commissioning_Adapter_0123456789ABCDEF-if00-port0")
            .string();
    varnak::test::ScopedEnv mapping("VARNAK_COM5", device.c_str());
    ASSERT_TRUE(settings.saveSetting("Harvenor", "Settings", "Port", "5"));
    varnak::frmComParam dialog(context);
    dialog.setPortProbe([](int n) { return n == 2 || n == 5; });
    dialog.show();
    QComboBox* ports = dialog.comboSelPort[varnak::frmComParam::kPort];
    ASSERT_EQ(ports->count(), 2);
    ASSERT_EQ(ports->currentData().toInt(), 5);
    const QString shown = ports->currentText();
    EXPECT_LE(ports->fontMetrics().horizontalAdvance(shown), varnak::comboTextWidth(*ports))
        << shown.toStdString();
    EXPECT_TRUE(shown.startsWith("COM5   (")) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith("-port0)")) << shown.toStdString();
    EXPECT_EQ(ports->toolTip().toStdString(), device);
    EXPECT_LE(dialog.width(), 480);  // the path does not widen the dialog

    // A wider dialog shows more of the path; the entry stays the port it was.
    dialog.resize(dialog.width() + 600, dialog.height());
    QCoreApplication::processEvents();
    EXPECT_GT(ports->currentText().size(), shown.size());
    ports->setCurrentIndex(0);
    EXPECT_EQ(ports->toolTip().toStdString(), varnak::platform::comPortDevice(2));
    ports->setCurrentIndex(1);
    EXPECT_EQ(dialog.fShownSettings().Port, "5");
}

TEST_F(SerialSettings, DialogShowsWhatRunsAndStoresSaneValues) {
    varnak::test::ensureQtApp();
    auto store = [&](const char* key, const char* value) {
        EXPECT_TRUE(settings.saveSetting("Harvenor", "Settings", key, value));
    };
    store("Baud", "2400");
    store("Port", "6");
    store("MultiPoint", "300");
    store("Timeout", "5");
    store("CheckCurrentKBus", "False");
    context.VarnakCommon->setCheckCurrentKBus(true);

    varnak::frmComParam dialog(context);
    dialog.setPortProbe([](int) { return false; });  // every port busy
    dialog.show();
    EXPECT_EQ(dialog.comboSelPort[varnak::frmComParam::kBaud]->currentText(), "38400");
    EXPECT_EQ(dialog.comboSelPort[varnak::frmComParam::kBaud]->count(), 3);
    EXPECT_EQ(dialog.comboSelPort[varnak::frmComParam::kPort]->count(), 0);
    EXPECT_EQ(dialog.fpLImultiPoint->value(), 255);
    EXPECT_EQ(dialog.fpLITimeOut->value(), 10);
    EXPECT_FALSE(dialog.chkCheckCurrentKBUS->isChecked());
    EXPECT_FALSE(context.VarnakCommon->CheckCurrentKBus());
    EXPECT_FALSE(dialog.comboSelPort[varnak::frmComParam::kParity]->isEnabled());

    dialog.fpLImultiPoint->setValue(1000);  // refused by the field's range
    dialog.chkCheckCurrentKBUS->setChecked(true);
    dialog.cmdOK_Click();
    EXPECT_EQ(stored("Port"), "6");  // an empty list keeps the previous port
    EXPECT_EQ(stored("Baud"), "38400");
    EXPECT_EQ(stored("Parity"), "E");
    EXPECT_EQ(stored("DataBits"), "8");
    EXPECT_EQ(stored("StopBits"), "1");
    EXPECT_EQ(stored("QZxType"), "RS232");
    EXPECT_EQ(stored("MultiPoint"), "255");
    EXPECT_EQ(stored("Timeout"), "10");
    EXPECT_EQ(stored("CheckCurrentKBus"), "True");
    EXPECT_TRUE(context.VarnakCommon->CheckCurrentKBus());  // follows OK at once
    EXPECT_EQ(context.MultiPointAdr, 255);
}

TEST_F(SerialSettings, ConnectionTestAgainstTheSimulatedStation) {
    varnak::test::SimStation station(5, 2);
    station.addTable(0, 9);
    setenv("VARNAK_COM4", station.devicePath().c_str(), 1);
    ASSERT_TRUE(settings.saveSetting("Harvenor", "Settings", "Port", "4"));
    ASSERT_TRUE(settings.saveSetting("Harvenor", "Settings", "MultiPoint", "5"));
    EXPECT_EQ(varnak::InitComPort(context), 0);
    ASSERT_TRUE(control.QZxPortOpen());
    EXPECT_EQ(varnak::fTestConnection(context), 0);
    EXPECT_EQ(station.requests().size(), 4u);
    varnak::showConnectionTestResult(context, 0);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Kommunikation mit Koppler erfolgreich");

    // The dialog's Test button stores what it shows and tests with it.
    varnak::test::ensureQtApp();
    varnak::frmComParam dialog(context);
    dialog.setPortProbe([](int) { return false; });
    dialog.show();
    dialog.fpLITimeOut->setValue(1500);
    dialog.cmdTest_Click();
    EXPECT_EQ(stored("Timeout"), "1500");
    EXPECT_EQ(control.QZxTimeout(), 1500);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].style, varnak::vbInformation);
    EXPECT_TRUE(dialog.cmdOK->isEnabled());
    EXPECT_TRUE(dialog.cmdCancel->isEnabled());
    EXPECT_TRUE(dialog.cmdTest->isEnabled());
    dialog.cmdCancel_Click();
    EXPECT_TRUE(control.QZxPortOpen());  // Cancel after Test keeps what Test stored

    // A station that stops answering: the last of the four reads decides.
    station.queueFault(varnak::test::ReplyFault::none());
    station.queueFault(varnak::test::ReplyFault::none());
    station.queueFault(varnak::test::ReplyFault::none());
    station.queueFault(varnak::test::ReplyFault::badChecksum());
    EXPECT_EQ(varnak::fTestConnection(context), ComErrCRC);
}

TEST_F(SerialSettings, ConnectionTestWithoutAStationReportsItsCode) {
    varnak::test::PtyPort pty(2);  // a device that never answers
    ASSERT_TRUE(settings.saveSetting("Harvenor", "Settings", "Timeout", "50"));
    EXPECT_EQ(varnak::InitComPort(context), 0);
    ASSERT_TRUE(control.QZxPortOpen());
    int code = varnak::fTestConnection(context);
    EXPECT_NE(code, 0);
    EXPECT_EQ(ui.pumpCount, 4);
    varnak::showConnectionTestResult(context, code);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Keine Kommunikation mit Koppler!\n\nCode: " + std::to_string(code));
    EXPECT_EQ(ui.messages[0].style, varnak::vbCritical);
    EXPECT_EQ(ui.messages[0].title, "Test Kommunikation");

    context.VarnakCommon->setLanguageType(1);
    varnak::showConnectionTestResult(context, 0);
    EXPECT_EQ(ui.messages[1].text, "Communication with coupler sucessfuly");
    EXPECT_EQ(ui.messages[1].style, varnak::vbInformation);
    EXPECT_EQ(ui.messages[1].title, "Test communication");
}

TEST_F(SerialSettings, APortThatDoesNotOpenIsNamedWithItsDeviceAndTheCause) {
    ASSERT_TRUE(settings.saveSetting("Harvenor", "Settings", "Port", "3"));
    EXPECT_EQ(varnak::InitComPort(context), static_cast<int32_t>(kQZcomErrInvalidPort));
    ASSERT_FALSE(control.QZxPortOpen());
    varnak::showConnectionTestResult(context, varnak::fTestConnection(context));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Keine Kommunikation mit Koppler!\n\nCode: 11\n\nCOM3 (" + (dir / "none3").string() +
                  "): das Gerät gibt es nicht (ist der Adapter angeschlossen?).");

    varnak::test::writeFile(dir / "plain", "");
    setenv("VARNAK_COM3", (dir / "plain").c_str(), 1);
    context.VarnakCommon->setLanguageType(1);
    EXPECT_EQ(varnak::InitComPort(context), static_cast<int32_t>(kQZcomErrInvalidPort));
    varnak::showConnectionTestResult(context, varnak::fTestConnection(context));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text, "No communication with coupler!\n\nCode: 11\n\nCOM3 (" +
                                       (dir / "plain").string() + "): this is not a serial port.");
}

}  // namespace
