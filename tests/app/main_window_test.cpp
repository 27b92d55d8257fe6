#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTreeWidget>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "app/basStartup.h"
#include "app/frmMainVMT.h"
#include "app/frmSplash.h"
#include "app/project_tree_source.h"
#include "app/single_instance_lock.h"
#include "app/splitter_rules.h"
#include "app/startup_sequence.h"
#include "app/window_placement.h"
#include "model/app_context.h"
#include "model/clsColCouplers.h"
#include "model/clsColTerminals.h"
#include "model/clsCommon.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "model/project_store.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "platform/registry_store.h"
#include "tests/model/fake_register_device.h"
#include "tests/support/qt/isolated_machine.h"
#include "tests/support/qt/qt_app.h"
#include "tests/support/temp_dir.h"
#include "windowkit/clsForms.h"

using varnak::MainMenu;
using varnak::test::TempDir;
using varnak::test::writeFile;

namespace {

// A program context on temporary stores, no device behind any port, design screen.
class MainWindow : public ::testing::Test {
  protected:
    MainWindow()
        : machine(dir.path()),
          registry(dir / "machine.ini"),
          settings(dir / "settings.ini"),
          scope(context) {
        varnak::test::ensureQtApp();
        context.registry = &registry;
        context.settings = &settings;
        context.ui = &ui;
        context.VarnakCommon = std::make_shared<varnak::clsCommon>(context, "/opt/Varnak");
        varnak::VarnakForms().setScreenSizeSource([this] { return screen; });
    }
    ~MainWindow() override {
        varnak::VarnakForms().setScreenSizeSource({});
        context.VarnakCommon.reset();
    }
    std::string stored(const char* key) {
        return settings.getSetting("Varnak", "Settings", key, "<absent>");
    }

