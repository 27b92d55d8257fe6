// Every coupler form as a dialog on a rail of its type: online, OK without a change sends
// the table as read between lifting and setting the protection (golden wire log per form)
// and leaves the station's table as it was; offline, opening, Default and OK send nothing.
// Then the forms' own captions and the controls that switch others, as a user meets them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "fieldbus/coupler_settings_dialog.h"
#include "model/clsColTables.h"
#include "model/clsCommon.h"
#include "model/clsTable.h"
#include "model/device_register_model.h"
#include "settingsforms/register_image.h"
#include "tests/support/qt/rail_fixture.h"
#include "tests/support/wire_log.h"

namespace varnak::test {
namespace {

// The shipped type a form is named after.
std::string typeOf(const std::string& form) {
    return form.substr(form.size() - 6) + "-0000";
}

class FormRail : public RailFixture {
  public:
    explicit FormRail(const std::string& type) : RailFixture({type, {}}) {}
    void TestBody() override {}
    using ProgramFixture::context;
    using ProgramFixture::messageTexts;
    using RailFixture::connectStation;
    using RailFixture::goOnline;
    using RailFixture::rail;
    using RailFixture::spec;
    using RailFixture::station;
};

std::vector<uint16_t> stationTable(const SimStation& station, int32_t last) {
    std::vector<uint16_t> words;
    for (int32_t r = 0; r <= last; ++r) words.push_back(station.reg(0, kFieldbusSettingsTable, r));
    return words;
}

class EveryCouplerForm : public ::testing::TestWithParam<std::string> {};

TEST_P(EveryCouplerForm, OkUnchangedOnlineSendsTheTableAsReadAndOfflineNothing) {
    const CouplerFormEntry& form = *findCouplerForm(GetParam());
    FormRail r(typeOf(form.name));
    SimStation& station = r.connectStation();
    {
        CouplerSettingsDialog offline(form);
        ASSERT_TRUE(offline.load());
        offline.cmdDefault->click();
        offline.cmdOK->click();
        EXPECT_EQ(offline.result(), QDialog::Accepted);
    }
    EXPECT_TRUE(station.requests().empty());

    r.goOnline();
    const int32_t last = r.rail()->clsColTables()->Item(kFieldbusSettingsTable)->TableLen();
    const std::vector<uint16_t> before = stationTable(station, last);
    {
        CouplerSettingsDialog online(form);
        ASSERT_TRUE(online.load());
        EXPECT_TRUE(online.windowTitle().endsWith(" (Online)"));
        online.cmdOK->click();
        EXPECT_EQ(online.result(), QDialog::Accepted);
    }
    EXPECT_EQ(stationTable(station, last), before);
    EXPECT_TRUE(r.messageTexts().empty());
    EXPECT_TRUE(
        matchesGolden("# " + form.name + " on " + r.spec.coupler + "\n" + wireLog(station),
                      testSourcePath("fieldbus/wire_golden/ok_unchanged") / (form.name + ".txt")));
}

std::vector<std::string> formNames() {
    std::vector<std::string> names;
    for (const CouplerFormEntry& form : couplerForms()) names.push_back(form.name);
    return names;
}

INSTANTIATE_TEST_SUITE_P(Forms, EveryCouplerForm, ::testing::ValuesIn(formNames()),
                         [](const auto& info) { return info.param; });

// One form's dialog, opened offline in the language asked for.
class FormDialog {
  public:
    FormDialog(const std::string& form, bool english, const std::string& type = {})
        : rail_(type.empty() ? typeOf(form) : type) {
        if (english) rail_.context.VarnakCommon->setLanguageType(1);
        dialog_ = std::make_unique<CouplerSettingsDialog>(*findCouplerForm(form));
        EXPECT_TRUE(dialog_->load());
    }
    template <typename W>
    W* get(const char* name) const {
        W* w = dialog_->findChild<W*>(name);
        EXPECT_TRUE(w) << name;
        return w;
    }
    QString label(const char* control) const {
        return get<QLabel>((std::string(control) + "_label").c_str())->text();
    }
    std::vector<std::string> messages() { return rail_.messageTexts(); }
    CouplerSettingsDialog& dialog() { return *dialog_; }
    clsTable& table() { return *rail_.rail()->clsColTables()->Item(kFieldbusSettingsTable); }

