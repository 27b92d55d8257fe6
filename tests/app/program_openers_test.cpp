// The program's openers: the register editor, the table save and the insert dialog open
// from the running main window's tree, popups and keys.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <algorithm>
#include <filesystem>

#include "app/dialog_pickers.h"
#include "app/frmMainVMT.h"
#include "app/tree_navigation.h"
#include "fieldbus/coupler_forms.h"
#include "model/clsColTerminals.h"
#include "model/clsCommon.h"
#include "model/clsCoupler.h"
#include "model/tree_node_key.h"
#include "platform/paths.h"
#include "tests/support/qt/rail_fixture.h"

namespace varnak::test {
namespace {

class ProgramOpeners : public RailFixture {
  protected:
    explicit ProgramOpeners(const std::string& coupler = "QZ3100-0000")
        : RailFixture({coupler, {"QT3002-0000", "QT9010-0000"}}) {
        window = std::make_unique<frmMainVMT>(context);
        window->setEnabled(true);
        window->fFillTreeView();
    }
    // Runs the action and answers the name of the modal dialog it opened (closed again).
    std::string opened(const std::string& key, const std::function<void()>& action) {
        EXPECT_TRUE(window->selectKey(key)) << key;
        std::string name;
        QTimer::singleShot(0, [&] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                name = w->objectName().toStdString();
                static_cast<QDialog*>(w)->reject();
            }
        });
        action();
        return name;
    }
    std::unique_ptr<frmMainVMT> window;
};

TEST_F(ProgramOpeners, TheProcessDataForcingAndScriptWindowsOpenFromTheirMenusNodesAndKeys) {
    connectStation();
    project->InitComPort = [] { return 0; };  // the station's port stays as it is
    ui.answers.push_back(vbNo);               // no download when going online
    goOnline();
    ui.messages.clear();
    // A station of one module for the digital view.
    context.VarnakOnlineCoupler->clsColTerminals()->Remove(2);
    const std::string channel =
        treeKey(TreeNodeKind::TerminalChannel, registerKey(1, 1).substr(kTreeKeyPrefixLength));
    const std::string forceKey =
        std::string(SZ_CHANNEL_OUTDATA) + channel.substr(kTreeKeyPrefixLength);
    const std::string terminalScript = (dir / "a.tsi").string();
    writeFile(terminalScript, "[Initialisierung]\nInit1=40,1\n");
    const std::string couplerScript = (dir / "a.csi").string();
    writeFile(couplerScript, "[Tab_100]\nTransfer=TRUE\nInit1=3,1\n");
    std::string path;
    const std::vector<std::pair<std::function<void()>, std::string>> roads{
        {[&] { window->mnuOnlineItem_Click(4); }, "frmProcData"},
        {[&] { runNodeDispatch(channel, dialogOpeners()); }, "frmProcDataDigital"},
        {[&] { runNodeDispatch(forceKey, dialogOpeners()); }, "frmTermForceData"},
        {[&] { dialogOpeners().frmScriptTerm_fKonstruktor(path = terminalScript); },
         "frmScriptTerm"},
        {[&] { dialogOpeners().frmScriptCoupler_fKonstruktor(path = couplerScript); },
         "frmScriptCoupler"},
    };
    for (const auto& [action, name] : roads) EXPECT_EQ(opened(couplerKey(), action), name);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ProgramOpeners, EachWindowOpensFromTheTreeItsPopupsAndKeys) {
    EXPECT_EQ(opened(registerKey(1, 0), [&] { window->tvTreeView_DblClick(); }), "frmRegister");
    EXPECT_EQ(opened(couplerTableKey(0), [&] { window->tvTreeView_KeyDown(kKeyEnter, 0); }),
              "frmRegister");
    EXPECT_EQ(opened(couplerKey(), [&] { window->popUpCouplerItem_Click(3); }), "frmTermInsert");
    EXPECT_EQ(opened(terminalKey(1), [&] { window->popUpTerminalItem_Click(0); }), "frmTermInsert");
    EXPECT_EQ(opened(terminalKey(2), [&] { window->tvTreeView_KeyDown(kKeyInsert, 0); }),
              "frmTermInsert");
    context.VarnakCommon->setAccessLevel(1);
    EXPECT_EQ(opened(couplerTableKey(100), [&] { window->tvTreeView_MouseDown(2, 0, {}); }),
              "frmSaveTableAsResource");
    const std::string channel =
        treeKey(TreeNodeKind::TerminalChannel, registerKey(1, 1).substr(kTreeKeyPrefixLength));
    EXPECT_EQ(opened(channel, [&] { window->tvTreeView_MouseDown(2, 0, {}); }),
              "frmSaveTableAsResource");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ProgramOpeners, TheOnlineWindowsOpenFromTheirMenusAndPopups) {
    EXPECT_EQ(opened(couplerKey(), [&] { window->mnuOnlineCouplerItem_Click(0); }),
              "frmCouplerFunctions");
    EXPECT_EQ(opened(couplerKey(), [&] { window->mnuRimTalkItem_Click(0); }), "frmRimTalkQZ3xxx");
    EXPECT_EQ(opened(couplerKey(), [&] { window->mnuRimTalkItem_Click(2); }), "frmRimTalkDebug");

    // Going online offers the download; online, the coupler popup's "save as" uploads first.
    connectStation();
    project->InitComPort = [] { return 0; };  // the station's port stays as it is
    ui.answers.push_back(vbYes);
    EXPECT_EQ(opened(couplerKey(),
                     [&] {
                         EXPECT_EQ(project->setOnline(true), kStoreOk);
                         window->fOnlineStateChanged(true);
                     }),
              "frmOnlineDownLoad");
    ASSERT_TRUE(project->Online());
    EXPECT_EQ(opened(couplerKey(), [&] { window->popUpCouplerItem_Click(1); }), "frmOnlineUpLoad");
    EXPECT_TRUE(ui.prompts.empty());  // nothing uploaded, nothing to name
}