    TempDir dir;
    varnak::test::IsolatedMachine machine;
    varnak::platform::RegistryStore registry;
    varnak::platform::UserSettings settings;
    varnak::SilentUi ui;
    varnak::AppContext context;
    varnak::ContextScope scope;
    QSize screen{1024, 768};
};

TEST_F(MainWindow, LoadLeavesItDisabledWithDefaultsAndTheRailWindow) {
    varnak::frmMainVMT w(context);
    const float t = w.twipsPerPixel();
    EXPECT_FALSE(w.isEnabled());
    EXPECT_EQ(context.VarnakComOCX, w.QZcomOCX1());
    EXPECT_NEAR(w.width() * t, 6500, t);
    EXPECT_NEAR(w.height() * t, 6500, t);
    EXPECT_NEAR(w.pos().x() * t, 1000, t);
    EXPECT_FALSE(w.menuItem(MainMenu::Project, 14)->isVisible());
    EXPECT_EQ(w.mdiArea->subWindowList().size(), 1);
    w.mdiArea->subWindowList().front()->close();
    EXPECT_EQ(w.mdiArea->subWindowList().size(), 1);  // the rail view stays
    EXPECT_EQ(w.tvTreeView->topLevelItemCount(), 0);  // an empty project
    EXPECT_EQ(w.statusPanel(2)->text(), "Offline");
    EXPECT_EQ(w.windowTitle().toStdString(), "Harvenor Varnak         Varnak         ");
    EXPECT_EQ(w.toolbarButton(1)->toolTip(), "&Projekt (F2)&Neu...");
    EXPECT_TRUE(w.helpFile().ends_with("Varnak_de.html"));
    EXPECT_TRUE(context.VarnakCommon->CheckCurrentKBus());  // the port set-up ran

    context.VarnakCommon->setLanguageType(1);
    EXPECT_EQ(w.toolbarButton(1)->toolTip(), "&Project (F2)&New...");
    EXPECT_EQ(w.menuItem(MainMenu::Project, 19)->text(), "Exit");
    EXPECT_TRUE(w.helpFile().ends_with("Varnak_en.html"));
    EXPECT_EQ(context.LanguageNr, 1);
}

TEST_F(MainWindow, PlacementIsSavedInTwipsAndNotWhenMinimised) {
    {
        varnak::frmMainVMT w(context);
        w.move(-4, 50);
        w.resize(500, 400);
        w.close();
    }
    EXPECT_EQ(stored("MainLeft"), "-60");
    const float t = 15.0f;  // the offscreen screen's 96 dpi
    EXPECT_EQ(stored("MainTop"), varnak::singleText(50 * t));
    EXPECT_EQ(stored("MainWidth"), varnak::singleText(500 * t));
    EXPECT_EQ(stored("MainHeight"), varnak::singleText(400 * t));

    varnak::savePlacement(settings, {1, 2, 3, 4}, true);
    EXPECT_EQ(stored("MainLeft"), "-60");  // a minimised window saves nothing
}

TEST_F(MainWindow, DefaultPlacementFollowsTheScreenAStoredOneStaysAsItWas) {
    screen = QSize(2048, 1536);
    {
        varnak::frmMainVMT w(context);
        EXPECT_NEAR(w.width() * w.twipsPerPixel(), 13000, 2 * w.twipsPerPixel());
        w.close();
    }
    std::string width = stored("MainWidth");
    for (int run = 0; run < 3; ++run) {
        varnak::frmMainVMT w(context);
        w.close();
        EXPECT_EQ(stored("MainWidth"), width) << "run " << run;
    }
}

TEST(Placement, StoredValuesAndDefaults) {
    TempDir dir;
    varnak::platform::UserSettings s(dir / "settings.ini");
    EXPECT_FALSE(varnak::loadPlacement(s).has_value());
    ASSERT_TRUE(s.saveSetting("Varnak", "Settings", "MainWidth", "937.5"));
    ASSERT_TRUE(s.saveSetting("Varnak", "Settings", "MainTop", "junk"));
    auto p = varnak::loadPlacement(s);
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(*p, (varnak::Placement{1000, 1000, 937.5f, 6500}));
    // Values no window can take fall back to the key's default.
    ASSERT_TRUE(s.saveSetting("Varnak", "Settings", "MainLeft", "inf"));
    ASSERT_TRUE(s.saveSetting("Varnak", "Settings", "MainTop", "nan"));
    ASSERT_TRUE(s.saveSetting("Varnak", "Settings", "MainWidth", "-5"));
    ASSERT_TRUE(s.saveSetting("Varnak", "Settings", "MainHeight", "1e30"));
    EXPECT_FALSE(varnak::loadPlacement(s).has_value());
    ASSERT_TRUE(
        s.saveSetting("Varnak", "Settings", "MainLeft", "-4000"));  // a second screen on the left
    EXPECT_EQ(*varnak::loadPlacement(s), (varnak::Placement{-4000, 1000, 6500, 6500}));
    EXPECT_EQ(varnak::singleText(1000), "1000");
    EXPECT_EQ(varnak::singleText(937.5f), "937.5");
}

TEST(StartProject, EntryRules) {
    using varnak::StartProjectEntry;
    StartProjectEntry e{"/p/A&B", "/p", "A&B", "Line1"};
    EXPECT_EQ(*varnak::startProjectCaption(e), "0: /p/A&&B/Line1");
    EXPECT_FALSE(varnak::startProjectCaption({"/p/x", "/p", "x", ""}).has_value());
    EXPECT_FALSE(varnak::startProjectCaption({"", "/p", "x", "Line1"}).has_value());

    varnak::OpenProjectState s{true, false, "Line1", "A&B", "/p/A&B", "/p"};
    EXPECT_FALSE(varnak::startProjectToRemember(e, s).has_value());  // the same
    s.railName = "Line2";
    EXPECT_EQ(varnak::startProjectToRemember(e, s)->CouplerName, "Line2");
    s.online = true;
    EXPECT_FALSE(varnak::startProjectToRemember(e, s).has_value());
    s.online = false;
    s.hasActiveRail = false;
    EXPECT_FALSE(varnak::startProjectToRemember(e, s).has_value());

    TempDir dir;
    writeFile(dir / "Plant" / "Line1.CF" / "Coupler.CCF", "x");
    auto plan =
        varnak::planRememberedProject({(dir / "Plant").string(), dir.str(), "Plant", "Line1"});
    EXPECT_TRUE(plan.openProject);
    EXPECT_TRUE(plan.openRail);
    EXPECT_EQ(plan.railFile, (dir / "Plant" / "Line1.CF" / "Coupler.CCF").string());
    plan = varnak::planRememberedProject({(dir / "Plant").string(), dir.str(), "Plant", "Gone"});
    EXPECT_TRUE(plan.openProject);
    EXPECT_FALSE(plan.openRail);  // the project alone, no made-up rail
    plan = varnak::planRememberedProject({(dir / "None").string(), dir.str(), "None", "Line1"});
    EXPECT_FALSE(plan.openProject);
    // A hand-edited rail name that leads out of the project opens the project alone.
    writeFile(dir / "Outside.CF" / "Coupler.CCF", "x");
    plan =
        varnak::planRememberedProject({(dir / "Plant").string(), dir.str(), "Plant", "../Outside"});
    EXPECT_TRUE(plan.openProject);
    EXPECT_FALSE(plan.openRail);
}

TEST_F(MainWindow, RememberedEntryIsShownEscapedAndUpdated) {
    varnak::writeStartProject(settings, {"/data/R&D", "/data", "R&D", "Line1"});
    varnak::frmMainVMT w(context);
    QAction* entry = w.menuItem(MainMenu::Project, 14);
    EXPECT_TRUE(entry->isVisible());
    EXPECT_EQ(entry->text(), "0: /data/R&&D/Line1");
    w.fSaveStartProject({true, false, "Line2", "Other", "/data/Other", "/data"});
    EXPECT_EQ(entry->text(), "0: /data/Other/Line2");
    EXPECT_EQ(settings.getSetting("Varnak", "Settings", "Q_StartProjectFolder0"), "/data");
}

TEST_F(MainWindow, ToolbarButtonsReachTheirHandlers) {
    varnak::frmMainVMT w(context);
    w.setEnabled(true);
    std::vector<std::pair<MainMenu, int>> commands;
    w.setCommandInterceptor([&](MainMenu m, int i) { commands.emplace_back(m, i); });
    std::vector<bool> online;
    w.setOnlineSetter([&](bool on) { online.push_back(on); });
    std::vector<QUrl> opened;
    w.setUrlOpener([&](const QUrl& u) {
        opened.push_back(u);
        return true;
    });
    int rebuilds = 0;
    w.setTreeSource([&] {
        ++rebuilds;
        return varnak::TreeSource{};
    });
    for (int p : {1, 2, 3, 4, 15}) w.toolbarButton(p)->trigger();
    EXPECT_EQ(commands, (std::vector<std::pair<MainMenu, int>>{{MainMenu::Project, 1},
                                                               {MainMenu::Project, 2},
                                                               {MainMenu::Project, 5},
                                                               {MainMenu::Project, 12},
                                                               {MainMenu::Help, 5}}));
    w.toolbarButton(9)->setEnabled(true);
    w.toolbarButton(10)->setEnabled(true);
    w.toolbarButton(9)->trigger();
    w.toolbarButton(10)->trigger();
    EXPECT_EQ(online, (std::vector<bool>{true, false}));
    w.toolbarButton(14)->trigger();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_TRUE(opened[0].toLocalFile().endsWith("Varnak_de.html"));
    EXPECT_EQ(rebuilds, 8);  // every button rebuilds the tree
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MainWindow, AFailedLogInOrOutIsShownAlikeFromTheToolbarAndTheOnlineMenu) {
    varnak::frmMainVMT w(context);
    w.setEnabled(true);
    w.setTreeSource([] { return varnak::TreeSource{}; });
    w.setOnlineSetter([](bool on) { throw std::runtime_error(on ? "no station" : "port gone"); });
    for (int p : {9, 10}) w.toolbarButton(p)->setEnabled(true);
    for (int i : {1, 2}) w.menuItem(MainMenu::Online, i)->setEnabled(true);
    w.toolbarButton(9)->trigger();
    w.menuItem(MainMenu::Online, 1)->trigger();
    w.toolbarButton(10)->trigger();
    w.menuItem(MainMenu::Online, 2)->trigger();
    ASSERT_EQ(ui.messages.size(), 4u);
    EXPECT_EQ(ui.messages[0].text, "no station");
    EXPECT_EQ(ui.messages[2].text, "port gone");
    for (size_t toolbar : {0u, 2u}) {
        EXPECT_EQ(ui.messages[toolbar].style, varnak::vbCritical);
        EXPECT_EQ(ui.messages[toolbar].text, ui.messages[toolbar + 1].text);
        EXPECT_EQ(ui.messages[toolbar].style, ui.messages[toolbar + 1].style);
        EXPECT_EQ(ui.messages[toolbar].title, ui.messages[toolbar + 1].title);
    }
}

TEST_F(MainWindow, HelpWithoutAHelpFileSaysSo) {
    TempDir resources;
    setenv("VARNAK_RESOURCE_DIR", resources.str().c_str(), 1);
    varnak::frmMainVMT w(context);
    w.setUrlOpener([](const QUrl&) { return true; });
    EXPECT_TRUE(w.helpFile().ends_with("Varnak_xx.html"));
    w.fShowHelpContents();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Unable to display Help Contents. There is no Help associated with this project.");
    EXPECT_EQ(ui.messages[0].style, varnak::vbInformation);
    EXPECT_EQ(ui.messages[0].title, w.windowTitle().toStdString());

    // A help file the desktop cannot show: the reason in a plain box.
    writeFile(resources.path() / "Help" / "Varnak_xx.html", "<html></html>");
    w.setUrlOpener([](const QUrl&) { return false; });
    w.fShowHelpContents();
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text.rfind("Die Hilfedatei lässt sich nicht öffnen: ", 0), 0u);
    EXPECT_EQ(ui.messages[1].style, varnak::vbOKOnly);
    const char* source = std::getenv("VARNAK_SOURCE_DIR");
    setenv("VARNAK_RESOURCE_DIR", (std::string(source ? source : ".") + "/resources").c_str(), 1);
}

