// The main window's menus, keys and popups, offscreen.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <filesystem>
#include <stdexcept>

#include "app/basComDlg32.h"
#include "app/frmMainVMT.h"
#include "app/main_menu_table.h"
#include "app/qt_ui_services.h"
#include "app/report_printer.h"
#include "app/window_placement.h"
#include "model/clsColCouplers.h"
#include "model/clsColTerminals.h"
#include "model/clsCommon.h"
#include "model/clsCoupler.h"
#include "model/clsTerminal.h"
#include "model/project_store.h"
#include "model/tree_node_key.h"
#include "platform/paths.h"
#include "tests/support/qt/menus_fixture.h"

namespace varnak {
namespace {

using Strings = std::vector<std::string>;
using M = MainMenu;

class MainMenus : public test::MenusFixture {
  protected:
    void SetUp() override {
        window = std::make_unique<frmMainVMT>(context);
        window->setEnabled(true);
        window->setPopupShower([this](MainMenu m, const QPoint&) {
            popups.push_back({m, window->selectedKey()});
        });
        window->setOnlineSetter([this](bool on) { online.push_back(on); });
    }
    void TearDown() override { window.reset(); }

    void key(int qtKey, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, qtKey, mods);
        QApplication::sendEvent(window->tvTreeView, &press);
    }
    QTreeWidgetItem* itemOf(const std::string& k) {
        for (QTreeWidgetItemIterator it(window->tvTreeView); *it; ++it)
            if ((*it)->data(0, Qt::UserRole).toString().toStdString() == k) return *it;
        return nullptr;
    }
    void rightClick(const std::string& k) {
        QTreeWidgetItem* item = itemOf(k);
        ASSERT_NE(item, nullptr) << k;
        window->tvTreeView->scrollToItem(item);
        QPoint at = window->tvTreeView->visualItemRect(item).center();
        QMouseEvent press(QEvent::MouseButtonPress, at,
                          window->tvTreeView->viewport()->mapToGlobal(at), Qt::RightButton,
                          Qt::RightButton, Qt::NoModifier);
        QApplication::sendEvent(window->tvTreeView->viewport(), &press);
    }
    std::string firstKeyOf(TreeNodeKind kind) {
        for (QTreeWidgetItemIterator it(window->tvTreeView); *it; ++it) {
            std::string k = (*it)->data(0, Qt::UserRole).toString().toStdString();
            if (treeKeyKind(k) == kind && !isGroupKey(k)) return k;
        }
        return {};
    }