  private:
    FormRail rail_;
    std::unique_ptr<CouplerSettingsDialog> dialog_;
};

TEST(CouplerFormCaptions, OwnTextsInBothLanguagesAndTheFixedOnes) {
    for (bool english : {false, true}) {
        SCOPED_TRACE(english ? "English" : "German");
        const FormDialog qz4000("frmCouplerConfigQZ4000", english);
        EXPECT_EQ(qz4000.get<QCheckBox>("chkQZ4x00Spez(0)")->text(),
                  english ? "Synchron mode" : "Synchronmodus");
        EXPECT_EQ(qz4000.get<QCheckBox>("chkQZ4x00DeviceDiag(0)")->text(),
                  "Modulfehlermeldung zur Masteranschaltung");
        QStringList frames;
        for (const QGroupBox* g :
             qz4000.get<QWidget>("frmCouplerConfigQZ4000")->findChildren<QGroupBox*>())
            frames << g->title();
        EXPECT_EQ(frames, (QStringList{"Betriebsmodi", "Gerätediagnose"}));

        const FormDialog qz5110("frmCouplerConfigQZ5110", english);
        EXPECT_EQ(qz5110.label("comboQZ5x00(1)"),
                  english ? "Baudrate DIP 7,8 (1,0)" : "Baudrate bei DIP 7,8 (1,0)");
        EXPECT_EQ(qz5110.get<QComboBox>("comboQZ5x00(3)")->currentText(), "100");

        const FormDialog qz5000("frmCouplerConfigQZ5000", english);
        EXPECT_EQ(qz5000.label("comboQZ5x00(0)"), "Baudrate");
        EXPECT_EQ(qz5000.label("txtQZ5x00(0)"), english ? "Guard-time [ms]" : "Guard-Zeit [ms]");
        EXPECT_EQ(qz5000.label("txtQZ5x00(2)"), "Timer 1 Modus Cycle [ms]");
        EXPECT_EQ(qz5000.label("txtQZ5x00(5)"), "Timer 4 Modus Cycle [ms]");

        const FormDialog qz3000("frmCouplerConfigQZ3000", english, "QZ3100-0000");
        EXPECT_EQ(qz3000.label("txtQZ3x00(0)"),
                  english ? "Tel.-response time (min TSDR)" : "Tel.-Antwortzeit (min TSDR)");
        EXPECT_EQ(qz3000.get<QComboBox>("comboQZ3x00(0)")->itemText(2),
                  english ? "Only FMS mode" : "Reiner FMS Betrieb");

        const FormDialog qy3100("frmCouplerConfigQY3100", english);
        EXPECT_EQ(qy3100.get<QLabel>("Label1")->text(), "Under construction");

        const FormDialog qz5200("frmCouplerConfigQZ5200", english);
        EXPECT_EQ(qz5200.label("flIQZ5200(0)"), "Change of State: Inhibit Time [ms]");

        const FormDialog qz7300("frmCouplerConfigQZ7300", english);
        EXPECT_EQ(qz7300.get<QComboBox>("comboQZ7300(0)")->itemText(1),
                  "7 Data, Odd  Parity, 1 Stop");
        EXPECT_EQ(qz7300.get<QCheckBox>("chkFix")->text(), "Fixed");
    }
}

TEST(CouplerFormControls, OnlyFmsHidesTheDiagnosticLengthAndStoresIt) {
    FormDialog qz3000("frmCouplerConfigQZ3000", false);
    EXPECT_EQ(qz3000.get<QComboBox>("comboQZ3x00(0)")->count(), 1);
    FormDialog f("frmCouplerConfigQZ3000", true, "QZ3100-0000");
    QComboBox* mode = f.get<QComboBox>("comboQZ3x00(0)");
    QComboBox* length = f.get<QComboBox>("comboQZ3x00(1)");
    ASSERT_EQ(mode->count(), 3);
    EXPECT_EQ(length->currentText(), "32");
    auto choose = [&](int item) {
        mode->setCurrentIndex(item);
        emit mode->activated(item);
    };
    choose(2);
    EXPECT_FALSE(length->isVisibleTo(&f.dialog()));
    EXPECT_FALSE(f.get<QLabel>("comboQZ3x00(1)_label")->isVisibleTo(&f.dialog()));
    length->setCurrentText("48");
    choose(0);
    EXPECT_TRUE(length->isVisibleTo(&f.dialog()));
    choose(2);
    f.dialog().cmdOK->click();
    EXPECT_EQ(f.table().ConfRegisterValue(0), 2);
    EXPECT_EQ(f.table().ConfRegisterValue(2), 48);
}

TEST(CouplerFormControls, ADiagnosticLengthTypedIsStoredAsTypedNotCompletedFromTheList) {
    FormDialog f("frmCouplerConfigQZ3000", false, "QZ3100-0000");
    QComboBox* length = f.get<QComboBox>("comboQZ3x00(1)");
    f.dialog().show();
    QApplication::setActiveWindow(&f.dialog());
    length->setFocus();
    // "6" would complete to 64, "1" to 16, "2" to 24, "4" to 40 and 48.
    for (const auto& [typed, stored] :
         {std::pair{"6", 6}, {"1", 1}, {"2", 2}, {"4", 4}, {"20", 20}, {"56", 56}}) {
        SCOPED_TRACE(typed);
        length->lineEdit()->clear();
        for (const char* ch = typed; *ch; ++ch) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_0 + (*ch - '0'), Qt::NoModifier,
                            QString(QChar(*ch)));
            QApplication::sendEvent(length->lineEdit(), &press);
        }
        EXPECT_EQ(length->currentText().toStdString(), typed);
        ASSERT_TRUE(f.dialog().body().checkEntries());
        RegisterImage image = imageOf(f.table());
        f.dialog().body().store(image);
        EXPECT_EQ(image[2], stored);
        EXPECT_EQ(length->count(), 7);  // the list stays as offered
    }
}

TEST(CouplerFormControls, AnInterruptBoxSwitchesItsFieldAndABadPositionIsRefusedByName) {
    FormDialog f("frmCouplerConfigQZ2000", false);
    QCheckBox* box = f.get<QCheckBox>("chkEnableInterupts(1)");
    QLineEdit* position = f.get<QLineEdit>("fpQZ2x00(1)");
    EXPECT_EQ(position->text(), "0.0");
    EXPECT_FALSE(position->isEnabled());
    box->click();
    EXPECT_TRUE(position->isEnabled());
    f.dialog().show();
    position->setText("12.8");
    f.dialog().cmdOK->click();
    EXPECT_EQ(f.messages(), std::vector<std::string>{
                                "Ungültige Eingabe: Aktivieren IIO-Interrupt 2 (0.0 .. 511.7)"});
    EXPECT_TRUE(f.dialog().isVisible());
    EXPECT_EQ(f.dialog().focusWidget(), position);
    EXPECT_EQ(f.table().ConfRegisterValue(1), 0);
    position->setText("12.5");
    f.dialog().cmdOK->click();
    EXPECT_EQ(f.dialog().result(), QDialog::Accepted);
    EXPECT_EQ(f.table().ConfRegisterValue(1), 0x8A0C);
}

}  // namespace
}  // namespace varnak::test