TEST_F(MainWindow, StatusPanelsAndMenuStateFollowTheOnlineFlag) {
    varnak::frmMainVMT w(context);
    EXPECT_FALSE(w.toolbarButton(10)->isEnabled());
    EXPECT_TRUE(w.toolbarButton(9)->isEnabled());
    EXPECT_FALSE(w.menuItem(MainMenu::Online, 2)->isEnabled());
    EXPECT_FALSE(w.menuItem(MainMenu::Online, 10)->isVisible());  // no developer mode

    // Enabled after the splash, the window still shows the offline rule set.
    w.setEnabled(true);
    for (int i : {2, 4, 7, 8, 10}) EXPECT_FALSE(w.menuItem(MainMenu::Online, i)->isEnabled()) << i;

    // No device behind the port: the project refuses to go online and says why.
    w.toolbarButton(9)->trigger();
    EXPECT_FALSE(varnak::gfVarnakProject()->Online());
    EXPECT_EQ(w.statusPanel(2)->text(), "Offline");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].style, varnak::vbCritical);
    EXPECT_EQ(ui.messages[0].text,
              "Die serielle Schnittstelle konnte nicht eingerichtet werden.\n\nCOM2 (" +
                  (dir / "none2").string() +
                  "): das Gerät gibt es nicht (ist der Adapter angeschlossen?).");

    varnak::gfVarnakProject()->InitComPort = [] { return 0; };
    varnak::test::FakeRegisterDevice station;  // answers the station read of going online
    context.registerDevice = &station;
    w.toolbarButton(9)->trigger();
    EXPECT_TRUE(varnak::gfVarnakProject()->Online());
    EXPECT_EQ(w.statusPanel(2)->text(), "Online ");
    EXPECT_TRUE(w.toolbarButton(10)->isEnabled());
    for (int p : {1, 2, 3, 9}) EXPECT_FALSE(w.toolbarButton(p)->isEnabled()) << p;
    EXPECT_FALSE(w.menuItem(MainMenu::Project, 1)->isEnabled());
    for (int i : {7, 8}) EXPECT_TRUE(w.menuItem(MainMenu::Online, i)->isEnabled()) << i;
    // Online the tree shows the station's rail as its root, without a project node.
    ASSERT_EQ(w.tvTreeView->topLevelItemCount(), 1);
    EXPECT_TRUE(w.tvTreeView->topLevelItem(0)->text(0).startsWith("Pos0: "));
    w.toolbarButton(10)->trigger();
    EXPECT_EQ(w.statusPanel(2)->text(), "Offline");
    EXPECT_FALSE(w.menuItem(MainMenu::Online, 8)->isEnabled());

    w.setStatusText("Upload coupler data... 9");
    EXPECT_EQ(w.statusPanel(1)->text(), "Upload coupler data... 9");
    EXPECT_FALSE(w.statusPanel(3)->text().isEmpty());
    EXPECT_FALSE(w.statusPanel(4)->text().isEmpty());

    context.VarnakCommon->setAccessLevel(1);
    w.fSetMenuState();
    EXPECT_TRUE(w.menuItem(MainMenu::Online, 10)->isVisible());
    EXPECT_FALSE(w.menuItem(MainMenu::Online, 10)->isEnabled());  // offline
}

