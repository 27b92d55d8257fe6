// Node dispatch, the two dialog pickers, the tree's keys and the popups' rules.
#include "app/tree_navigation.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/dialog_pickers.h"
#include "app/frmRailNew.h"
#include "app/tree_popup_menus.h"
#include "model/clsColCouplers.h"
#include "model/clsColTerminals.h"
#include "model/clsCoupler.h"
#include "model/clsTable.h"
#include "model/clsTerminal.h"
#include "model/project_store.h"
#include "model/tree_node_key.h"
#include "tests/support/effect_only.h"
#include "tests/support/qt/menus_fixture.h"

namespace varnak {
namespace {

using test::MenusFixture;
using Strings = std::vector<std::string>;

const std::string kChannelKey =
    treeKey(TreeNodeKind::TerminalChannel,
            channelKeyDetail(terminalKeyDetail(1, 1, 7, 4), 1));  // position 4, channel 1
const std::string kTableKey = treeKey(TreeNodeKind::CouplerTable, tableKeyDetail(1, 1, 100));
const std::string kRegisterKey =
    treeKey(TreeNodeKind::TerminalRegister, channelKeyDetail(terminalKeyDetail(1, 1, 7, 4), 0));

TEST(NodeDispatch, EveryKeyKind) {
    const std::string coupler = couplerKeyDetail(1, 1);
    struct Row {
        std::string key;
        NodeAction action;
    };
    const std::vector<Row> rows{
        {std::string(SZ_PROJECT_GRPKEY), NodeAction::None},
        {treeKey(TreeNodeKind::Coupler, coupler), NodeAction::None},
        {treeKey(TreeNodeKind::Terminal, terminalKeyDetail(1, 1, 7, 4)), NodeAction::None},
        {kChannelKey, NodeAction::ProcDataDigital},
        {kRegisterKey, NodeAction::Register},
        {kTableKey, NodeAction::Register},
        {std::string(SZ_COUPLER_TABLE), NodeAction::None},  // the tables group
        {treeKey(TreeNodeKind::TerminalSettings,
                 channelKeyDetail(terminalKeyDetail(1, 1, 7, 4), 0)),
         NodeAction::TermConfig},
        {treeKey(TreeNodeKind::ControllerSettings, coupler), NodeAction::ControllerSettings},
        {treeKey(TreeNodeKind::ControllerSettings2, coupler), NodeAction::ControllerSettings2},
        {treeKey(TreeNodeKind::CommonSettings, coupler), NodeAction::CommonSettings},
        {treeKey(TreeNodeKind::SpecificSettings, coupler), NodeAction::SpecificSettings},
        {treeKey(TreeNodeKind::SpecificProgConf, coupler), NodeAction::ProgConf},
        {std::string(SZ_SPECIFIC_AUTO_CONF) + coupler, NodeAction::AutoConf},
        {treeKey(TreeNodeKind::SpecificProgTermCfg, coupler), NodeAction::LinkTerm},
        {treeKey(TreeNodeKind::CouplerSettings, coupler), NodeAction::None},
        {std::string(SZ_CHANNEL_INDATA) + coupler, NodeAction::TermForceData},
        {std::string(SZ_CHANNEL_OUTDATA) + coupler, NodeAction::TermForceData},
        {std::string(SZ_CHANNEL_STATUS) + coupler, NodeAction::TermForceData},
        {std::string(SZ_CHANNEL_CONTROL) + coupler, NodeAction::TermForceData},
        {std::string(SZ_CHANNEL_CONTROL), NodeAction::None},
        {"", NodeAction::None},
    };
    for (const Row& r : rows) EXPECT_EQ(nodeDispatchAction(r.key), r.action) << r.key;
}

class Navigation : public MenusFixture {};

TEST_F(Navigation, DispatchOpensTheNodesWindowWithItsArguments) {
    const std::string coupler = couplerKeyDetail(1, 1);
    runNodeDispatch(kChannelKey, openers);
    runNodeDispatch(kTableKey, openers);
    runNodeDispatch(treeKey(TreeNodeKind::ControllerSettings, coupler), openers);
    runNodeDispatch(treeKey(TreeNodeKind::ControllerSettings2, coupler), openers);
    runNodeDispatch(treeKey(TreeNodeKind::CommonSettings, coupler), openers);
    runNodeDispatch(treeKey(TreeNodeKind::SpecificProgConf, coupler), openers);
    runNodeDispatch(std::string(SZ_SPECIFIC_AUTO_CONF) + coupler, openers);
    runNodeDispatch(treeKey(TreeNodeKind::SpecificProgTermCfg, coupler), openers);
    runNodeDispatch(std::string(SZ_COUPLER_TABLE), openers);
    const std::string forceKey = std::string(SZ_CHANNEL_OUTDATA) + kChannelKey.substr(25);
    runNodeDispatch(forceKey, openers);
    // No rail loaded: the pickers stop without a message.
    runNodeDispatch(treeKey(TreeNodeKind::SpecificSettings, coupler), openers);
    EXPECT_EQ(openers.calls,
              (Strings{"frmProcDataDigital.fKonstruktor(0,0)",
                       "frmRegister.fRegister(" + kTableKey + ")", "frmCouplerConfigController",
                       "frmCouplerConfigController2", "frmCouplerConfigGeneral",
                       "frmConfigProg.fKonstruktor(True)", "frmConfigAuto.fKonstruktor(True)",
                       "frmCouplerConfigControllerLinkTerm.fRegister(" +
                           treeKey(TreeNodeKind::SpecificProgTermCfg, coupler) + ")",
                       "frmTermForceData.fKonstruktor(" + forceKey + ")"}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Navigation, AnErrorOfTheOpenedWindowIsShownNotSwallowed) {
    struct Failing : test::RecordingOpeners {
        bool frmConfigProg_fKonstruktor(bool&) override { throw SubscriptOutOfRange(); }
        void frmConfigAuto_fKonstruktor(bool&) override { throw 7; }
    } failing;
    const std::string coupler = couplerKeyDetail(1, 1);
    runNodeDispatch(treeKey(TreeNodeKind::SpecificProgConf, coupler), failing);
    runNodeDispatch(std::string(SZ_SPECIFIC_AUTO_CONF) + coupler, failing);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text,
              "Der Vorgang wurde wegen eines Fehlers abgebrochen.\nsubscript out of range");
    EXPECT_EQ(ui.messages[0].style, vbCritical);
    EXPECT_EQ(ui.messages[1].text, "Der Vorgang wurde wegen eines Fehlers abgebrochen.");
}

TEST(Pickers, CouplerTypes) {
    const std::vector<std::pair<std::vector<const char*>, const char*>> table{
        {{"QZ2000", "QZ2010"}, "frmCouplerConfigQZ2000"},
        {{"QZ3000", "QZ3010", "QZ3100", "QZ3110", "QY3100", "QZ3500", "QL3100"},
         "frmCouplerConfigQZ3000"},
        {{"QZ4000", "QZ4010"}, "frmCouplerConfigQZ4000"},
        {{"QZ5000"}, "frmCouplerConfigQZ5000"},
        {{"QZ5110", "QZ5120", "QL5100"}, "frmCouplerConfigQZ5110"},
        {{"QZ5100"}, "frmCouplerConfigQZ5100"},
        {{"QZ5200", "QZ5210", "QL5200"}, "frmCouplerConfigQZ5200"},
        {{"QZ7300", "QY7300"}, "frmCouplerConfigQZ7300"},
        {{"QZ8000", "QZ8100", "QZ8010", "QZ8110"}, "frmCouplerConfigQZ8000"},
        {{"QY9000", "QZ9000"}, "frmCouplerConfigQY9000"},
    };
    for (const auto& [types, form] : table) {
        for (const char* type : types) {
            const CouplerDialogChoice* c = couplerDialogFor(std::string(type) + "-0000");
            ASSERT_NE(c, nullptr) << type;
            EXPECT_STREQ(c->form, form) << type;
        }
    }
    for (const char* none : {"QZ3120-0000", "QL3120-0002", "QP2008-B310", "QZ31", ""})
        EXPECT_EQ(couplerDialogFor(none), nullptr) << none;
}

TEST(Pickers, TerminalTypes) {
    const std::vector<std::pair<std::vector<const char*>, const char*>> table{
        {{"QT1501"}, "frmTermConfigQT1501"},
        {{"QT2502"}, "frmTermConfigQT2502"},
        {{"QT3002", "QT3004", "QT3012", "QT3014", "QT3022", "QT3024", "QT3042", "QT3052", "QT3062",
          "QT3064"},
         "frmTermConfigQT3002"},
        {{"QT3202"}, "frmTermConfigQT3202"},
        {{"QT3302", "QT3312", "QT3332"}, "frmTermConfigQT3302"},
        {{"QT4002", "QT4004", "QT4012", "QT4014", "QT4022", "QT4032", "QT4034"},
         "frmTermConfigQT4002"},
        {{"QT5001"}, "frmTermConfigQT5001"},
        {{"QT5101", "QT5111"}, "frmTermConfigQT5101"},
        {{"QT6001", "QT6011", "QT6021"}, "frmTermConfigQT6001"},
        {{"QT6051"}, "frmTermConfigQT6051"},
    };
    for (const auto& [types, form] : table) {
        for (const char* type : types) {
            const TerminalDialogChoice* c = terminalDialogFor(std::string(type) + "-0000");
            ASSERT_NE(c, nullptr) << type;
            EXPECT_STREQ(c->form, form) << type;
        }
    }
    for (const char* none : {"QT3351-0000", "QT1002-0000", "QT9010-0000", ""})
        EXPECT_EQ(terminalDialogFor(none), nullptr) << none;
}

TEST_F(Navigation, PickersOnTheLoadedRailAndMessage316InBothLanguages) {
    if (!makeProject()) GTEST_SKIP() << "no resource folder";
    auto rail = loadedRail();
    auto terminals = rail->clsColTerminals();
    ASSERT_EQ(terminals->Add("QT3064-0000", 4, 1, rail->ConfSymbolicID()), kStoreOk);
    ASSERT_EQ(terminals->Add("QT3351-0000", 5, 1, rail->ConfSymbolicID()), kStoreOk);
    auto settingsKey = [&](int position, int channel) {
        auto t = terminals->ItemPos(position);
        return treeKey(TreeNodeKind::TerminalSettings,
                       channelKeyDetail(terminalKeyDetail(rail->ConfSymbolicID(), 1,
                                                          t->ConfSymbolicID(), position),
                                        channel));
    };
    EXPECT_TRUE(fOpenTermConfig(settingsKey(4, 1), openers));
    EXPECT_TRUE(fOpenCouplerConfig(openers));  // QZ3100
    EXPECT_EQ(openers.calls, (Strings{"frmTermConfigQT3002(4,1)", "frmCouplerConfigQZ3000"}));

    EXPECT_FALSE(fOpenTermConfig(settingsKey(5, 0), openers));  // QT3351: no dialog
    context.VarnakCommon->setLanguageType(1);
    rail->setInfoName("QZ3120-0000");
    EXPECT_FALSE(fOpenCouplerConfig(openers));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, "Bitte benutzen Sie die Registerdarstellung");
    EXPECT_EQ(ui.messages[1].text, "Please use dialog for register access");
    for (const auto& m : ui.messages) {
        EXPECT_EQ(m.style, vbInformation);
        EXPECT_EQ(m.title, "");
    }
    // A position without a terminal: the picker stops silently.
    std::string gone = settingsKey(5, 0);
    gone.replace(kKeyRailPosition - 1, 3, "009");
    EXPECT_FALSE(fOpenTermConfig(gone, openers));
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(openers.calls.size(), 2u);
}

TEST(TreeKeys, EnterAltEnterInsertDelete) {
    const std::string terminal = treeKey(TreeNodeKind::Terminal, terminalKeyDetail(1, 1, 7, 4));
    const std::string coupler = treeKey(TreeNodeKind::Coupler, couplerKeyDetail(1, 1));
    using C = TreeKeyCommand;
    EXPECT_EQ(treeKeyCommand(terminal, kKeyEnter, 0, false), C::Dispatch);
    EXPECT_EQ(treeKeyCommand(terminal, kKeyEnter, kShiftAlt, true), C::Popup);
    EXPECT_EQ(treeKeyCommand(terminal, kKeyEnter, 1, false), C::None);
    EXPECT_EQ(treeKeyCommand(terminal, kKeyInsert, 0, false), C::InsertTerminal);
    EXPECT_EQ(treeKeyCommand(terminal, kKeyDelete, 0, false), C::DeleteTerminal);
    EXPECT_EQ(treeKeyCommand(terminal, kKeyInsert, 0, true), C::None);
    EXPECT_EQ(treeKeyCommand(terminal, kKeyDelete, 0, true), C::None);
    for (const std::string& other :
         {coupler, kChannelKey, kTableKey, std::string(SZ_TERMINAL_ITEMKEY), std::string()}) {
        EXPECT_EQ(treeKeyCommand(other, kKeyInsert, 0, false), C::None) << other;
        EXPECT_EQ(treeKeyCommand(other, kKeyDelete, 0, false), C::None) << other;
    }
    EXPECT_EQ(treeKeyCommand(terminal, 65, 0, false), C::None);
}

TEST_F(Navigation, OddKeysOpenNothingWrongAndDeleteNothing) {
    if (!makeProject()) GTEST_SKIP() << "no resource folder";
    const Strings details{"",
                          "C",
                          "C001P",
                          "CxyzP000T001R001",
                          "C-01P000T001R-01N-01",
                          "C001P000T001R999N999",
                          std::string("C001P000T\0\xffR\xfe", 13),
                          std::string(400, '9')};
    Strings keys{"", "S", "SZ_", std::string(24, '_')};
    for (int k = 0; k <= static_cast<int>(TreeNodeKind::TerminalRegister); ++k)
        for (const std::string& d : details)
            keys.push_back(std::string(treeKeyPrefix(static_cast<TreeNodeKind>(k))) + d);
    for (const std::string& key : keys) {
        SCOPED_TRACE(key);
        runNodeDispatch(key, openers);
        for (bool online : {false, true}) {
            for (bool developer : {false, true}) {
                PopupChoice choice = popupFor(key, online, developer);
                runPopupDirectAction(choice, openers);
            }
        }
        for (int code : {kKeyEnter, kKeyInsert, kKeyDelete}) {
            if (treeKeyCommand(key, code, 0, false) == TreeKeyCommand::DeleteTerminal)
                test::effectOnly(deleteTerminalOfKey(key));
        }
        test::effectOnly(saveCouplerOfKey(key));
        int32_t position = 0;
        frmRailNew::insertPositionFor(key, position);
    }
    // None of the odd keys named a terminal of the rail.
    EXPECT_EQ(loadedRail()->clsColTerminals()->Count(), 3);
    // Terminal dialogs opened only for the one odd key that names rail position 1 (the
    // picker takes the active rail whatever coupler id the key carries).
    for (const std::string& call : openers.calls) {
        if (call.rfind("frmTermConfig", 0) == 0) {
            EXPECT_EQ(call, "frmTermConfigQT3002(1,0)");
        }
    }
}

TEST_F(Navigation, DeleteSavesTheRailSoTheDiskMatchesTheTree) {
    if (!makeProject()) GTEST_SKIP() << "no resource folder";
    auto rail = loadedRail();
    auto second = rail->clsColTerminals()->ItemPos(2);
    const std::string file = (std::filesystem::path(railFolder()) /
                              terminalFileName(rail->ConfSymbolicID(), second->ConfSymbolicID()))
                                 .string();
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(deleteTerminalOfKey(terminalKey(2)), kStoreOk);
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(rail->clsColTerminals()->Count(), 2);

    // Reopened from disk, the rail has the two remaining terminals in their new places.
    ASSERT_EQ(project->clsColCouplers()->fClearColCouplers(), kStoreOk);
    ASSERT_EQ(project->clsColCouplers()->fOpenCoupler(railFolder(), railFolder() + "/Coupler.CCF"),
              kStoreOk);
    auto reopened = loadedRail()->clsColTerminals();
    ASSERT_EQ(reopened->Count(), 2);
    EXPECT_EQ(reopened->ItemPos(1)->InfoName(), "QT3004-0000");
    EXPECT_EQ(reopened->ItemPos(2)->InfoName(), "QT9010-0000");

    std::string nowhere = terminalKey(2);
    nowhere.replace(kKeyRailPosition - 1, 3, "077");
    EXPECT_EQ(deleteTerminalOfKey(nowhere), kStoreBadPosition);
}

TEST(PopupRules, MenusByNodeKindOnlineOfflineAndDeveloperMode) {
    using K = PopupChoice::Kind;
    const std::string project(SZ_PROJECT_GRPKEY);
    const std::string coupler = treeKey(TreeNodeKind::Coupler, couplerKeyDetail(1, 1));
    const std::string terminal = treeKey(TreeNodeKind::Terminal, terminalKeyDetail(1, 1, 7, 4));
    EXPECT_EQ(popupFor(project, false, false).kind, K::ProjectMenu);
    EXPECT_EQ(popupFor(project, true, false).kind, K::None);
    EXPECT_EQ(popupFor(terminal, false, false).kind, K::TerminalMenu);
    EXPECT_EQ(popupFor(terminal, true, true).kind, K::None);

    PopupChoice offline = popupFor(coupler, false, false);
    EXPECT_EQ(offline.kind, K::CouplerMenu);
    for (int i : {0, 1, 3, 5}) EXPECT_TRUE(offline.couplerEnabled[i]) << i;
    PopupChoice online = popupFor(coupler, true, false);
    EXPECT_EQ(online.kind, K::CouplerMenu);
    EXPECT_TRUE(online.couplerEnabled[1]);
    for (int i : {0, 3, 5}) EXPECT_FALSE(online.couplerEnabled[i]) << i;

    for (bool on : {false, true}) {
        EXPECT_EQ(popupFor(kTableKey, on, false).kind, K::None);
        EXPECT_EQ(popupFor(kChannelKey, on, false).kind, K::None);
        PopupChoice table = popupFor(kTableKey, on, true);
        EXPECT_EQ(table.kind, K::SaveTableAsResource);
        EXPECT_EQ(table.railPosition, 0);
        EXPECT_EQ(table.tableNr, 100);
        PopupChoice channel = popupFor(kChannelKey, on, true);
        EXPECT_EQ(channel.kind, K::SaveTableAsResource);
        EXPECT_EQ(channel.railPosition, 4);
        EXPECT_EQ(channel.tableNr, 1);
        // The tables group carries no table number: nothing, not table 0.
        EXPECT_EQ(popupFor(std::string(SZ_COUPLER_TABLE), on, true).kind, K::None);
    }
    EXPECT_EQ(popupFor(kRegisterKey, false, true).kind, K::None);
    EXPECT_EQ(popupFor("", false, true).kind, K::None);
}

TEST_F(Navigation, SaveCouplerAsOnlineRefusesCancelEmptyInvalidAndTakenNames) {
    if (!makeProject()) GTEST_SKIP() << "no resource folder";
    auto online = std::make_shared<clsCoupler>();
    online->setInfoName("QZ3100-0000");
    online->setConfSymbolicID(5);
    context.VarnakOnlineCoupler = online;
    auto railFolders = [&] {
        size_t n = 0;
        for (const auto& e : std::filesystem::directory_iterator(dir / "Werk.PF"))
            n += e.path().extension() == ".CF";
        return n;
    };

    openers.uploadResult = false;  // cancelled upload: no question, nothing saved
    EXPECT_FALSE(saveOnlineCouplerAs(openers));
    EXPECT_TRUE(ui.prompts.empty());

    openers.uploadResult = true;
    ui.inputs = {std::nullopt, std::string("   "), std::string("a:b"), std::string("linie 1")};
    for (int i = 0; i < 4; ++i) EXPECT_FALSE(saveOnlineCouplerAs(openers)) << i;
    EXPECT_EQ(ui.prompts.size(), 4u);
    EXPECT_EQ(ui.prompts[0], "Koppler Name :");
    EXPECT_EQ(messageTexts(),
              (Strings{"Der Klemmenblock-Name darf das Zeichen ':' nicht enthalten, bitte einen "
                       "anderen Namen eintragen",
                       "Dieser Name existiert bereits !\r\nTry again, and ...\r\nBitte anderen "
                       "Namen eintragen "}));
    EXPECT_EQ(railFolders(), 1u);
    EXPECT_EQ(loadedRail()->ConfSymbolicName(), "Linie 1");

    ui.inputs = {std::string("  Station 2  ")};
    EXPECT_TRUE(saveOnlineCouplerAs(openers));
    EXPECT_EQ(online->ConfSymbolicName(), "Station 2");
    EXPECT_TRUE(std::filesystem::exists(dir / "Werk.PF" / "Station 2.CF" / "Coupler.CCF"));
}

TEST_F(Navigation, SaveCouplerAsWithoutAProjectAsksForOneFirst) {
    context.VarnakOnlineCoupler = std::make_shared<clsCoupler>();
    ui.inputs = {std::string("Linie")};
    EXPECT_FALSE(saveOnlineCouplerAs(openers));  // the user cancels the new project
    EXPECT_EQ(openers.calls, (Strings{"frmOnlineUpLoad.fKonstruktor", "frmProjNew"}));
    EXPECT_TRUE(ui.prompts.empty());
}

}  // namespace
}  // namespace varnak