    std::unique_ptr<frmMainVMT> window;
    std::vector<std::pair<MainMenu, std::string>> popups;
    std::vector<bool> online;
};

TEST_F(MainMenus, LanguageSwitchRelabelsEveryCaptionAndToolTip) {
    for (int language : {1, 0, 0}) {
        // Choosing the language already active relabels too.
        window->menuItem(M::Project, 1)->setText("stale");
        window->menuItem(M::Language, language)->trigger();
        for (const CaptionEntry& c : menuCaptionIds()) {
            EXPECT_EQ(window->menuItem(c.menu, c.index)->text().toStdString(),
                      context.text(c.textId))
                << static_cast<int>(c.menu) << " " << c.index << " language " << language;
        }
        for (const ToolbarButtonSpec& b : toolbarButtons()) {
            if (b.action == ToolbarAction::None) continue;
            EXPECT_EQ(window->toolbarButton(b.position)->toolTip().toStdString(),
                      toolbarToolTip(b));
        }
    }
    context.VarnakCommon->setLanguageType(1);
    EXPECT_EQ(window->menuItem(M::PopupTerminal, 1)->text(), "Delete terminal");
    EXPECT_EQ(window->menuItem(M::RimTalk, 0)->text(), "QZ3xxx Adjustments...");
    EXPECT_EQ(window->toolbarButton(3)->toolTip(), "&Project (F2)&Save");
    EXPECT_FALSE(window->menuItem(M::PopupCoupler, 5)->isEnabled());
}

TEST_F(MainMenus, QtsOwnButtonsFollowTheLanguageMenu) {
    QtUiServices qtUi;
    context.ui = &qtUi;
    window->menuItem(M::Language, 0)->trigger();
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Abbrechen");
    window->menuItem(M::Language, 1)->trigger();
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
    context.ui = &ui;
}

TEST_F(MainMenus, MenuItemsReachTheirWindowsAndCommands) {
    window->menuItem(M::Project, 1)->trigger();
    window->menuItem(M::Project, 3)->trigger();
    window->menuItem(M::Project, 12)->trigger();
    // Items that are disabled offline: their handlers directly.
    window->mnuOnlineItem_Click(4);
    window->mnuOnlineCouplerItem_Click(0);
    window->mnuRimTalkItem_Click(0);
    window->mnuRimTalkItem_Click(1);  // no action
    window->mnuRimTalkItem_Click(2);
    window->menuItem(M::Option, 1)->trigger();
    window->menuItem(M::Help, 5)->trigger();
    EXPECT_EQ(openers.calls,
              (Strings{"frmProjNew", "frmProjDel", "frmPrint.fKonstruktor",
                       "frmProcData.fConstructor", "frmCouplerFunctions", "frmRimTalkQZ3xxx",
                       "frmRimTalkDebug", "frmComParam", "frmAbout"}));
    // Printer set-up chooses the printer the reports and the rail picture print on.
    std::vector<bool> setupDialogs;
    reportPrinter().setDialogRunner([&](QPrinter&, bool setup) {
        setupDialogs.push_back(setup);
        return false;
    });
    window->menuItem(M::Project, 11)->trigger();
    reportPrinter().setDialogRunner({});
    EXPECT_EQ(setupDialogs, std::vector<bool>{true});
    int printerSetups = 0;
    window->setPrinterSetup([&] { ++printerSetups; });
    window->menuItem(M::Project, 11)->trigger();
    EXPECT_EQ(printerSetups, 1);

    // Log in asks for the access code; a refused one stays offline.
    context.AccessCodeText.clear();
    window->menuItem(M::Online, 1)->trigger();
    EXPECT_TRUE(online.empty());
    EXPECT_EQ(ui.prompts.size(), 1u);
    ui.inputs = {std::string("tidal-gate")};
    window->menuItem(M::Online, 1)->trigger();
    window->mnuOnlineItem_Click(2);
    EXPECT_EQ(online, (std::vector<bool>{true, false}));
}

TEST_F(MainMenus, SaveWritesTheActiveRailAndExitClosesTheWindowSavingItsPlacement) {
    if (!makeProject()) GTEST_SKIP() << "no resource folder";
    loadedRail()->setUserInfoDescription("saved by the menu");
    window->mnuProjectItem_Click(5);
    EXPECT_NE(test::readFile(std::filesystem::path(railFolder()) / "Coupler.CCF")
                  .find("saved by the menu"),
              std::string::npos);
    // Items without an action (save as, import, the unused remembered entries) do nothing.
    for (int index : {4, 6, 8, 10, 15, 16, 17, 18, 99}) window->mnuProjectItem_Click(index);
    EXPECT_TRUE(openers.calls.empty());
    EXPECT_TRUE(ui.messages.empty());

    window->show();
    window->menuItem(M::Project, kExitItem)->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_NE(settings.getSetting("Varnak", "Settings", "MainWidth", "<absent>"), "<absent>");
}

TEST_F(MainMenus, ExportOnlyForTheGsdCouplerTypes) {
    if (!makeProject()) GTEST_SKIP() << "no resource folder";
    struct NoChoice : FileChooser {
        int asked = 0;
        std::optional<std::string> choose(const FileDialogRequest&) override {
            ++asked;
            return std::nullopt;
        }
    } chooser;
    FileCommandServicesScope services({&chooser, nullptr});
    window->menuItem(M::Project, 9)->trigger();  // QZ3100
    EXPECT_EQ(chooser.asked, 1);
    loadedRail()->setInfoName("QZ5100-0000");
    window->menuItem(M::Project, 9)->trigger();
    EXPECT_EQ(chooser.asked, 1);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MainMenus, KeysReachTheirHandlers) {
    if (!makeProject()) GTEST_SKIP() << "no resource folder";
    window->fFillTreeView();
    const std::string table = firstKeyOf(TreeNodeKind::CouplerTable);
    ASSERT_FALSE(table.empty());
    ASSERT_TRUE(window->selectKey(table));
    key(Qt::Key_Return);
    ASSERT_EQ(openers.calls, (Strings{"frmRegister.fRegister(" + table + ")"}));

    const std::string terminal = terminalKey(2);
    ASSERT_TRUE(window->selectKey(terminal));
    key(Qt::Key_Return, Qt::AltModifier);
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0].first, M::PopupTerminal);
    EXPECT_EQ(popups[0].second, terminal);

    key(Qt::Key_Insert);
    EXPECT_EQ(openers.calls.back(), "frmTermInsert.fTerminalInsert(" + terminal + ")");

    // Group node and coupler node: Enter opens nothing, Insert/Delete do nothing.
    ASSERT_TRUE(window->selectKey(std::string(SZ_PROJECT_GRPKEY)));
    key(Qt::Key_Return);
    ASSERT_TRUE(window->selectKey(couplerKey()));
    key(Qt::Key_Insert);
    key(Qt::Key_Delete);
    EXPECT_EQ(openers.calls.size(), 2u);
    EXPECT_EQ(loadedRail()->clsColTerminals()->Count(), 3);

    ASSERT_TRUE(window->selectKey(terminal));
    key(Qt::Key_Delete);
    EXPECT_EQ(loadedRail()->clsColTerminals()->Count(), 2);
    EXPECT_EQ(firstKeyOf(TreeNodeKind::Terminal).empty(), false);
    size_t terminalsInTree = 0;
    for (QTreeWidgetItemIterator it(window->tvTreeView); *it; ++it)
        terminalsInTree += treeKeyKind((*it)->data(0, Qt::UserRole).toString().toStdString()) ==
                           TreeNodeKind::Terminal;
    EXPECT_EQ(terminalsInTree, 2u);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MainMenus, RightClickSelectsTheNodeUnderThePointerFirst) {
    if (!makeProject()) GTEST_SKIP() << "no resource folder";
    window->show();
    window->fFillTreeView();
    ASSERT_TRUE(window->selectKey(terminalKey(1)));
    rightClick(terminalKey(3));
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0].first, M::PopupTerminal);
    EXPECT_EQ(popups[0].second, terminalKey(3));
    // "Delete terminal" then deletes the node the user pointed at.
    window->menuItem(M::PopupTerminal, 1)->trigger();
    auto terminals = loadedRail()->clsColTerminals();
    ASSERT_EQ(terminals->Count(), 2);
    EXPECT_EQ(terminals->ItemPos(1)->InfoName(), "QT3004-0000");
    EXPECT_EQ(terminals->ItemPos(2)->InfoName(), "QT1002-0000");

    rightClick(couplerKey());
    ASSERT_EQ(popups.size(), 2u);
    EXPECT_EQ(popups[1].first, M::PopupCoupler);
    for (int i : {0, 1, 3, 5}) EXPECT_TRUE(window->menuItem(M::PopupCoupler, i)->isEnabled()) << i;

    // The tables group: nothing, even in developer mode.
    context.VarnakCommon->setAccessLevel(1);
    rightClick(std::string(SZ_COUPLER_TABLE));
    rightClick(firstKeyOf(TreeNodeKind::CouplerTable));
    EXPECT_EQ(popups.size(), 2u);
    ASSERT_EQ(openers.calls.size(), 1u);
    EXPECT_EQ(openers.calls[0].rfind("frmSaveTableAsResource.fKonstruktor(0,", 0), 0u);
}