TEST_F(MainWindow, TreeWidgetShowsTheTreeDataExpanded) {
    varnak::frmMainVMT w(context);
    w.setTreeSource([] {
        varnak::TreeSource s;
        s.projectName = "Plant";
        varnak::TreeRail r;
        r.symbolicId = 1;
        r.symbolicName = "Line1";
        r.infoName = "QZ3100-0000";
        r.tableNumbers = {0};
        s.rail = r;
        return s;
    });
    w.fFillTreeView();
    ASSERT_EQ(w.tvTreeView->topLevelItemCount(), 1);
    QTreeWidgetItem* project = w.tvTreeView->topLevelItem(0);
    EXPECT_EQ(project->text(0), "Projekt Plant");
    EXPECT_EQ(project->data(0, Qt::UserRole).toString(), "SZ_PROJECT_GRPKEY________");
    EXPECT_TRUE(project->isExpanded());
    QTreeWidgetItem* coupler = project->child(0);
    EXPECT_TRUE(coupler->isExpanded());
    QTreeWidgetItem* settingsGroup = coupler->child(0);
    EXPECT_FALSE(settingsGroup->isExpanded());
    EXPECT_EQ(settingsGroup->childCount(), 4);
}

// A project on the shipped descriptions: Werk.PF with the rail "Linie 1".
class ProjectOnDisk : public MainWindow {
  protected:
    void SetUp() override {
        varnak::ini::dropCache();
        shipped = varnak::platform::resourceDir();
        if (!std::filesystem::exists(shipped / "Terminal" / "QT3004-0000.INI"))
            GTEST_SKIP() << "no resource folder";
        std::filesystem::create_directories(dir / "prog");
        project = std::make_shared<varnak::clsProject>((dir / "prog").string(), shipped.string());
        context.VarnakProject = project;
        ASSERT_EQ(project->fNewProject("Werk", (dir / "Werk.PF").string(), dir.str()),
                  varnak::kStoreOk);
        auto couplers = project->clsColCouplers();
        ASSERT_EQ(couplers->Add("QZ3100-0000", 1, "Linie 1"), varnak::kStoreOk);
        auto rail = *couplers->begin();
        auto terminals = rail->clsColTerminals();
        for (const char* type : {"QT3004-0000", "QT1002-0000", "QT9010-0000"})
            ASSERT_EQ(terminals->Add(type, terminals->Count() + 1, 1, rail->ConfSymbolicID()),
                      varnak::kStoreOk);
        ASSERT_EQ(rail->ConfSaveData(), varnak::kStoreOk);
    }
    void TearDown() override { varnak::ini::dropCache(); }

