#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include "app/edition_texts.h"
#include "app/frmAbout.h"
#include "app/frmSplash.h"
#include "model/app_context.h"
#include "model/clsCommon.h"
#include "platform/registry_store.h"
#include "tests/support/qt/qt_app.h"
#include "tests/support/temp_dir.h"

using varnak::test::TempDir;
using varnak::test::writeFile;

namespace {

class EditionWindows : public ::testing::Test {
  protected:
    EditionWindows() : registry(dir / "machine.ini"), scope(context) {
        context.registry = &registry;
        context.ui = &ui;
    }
    ~EditionWindows() override { context.VarnakCommon.reset(); }
    void edition(const char* program, int language) {
        context.VarnakCommon = std::make_shared<varnak::clsCommon>(context, program);
        context.VarnakCommon->setLanguageType(static_cast<int16_t>(language));
    }

    TempDir dir;
    varnak::platform::RegistryStore registry;
    varnak::SilentUi ui;
    varnak::AppContext context;
    varnak::ContextScope scope;
};

TEST_F(EditionWindows, SplashAndAboutTextsFollowEditionAndLanguage) {
    edition("/opt/Varnak", 1);
    varnak::SplashTexts s = varnak::splashTexts(context);
    EXPECT_EQ(s.version, "Version:  " + varnak::versionText());
    EXPECT_EQ(s.platform, "for Linux");
    EXPECT_EQ(s.companyProduct, "Harvenor");
    EXPECT_EQ(s.productName, "Varnak");
    EXPECT_TRUE(s.licenseTo.empty());
    EXPECT_TRUE(s.copyright.empty());
    varnak::AboutTexts a = varnak::aboutTexts(context);
    EXPECT_EQ(a.caption, "Info");
    EXPECT_EQ(a.title, "Harvenor VarnakVarnak         ");
    EXPECT_EQ(a.description.substr(0, a.description.find('\n')), "Harvenor Feldbustechnik GmbH");
    EXPECT_EQ(std::count(a.description.begin(), a.description.end(), '\n'), 4);

    edition("/opt/VarnakPLW", 0);
    s = varnak::splashTexts(context);
    EXPECT_EQ(s.platform, "für Linux");
    EXPECT_EQ(s.companyProduct, "PLW");
    EXPECT_EQ(s.productName, "VarnakPLW");
}

TEST(EditionPictures, ByEditionAndWithoutRegardToCase) {
    TempDir res;
    writeFile(res / "graph" / "hwelcome.PNG", "x");
    writeFile(res / "graph" / "PWelcome.svg", "x");
    writeFile(res / "graph" / "HLOGO.png", "x");
    ASSERT_TRUE(varnak::splashPicture(0, res.path()).has_value());
    EXPECT_EQ(varnak::splashPicture(0, res.path())->filename(), "hwelcome.PNG");
    EXPECT_EQ(varnak::splashPicture(1, res.path())->filename(), "PWelcome.svg");
    EXPECT_EQ(varnak::splashPicture(7, res.path())->filename(), "hwelcome.PNG");
    EXPECT_TRUE(varnak::aboutLogo(0, res.path()).has_value());
    EXPECT_FALSE(varnak::aboutLogo(1, res.path()).has_value());  // missing file
    EXPECT_FALSE(varnak::aboutLogo(2, res.path()).has_value());  // no logo for that edition
}

TEST(SystemInformation, FoundThroughTheRegistry) {
    TempDir dir;
    varnak::platform::RegistryStore registry(dir / "machine.ini");
    EXPECT_FALSE(varnak::systemInfoProgram(registry).has_value());
    ASSERT_TRUE(
        registry.writeValue("SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", dir.str()));
    EXPECT_FALSE(varnak::systemInfoProgram(registry).has_value());  // the file is checked
    writeFile(dir / "MSINFO32.EXE", "x");
    EXPECT_EQ(*varnak::systemInfoProgram(registry), (dir / "MSINFO32.EXE").string());
    // The full path is taken as it stands, without a check.
    ASSERT_TRUE(
        registry.writeValue("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", "/nowhere/info"));
    EXPECT_EQ(*varnak::systemInfoProgram(registry), "/nowhere/info");
}

TEST_F(EditionWindows, SplashIsTopMostAndFilled) {
    varnak::test::ensureQtApp();
    edition("/opt/Varnak", 0);
    varnak::frmSplash splash(context);
    EXPECT_TRUE(splash.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(splash.lblVersion->text().toStdString(), "Version:  " + varnak::versionText());
    EXPECT_EQ(splash.lblPlatform->text(), QString::fromUtf8("für Linux"));
    EXPECT_FALSE(splash.lblWarning->text().isEmpty());
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QApplication::restoreOverrideCursor();
}

TEST_F(EditionWindows, AboutWithoutSystemInformationSaysSo) {
    varnak::test::ensureQtApp();
    edition("/opt/Varnak", 1);
    varnak::frmAbout about(context);
    EXPECT_EQ(about.windowTitle(), "Info");
    std::vector<std::string> started;
    about.setProgramStarter([&](const std::string& p) {
        started.push_back(p);
        return false;  // cannot be started
    });
    about.cmdSysInfo->click();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "System Information Is Unavailable At This Time");
    EXPECT_EQ(ui.messages[0].style, varnak::vbInformation);
    EXPECT_TRUE(started.empty());

    ASSERT_TRUE(
        registry.writeValue("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", "/bin/true"));
    about.cmdSysInfo->click();
    EXPECT_EQ(started, (std::vector<std::string>{"/bin/true"}));
    EXPECT_EQ(ui.messages.size(), 2u);  // the failed start is reported too
}

}  // namespace