TEST_F(MainMenus, PopupItemsOffline) {
    if (!makeProject()) GTEST_SKIP() << "no resource folder";
    window->fFillTreeView();
    const std::string project(SZ_PROJECT_GRPKEY);
    ASSERT_TRUE(window->selectKey(project));
    window->menuItem(M::PopupProject, 0)->trigger();
    window->menuItem(M::PopupProject, 1)->trigger();
    window->menuItem(M::PopupProject, 3)->trigger();
    ASSERT_TRUE(window->selectKey(couplerKey()));
    window->tvTreeView_MouseDown(2, 0, QPoint(0, 0));  // sets the items' states
    loadedRail()->setUserInfoDescription("saved by the popup");
    window->menuItem(M::PopupCoupler, 0)->trigger();
    window->menuItem(M::PopupCoupler, 1)->trigger();  // offline: under construction
    window->menuItem(M::PopupCoupler, 3)->trigger();
    window->menuItem(M::PopupCoupler, 5)->trigger();
    EXPECT_EQ(openers.calls, (Strings{"frmRailNew.fCouplerInsert(" + project + ")", "frmRailOpen",
                                      "frmTermInsert.fTerminalInsert(" + couplerKey() + ")"}));
    EXPECT_EQ(messageTexts(),
              (Strings{"Under construction ", "Under construction ", "Under construction "}));
    EXPECT_EQ(ui.messages[1].style, vbInformation);
    EXPECT_NE(test::readFile(std::filesystem::path(railFolder()) / "Coupler.CCF")
                  .find("saved by the popup"),
              std::string::npos);
    // The popup's save remembers the project and rail.
    EXPECT_EQ(window->startProjectEntry().CouplerName, "Linie 1");
}