    std::filesystem::path shipped;
    std::shared_ptr<varnak::clsProject> project;
};

TEST_F(ProjectOnDisk, TreeOfTheLoadedRailInBothLanguages) {
    varnak::TreeSource source = varnak::treeSourceFromProject(context);
    ASSERT_TRUE(source.rail.has_value());
    auto nodes = varnak::fBuildProjectTree(source, context);
    ASSERT_GT(nodes.size(), 10u);
    EXPECT_EQ(nodes[0].text, "Projekt Werk");
    EXPECT_EQ(nodes[1].text.rfind("Linie 1() Pos0: QZ3100-0000 ", 0), 0u);
    // The terminals' own channel writer gives what the tree's rule gives.
    varnak::TreeSource byRule = source;
    for (auto& [pos, t] : byRule.rail->terminals) t.channelNodes = nullptr;
    EXPECT_EQ(varnak::fBuildProjectTree(byRule, context), nodes);
    size_t terminalNodes = 0;
    for (const auto& n : nodes)
        if (n.key.rfind("SZ_TERMINAL_ITEMKEY______", 0) == 0) ++terminalNodes;
    EXPECT_EQ(terminalNodes, 3u);

    context.VarnakCommon->setLanguageType(1);
    nodes = varnak::fBuildProjectTree(varnak::treeSourceFromProject(context), context);
    EXPECT_EQ(nodes[0].text, "Project Werk");
    EXPECT_EQ(nodes[2].text, "Adjustments");
}

