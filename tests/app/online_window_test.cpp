// The main window going online and offline: the access check of the toolbar, the status
// panel, the tree of the station read, the failure path, and the caption by project state.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QTreeWidget>
#include <cstdlib>

#include "app/frmMainVMT.h"
#include "model/clsCommon.h"
#include "platform/registry_store.h"
#include "tests/model/fake_register_device.h"
#include "tests/model/project_fixture.h"
#include "tests/support/qt/qt_app.h"
#include "windowkit/clsForms.h"

namespace varnak::test {
namespace {

// A station that never answers.
class SilentDevice : public RegisterDevice {
  public:
    int32_t readRegisters(int32_t, int32_t, int32_t, int32_t, int32_t,
                          std::span<int32_t>) override {
        ++reads;
        return 2;
    }
    int32_t writeRegisters(int32_t, int32_t, int32_t, int32_t, int32_t,
                           std::span<const int32_t>) override {
        return 2;
    }
    int reads = 0;
};

class OnlineWindow : public ::testing::Test, public ProjectFixture {
  protected:
    OnlineWindow() : registry(dir / "machine.ini"), settings(dir / "settings.ini") {
        ensureQtApp();
        setenv("VARNAK_CONFIG_DIR", dir.str().c_str(), 1);
        context().registry = &registry;
        context().settings = &settings;
        context().VarnakCommon = std::make_shared<clsCommon>(context(), "/opt/Varnak");
        VarnakForms().setScreenSizeSource([] { return QSize(1024, 768); });
        window = std::make_unique<frmMainVMT>(context());
        window->setEnabled(true);
        project->InitComPort = [] { return 0; };
        // The station: a coupler QZ3100-0000 with two digital terminals.
        station.registers(0, 9)[0] = 3100;
        station.registers(0, 9)[1] = 0x8201;
        station.registers(0, 9)[2] = 0x8402;
        station.registers(0, 0)[248] = 0x7C4E;
        station.registers(0, 0)[246] = 1;
        context().registerDevice = &station;
        writeTerminal("QT2114-0000", 1, 4, 0, 4);
    }
    ~OnlineWindow() override {
        window.reset();
        context().registerDevice = nullptr;
        context().VarnakCommon.reset();
        VarnakForms().setScreenSizeSource({});
        unsetenv("VARNAK_CONFIG_DIR");
    }
    QString panel() { return window->statusPanel(2)->text(); }
    std::vector<std::string> treeTexts() {
        std::vector<std::string> out;
        std::function<void(QTreeWidgetItem*)> walk = [&](QTreeWidgetItem* item) {
            out.push_back(item->text(0).toStdString());
            for (int i = 0; i < item->childCount(); ++i) walk(item->child(i));
        };
        for (int i = 0; i < window->tvTreeView->topLevelItemCount(); ++i)
            walk(window->tvTreeView->topLevelItem(i));
        return out;
    }

    TempDir dir;
    platform::RegistryStore registry;
    platform::UserSettings settings;
    FakeRegisterDevice station;
    std::unique_ptr<frmMainVMT> window;
};

TEST_F(OnlineWindow, TheToolbarAsksForTheAccessCodeLikeTheMenu) {
    context().AccessCodeText.clear();
    window->toolbarButton(9)->trigger();
    EXPECT_FALSE(project->Online());
    ASSERT_EQ(ui.prompts.size(), 1u);
    EXPECT_TRUE(station.calls.empty());  // refused before any device request

    ui.inputs.push_back(std::string("tidal-gate"));
    window->toolbarButton(9)->trigger();
    EXPECT_TRUE(project->Online());
    EXPECT_EQ(ui.prompts.size(), 2u);
}

TEST_F(OnlineWindow, OnlineShowsTheStationAndOfflineTheProject) {
    window->toolbarButton(9)->trigger();
    ASSERT_TRUE(project->Online());
    EXPECT_EQ(panel(), "Online ");
    std::vector<std::string> tree = treeTexts();
    auto has = [&](const std::string& part) {
        for (const auto& t : tree)
            if (t.find(part) != std::string::npos) return true;
        return false;
    };
    EXPECT_TRUE(has("QZ3100-0000"));
    EXPECT_TRUE(has("QT1002-0000"));
    EXPECT_TRUE(has("QT2114-0000"));
    EXPECT_TRUE(has("QT9010-0000"));
    EXPECT_FALSE(has("Unknown"));
    EXPECT_TRUE(window->toolbarButton(10)->isEnabled());

    auto stationRail = context().VarnakOnlineCoupler;
    ASSERT_TRUE(stationRail);
    const size_t callsOnline = station.calls.size();
    window->toolbarButton(10)->trigger();
    EXPECT_FALSE(project->Online());
    EXPECT_EQ(panel(), "Offline");
    // Going offline only changes the window: the station rail stays, the station is left
    // alone.
    EXPECT_EQ(context().VarnakOnlineCoupler, stationRail);
    EXPECT_EQ(station.calls.size(), callsOnline);
    tree = treeTexts();
    EXPECT_FALSE(has("QT1002-0000"));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(OnlineWindow, ASilentStationGoesBackOfflineWithTheMessage) {
    SilentDevice silent;
    context().registerDevice = &silent;
    window->toolbarButton(9)->trigger();
    EXPECT_EQ(silent.reads, 5);
    EXPECT_FALSE(project->Online());
    EXPECT_EQ(panel(), "Offline");
    EXPECT_TRUE(window->toolbarButton(9)->isEnabled());
    EXPECT_FALSE(window->toolbarButton(10)->isEnabled());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Keine Kommunikation mit Koppler!");
    context().registerDevice = &station;
}

TEST_F(OnlineWindow, TheProjectStateSetsTheCaptionAndTheProjectItems) {
    ASSERT_EQ(newProject("Plant"), kStoreOk);
    const QString before = window->windowTitle();
    QAction* save = window->menuItem(MainMenu::Project, 5);
    QAction* item8 = window->menuItem(MainMenu::Project, 8);
    for (int state : {4, 6}) {
        SCOPED_TRACE(state);
        save->setEnabled(false);
        item8->setEnabled(true);
        window->fProjectStateChanged(state);
        EXPECT_EQ(window->windowTitle(), before);
        EXPECT_FALSE(save->isEnabled());
        EXPECT_FALSE(item8->isEnabled());
    }
    item8->setEnabled(true);
    window->fProjectStateChanged(2);
    // Title and product text, nine blanks, sixteen more, then the project.
    EXPECT_EQ(window->windowTitle().toStdString(),
              "Harvenor VarnakVarnak" + std::string(25, ' ') + "Projekt:  Plant");
    EXPECT_TRUE(save->isEnabled());
    EXPECT_FALSE(item8->isEnabled());
}

}  // namespace
}  // namespace varnak::test