TEST_F(MainMenus, AFailingWindowEndsItsCommandWithoutTakingTheProgramDown) {
    struct Throwing : test::RecordingOpeners {
        void frmAbout_Show() override { throw std::runtime_error("about failed"); }
        void frmRegister_fRegister(std::string&) override { throw std::runtime_error("x"); }
        void frmTermInsert_fTerminalInsert(std::string&) override { throw 42; }
    } throwing;
    DialogOpenersScope scope(throwing);
    window->menuItem(M::Help, 5)->trigger();
    EXPECT_EQ(messageTexts(), (Strings{"about failed"}));
    // The tree's dispatch says so too.
    if (!makeProject()) return;
    window->fFillTreeView();
    ASSERT_TRUE(window->selectKey(firstKeyOf(TreeNodeKind::CouplerTable)));
    key(Qt::Key_Return);
    // And the Insert key's dialog, whatever it throws.
    ASSERT_TRUE(window->selectKey(terminalKey(1)));
    key(Qt::Key_Insert);
    EXPECT_EQ(messageTexts(),
              (Strings{"about failed", "Der Vorgang wurde wegen eines Fehlers abgebrochen.\nx",
                       "Der Vorgang wurde wegen eines Fehlers abgebrochen."}));
}

TEST_F(MainMenus, RememberedProjectLeavesTheOldRailSavedInTheOldProject) {
    if (!std::filesystem::exists(platform::resourceDir() / "Terminal" / "QT3004-0000.INI"))
        GTEST_SKIP() << "no resource folder";
    ASSERT_EQ(project->fNewProject("Zwei", (dir / "Zwei.PF").string(), dir.str()), kStoreOk);
    ASSERT_EQ(project->clsColCouplers()->Add("QZ5100-0000", 1, "R2"), kStoreOk);
    ASSERT_TRUE(makeProject());  // Werk is open now, Zwei's rail saved in Zwei
    loadedRail()->setUserInfoDescription("Werk only");
    writeStartProject(settings, {(dir / "Zwei.PF").string(), dir.str(), "Zwei", "R2"});
    window->fGetStartProject();
    window->menuItem(M::Project, kRememberedProjectItem)->trigger();
    EXPECT_EQ(project->ProjektName(), "Zwei");
    ASSERT_NE(loadedRail(), nullptr);
    EXPECT_EQ(loadedRail()->ConfSymbolicName(), "R2");
    EXPECT_NE(test::readFile(std::filesystem::path(railFolder()) / "Coupler.CCF").find("Werk only"),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "Zwei.PF" / "Linie 1.CF"));
}

}  // namespace
}  // namespace varnak