TEST_F(ProjectOnDisk, RememberedProjectWithAMissingRailOpensTheProjectAlone) {
    varnak::writeStartProject(settings, {(dir / "Werk.PF").string(), dir.str(), "Werk", "Gone"});
    ASSERT_EQ(project->clsColCouplers()->fClearColCouplers(), varnak::kStoreOk);
    varnak::frmMainVMT w(context);
    w.fOpenRememberedProject();
    EXPECT_EQ(project->ProjektName(), "Werk");
    EXPECT_EQ(project->clsColCouplers()->Count(), 0);  // no made-up rail
    ASSERT_EQ(w.tvTreeView->topLevelItemCount(), 1);
    EXPECT_EQ(w.tvTreeView->topLevelItem(0)->childCount(), 0);

    varnak::writeStartProject(settings, {(dir / "Werk.PF").string(), dir.str(), "Werk", "Linie 1"});
    w.fGetStartProject();
    w.fOpenRememberedProject();
    ASSERT_EQ(project->clsColCouplers()->Count(), 1);
    EXPECT_EQ((*project->clsColCouplers()->begin())->ConfSymbolicName(), "Linie 1");
    EXPECT_EQ(w.tvTreeView->topLevelItem(0)->childCount(), 1);
    w.fSaveStartProject();  // the same project and rail: nothing changes
    EXPECT_EQ(varnak::readStartProject(settings).CouplerName, "Linie 1");
}

TEST_F(ProjectOnDisk, RememberedRailThatIsNoRailFileOpensTheProjectAloneAndSaysWhy) {
    const auto railFolder = dir / "Werk.PF" / "Kaputt.CF";
    std::filesystem::create_directories(railFolder);
    std::ofstream(railFolder / "Coupler.CCF") << "\x01\x02 garbage\n";
    varnak::writeStartProject(settings, {(dir / "Werk.PF").string(), dir.str(), "Werk", "Kaputt"});
    ASSERT_EQ(project->clsColCouplers()->fClearColCouplers(), varnak::kStoreOk);
    varnak::frmMainVMT w(context);
    ui.messages.clear();
    w.fOpenRememberedProject();
    EXPECT_EQ(project->ProjektName(), "Werk");
    EXPECT_EQ(project->clsColCouplers()->Count(), 0);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("Coupler.CCF"), std::string::npos);
    EXPECT_EQ(ui.messages[0].style, varnak::vbCritical);
}