// A rail of one coupler type with the main window on it, for a loop over types.
class TypeOpeners : public ProgramOpeners {
  public:
    explicit TypeOpeners(const std::string& type) : ProgramOpeners(type) {}
    void TestBody() override {}
    using ProgramOpeners::opened;
    using ProgramOpeners::window;
    using RailFixture::couplerKey;
    std::vector<std::string> messages() const { return messageTexts(); }
};

TEST(ProgramCouplerForms, EveryShippedCouplerTypeOpensItsFormFromItsSettingsNode) {
    std::vector<std::string> types;
    for (const auto& entry :
         std::filesystem::directory_iterator(platform::resourceDir() / "Coupler"))
        if (entry.path().stem() != "Unknown") types.push_back(entry.path().stem().string());
    std::sort(types.begin(), types.end());
    int forms = 0;
    for (const std::string& type : types) {
        SCOPED_TRACE(type);
        TypeOpeners t(type);
        const std::string settings =
            treeKey(TreeNodeKind::SpecificSettings, t.couplerKey().substr(kTreeKeyPrefixLength));
        const std::string name = t.opened(settings, [&] { t.window->tvTreeView_DblClick(); });
        const CouplerDialogChoice* choice = couplerDialogFor(type);
        if (!choice) {
            EXPECT_EQ(name, "");
            EXPECT_EQ(t.messages(),
                      std::vector<std::string>{"Bitte benutzen Sie die Registerdarstellung"});
        } else if (findCouplerForm(choice->form)) {
            EXPECT_EQ(name, choice->form);
            EXPECT_TRUE(t.messages().empty());
            ++forms;
        }
    }
    EXPECT_GE(forms, 25);  // the shipped types of every family with a form
}

}  // namespace
}  // namespace varnak::test