TEST_F(ProjectOnDisk, CaptionNamesTheOpenProjectUntilTheNextLanguageSwitch) {
    varnak::frmMainVMT w(context);
    const std::string title = "Harvenor Varnak         Varnak         ";
    ASSERT_EQ(w.windowTitle().toStdString(), title);
    w.menuItem(MainMenu::Project, 5)->setEnabled(false);
    w.fSetMainCaption(2);
    EXPECT_EQ(w.windowTitle().toStdString(), "Harvenor VarnakVarnak" + std::string(9, ' ') +
                                                 std::string(16, ' ') + "Projekt:  Werk");
    EXPECT_TRUE(w.menuItem(MainMenu::Project, 5)->isEnabled());
    EXPECT_FALSE(w.menuItem(MainMenu::Project, 8)->isEnabled());
    const QString withProject = w.windowTitle();
    for (int state : {4, 6}) {
        w.fSetMainCaption(state);  // leaves the caption as it was
        EXPECT_EQ(w.windowTitle(), withProject);
    }
    context.VarnakCommon->setLanguageType(1);
    EXPECT_EQ(w.windowTitle().toStdString(), title);
    w.fSetMainCaption(2);
    EXPECT_TRUE(w.windowTitle().endsWith("Project:  Werk"));
}

TEST_F(MainWindow, HelpFileFollowsTheLanguageAndFallsBackToTheCommonOne) {
    TempDir resources;
    setenv("VARNAK_RESOURCE_DIR", resources.str().c_str(), 1);
    writeFile(resources.path() / "Help" / "Varnak_xx.html", "<html></html>");
    writeFile(resources.path() / "Help" / "varnak_DE.html", "<html></html>");
    {
        varnak::frmMainVMT w(context);
        EXPECT_TRUE(w.helpFile().ends_with("varnak_DE.html"));  // found whatever its case
        context.VarnakCommon->setLanguageType(1);
        EXPECT_TRUE(w.helpFile().ends_with("Varnak_xx.html"));  // no English help
        std::vector<QUrl> opened;
        w.setUrlOpener([&](const QUrl& u) {
            opened.push_back(u);
            return true;
        });
        w.fShowHelpContents();
        ASSERT_EQ(opened.size(), 1u);
        EXPECT_TRUE(opened[0].toLocalFile().endsWith("Varnak_xx.html"));
        EXPECT_TRUE(ui.messages.empty());
    }
    const char* source = std::getenv("VARNAK_SOURCE_DIR");
    setenv("VARNAK_RESOURCE_DIR", (std::string(source ? source : ".") + "/resources").c_str(), 1);
}

TEST_F(MainWindow, SplitterStopsFiveHundredTwipsFromEitherEdge) {
    varnak::frmMainVMT w(context);
    w.resize(800, 600);
    w.show();
    const float t = w.twipsPerPixel();
    w.imgSplitter_MouseDown();
    EXPECT_TRUE(w.picSplitter->isVisible());
    EXPECT_EQ(w.picSplitter->width(), w.imgSplitter->width() / 2);
    w.imgSplitter_MouseMove(-100000);
    EXPECT_NEAR(w.picSplitter->x() * t, 500, t);
    w.imgSplitter_MouseMove(100000);
    EXPECT_NEAR(w.picSplitter->x() * t, 800 * t - 500, t);
    w.imgSplitter_MouseMove(4000 - static_cast<int>(w.imgSplitter->x() * t));
    w.imgSplitter_MouseUp();
    EXPECT_FALSE(w.picSplitter->isVisible());
    EXPECT_FALSE(w.splitterMoving());
    EXPECT_NEAR(w.picMDI->width() * t, 4000, 2 * t);
    EXPECT_NEAR(w.tvTreeView->width() * t, 3900, 2 * t);
    EXPECT_EQ(w.imgSplitter->x(), w.tvTreeView->width());
    w.imgSplitter_MouseMove(100);  // not moving: nothing happens
    EXPECT_FALSE(w.picSplitter->isVisible());
}

TEST(SplitterRule, Clamp) {
    EXPECT_EQ(varnak::splitterBarLeft(0, 9000), 500);
    EXPECT_EQ(varnak::splitterBarLeft(499, 9000), 500);
    EXPECT_EQ(varnak::splitterBarLeft(3000, 9000), 3000);
    EXPECT_EQ(varnak::splitterBarLeft(8600, 9000), 8500);
}

TEST_F(MainWindow, StartUpKeepsTheMainWindowDisabledDuringTheSplash) {
    writeFile(dir / "res" / "Terminal" / "QT3002.INI", "x");
    writeFile(dir / "res" / "Terminal" / "QT3002-0000.INI", "x");
    const char* source = std::getenv("VARNAK_SOURCE_DIR");
    setenv("VARNAK_RESOURCE_DIR", (dir / "res").c_str(), 1);

    double now = 100;
    int pumps = 0;
    bool disabledThroughout = true;
    bool splashThroughout = true;
    bool cleanedBeforeWait = true;
    struct PumpingUi : varnak::SilentUi {
        std::function<void()> onPump;
        void pumpEvents() override {
            SilentUi::pumpEvents();
            if (onPump) onPump();
        }
    } pumping;
    context.ui = &pumping;
    pumping.onPump = [&] {
        ++pumps;
        now += 0.5;
        if (pumps == 1) return;  // the pass that paints the splash window
        varnak::frmMainVMT* w = varnak::mainWindow();
        if (!w || w->isEnabled()) disabledThroughout = false;
        bool splashShown = false;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (qobject_cast<varnak::frmSplash*>(top) && top->isVisible()) splashShown = true;
        if (!splashShown) splashThroughout = false;
        if (std::filesystem::exists(dir / "res" / "Terminal" / "QT3002.INI"))
            cleanedBeforeWait = false;
    };
    auto w = varnak::runStartupWindows(context, nullptr, {[&] { return now; }, 3.0f});
    EXPECT_EQ(pumps, 1 + 6);  // the splash pass, then 3.0 s in steps of 0.5 s
    EXPECT_TRUE(disabledThroughout);
    EXPECT_TRUE(splashThroughout);
    EXPECT_TRUE(cleanedBeforeWait);
    EXPECT_TRUE(w->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    for (QWidget* top : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<varnak::frmSplash*>(top)) << "splash window left behind";
    context.ui = &ui;
    setenv("VARNAK_RESOURCE_DIR", (std::string(source ? source : ".") + "/resources").c_str(), 1);
}

TEST_F(MainWindow, ASecondInstanceEndsAtOnce) {
    varnak::SingleInstanceLock first(varnak::instanceLockFile());
    ASSERT_TRUE(first.acquired());
    char name[] = "varnak";
    char* argv[] = {name, nullptr};
    EXPECT_EQ(varnak::Main(1, argv), 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "settings.ini"));  // nothing touched
}

TEST_F(MainWindow, TheRegisterTablesGoThroughItsControlWhileItLives) {
    {
        varnak::frmMainVMT w(context);
        EXPECT_NE(context.registerDevice, nullptr);
    }
    EXPECT_EQ(context.registerDevice, nullptr);  // nothing points into a closed window
    varnak::test::FakeRegisterDevice station;    // a device put in its place stays
    context.registerDevice = &station;
    { varnak::frmMainVMT w(context); }
    EXPECT_EQ(context.registerDevice, &station);
}

}  // namespace
