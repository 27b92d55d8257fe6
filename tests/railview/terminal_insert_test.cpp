// Inserting terminals: the catalog of a resource folder, the insert positions, the typed
// number, the insert with its save and refusals, and the kept dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTreeWidget>
#include <cstring>

#include "model/app_context.h"
#include "model/clsColTerminals.h"
#include "model/clsTerminal.h"
#include "model/project_store.h"
#include "model/tree_node_key.h"
#include "railview/frmTermInsert.h"
#include "tests/support/qt/rail_fixture.h"

namespace varnak::test {
namespace {

TEST(TerminalCatalog, ListsEveryUsableDescriptionOnce) {
    TempDir folder;
    auto description = [&](const std::string& file, const std::string& text) {
        writeFile(folder / file, "[Common]\nName=" + file.substr(0, 11) + "\nLang1_Desc=" + text);
    };
    description("QT3002-0000.INI", "2 analog inputs");
    description("QT3002-0000.ini", "a second file of that key");
    description("qt1002-0000.ini", "2 digital inputs");
    description("QTD1000-0000.INI", "left out");
    description("qtu5000-0000.ini", "left out");
    description("QT4004-0000.INI", "X");
    writeFile(folder / "QT4002-0000.INI", "[Common]\nName=QT4002-0000\n");
    writeFile(folder / "QT6001-0000.TXT", "");
    // Damaged descriptions, which name no type, are not offered.
    writeFile(folder / "QT5001-0000.INI", std::string("\xFF\xFE\0[\0C\0", 8));
    writeFile(folder / "QT5002-0000.INI", "");
    writeFile(folder / "QT5003-0000.INI", "[Common]\nName=\nLang1_Desc=no type\n");
    const std::vector<CatalogNode> expected{
        {"QT1", "QT1xxx", ""},
        {"QT1002-0000", "QT1002-0000,    2 digital inputs", "QT1"},
        {"QT3", "QT3xxx", ""},
        {"QT3002-0000", "QT3002-0000,    2 analog inputs", "QT3"},
        {"QT4", "QT4xxx", ""},
        {"QT4002-0000", "QT4002-0000", "QT4"},
        {"QT4004-0000", "QT4004-0000", "QT4"},
    };
    EXPECT_EQ(fTerminalCatalog(folder.path(), 1), expected);
}

TEST(TerminalCatalog, TypedNumbersAndUpDownSteps) {
    const std::pair<const char*, int32_t> counts[] = {{"-3", 3}, {"2.5", 2},          {"abc", 0},
                                                      {"", 0},   {" 100000", 100000}, {"7x", 7}};
    for (const auto& [text, n] : counts) EXPECT_EQ(insertCount(text), n) << text;
    EXPECT_EQ(spinInsertStep("1", true), 2);
    EXPECT_EQ(spinInsertStep("63", true), 64);
    EXPECT_EQ(spinInsertStep("64", true), std::nullopt);
    EXPECT_EQ(spinInsertStep("1", false), std::nullopt);
    EXPECT_EQ(spinInsertStep("100", false), 99);
    EXPECT_EQ(spinInsertStep("x", true), 1);
}

class TerminalInsert : public RailFixture {
  protected:
    TerminalInsert()
        : RailFixture(
              {"QZ3100-0000",
               {"QT3002-0000", "QT1002-0000", "QT3002-0000", "QT1002-0000", "QT9010-0000"}}) {}
    std::vector<std::string> types() {
        std::vector<std::string> out;
        auto terminals = rail()->clsColTerminals();
        for (int p = 1; p <= terminals->Count(); ++p)
            out.push_back(terminals->ItemPos(p)->InfoName());
        return out;
    }
};

TEST_F(TerminalInsert, PositionsFollowFromTheKey) {
    const int32_t id = rail()->ConfSymbolicID();
    EXPECT_EQ(terminalInsertTarget(couplerKey()), (InsertTarget{id, 5}));  // before the end
    EXPECT_EQ(terminalInsertTarget(terminalKey(3)), (InsertTarget{id, 3}));
    rail()->clsColTerminals()->Remove(5);
    EXPECT_EQ(terminalInsertTarget(couplerKey()), (InsertTarget{id, 5}));
    for (int p = 4; p >= 1; --p) rail()->clsColTerminals()->Remove(p);
    EXPECT_EQ(terminalInsertTarget(couplerKey()), (InsertTarget{id, 1}));
    EXPECT_EQ(terminalInsertTarget(treeKey(TreeNodeKind::Coupler, "C099P000")), std::nullopt);
    EXPECT_EQ(terminalInsertTarget(couplerTableKey(0)), std::nullopt);
}

TEST_F(TerminalInsert, InsertsSavesAndRefusesWithTheStoresMessageOnce) {
    std::filesystem::rename(resources() / "Terminal" / "QT4004-0000.INI",
                            resources() / "Terminal" / "qt4004-0000.ini");
    const InsertTarget at{rail()->ConfSymbolicID(), 2};
    EXPECT_EQ(insertTerminals(at, "QT4004-0000", insertCount("-3")), kStoreOk);
    EXPECT_EQ(insertTerminals(at, "QT1002-0000", 300), kStoreLimitReached);
    // A description damaged since the dialog listed it.
    const auto damaged = resources() / "Terminal" / "QT4002-0000.INI";
    writeFile(damaged, "");
    EXPECT_EQ(insertTerminals(at, "QT4002-0000", 1), kStoreDescriptionRefused);
    // One an interrupted copy left inside a line of its channel registers: every channel of
    // every terminal would take the cut value.
    const auto cut = resources() / "Terminal" / "QT2002-0000.INI";
    const std::string text = readFile(cut);
    writeFile(cut, text.substr(0, text.find("Reg11=") + 8));
    EXPECT_EQ(insertTerminals(at, "QT2002-0000", 1), kStoreDescriptionCutShort);
    EXPECT_EQ(messageTexts(),
              (std::vector<std::string>{context.text(storeResultTextId(kStoreLimitReached)),
                                        "Die Gerätebeschreibung nennt keinen Gerätetyp ([Common] "
                                        "Name): sie ist beschädigt und wird nicht verwendet."
                                        "\r\n\r\n" +
                                            damaged.string(),
                                        context.text(1848) + "\r\n\r\n" + cut.string()}));
    railFromDisk();
    EXPECT_EQ(types(), (std::vector<std::string>{"QT3002-0000", "QT4004-0000", "QT4004-0000",
                                                 "QT4004-0000", "QT1002-0000", "QT3002-0000",
                                                 "QT1002-0000", "QT9010-0000"}));

    // A save that fails names its file and why; the terminal stays, unsaved.
    const std::string railFile = project->FullPathCoupler() + "/Coupler.CCF";
    std::filesystem::permissions(railFile, std::filesystem::perms::owner_read);
    ui.messages.clear();
    EXPECT_EQ(insertTerminals(at, "QT1002-0000", 1), kStoreWriteFailed);
    EXPECT_EQ(messageTexts(), std::vector<std::string>{context.text(1873) + "\r\n\r\n" + railFile +
                                                       "\r\n" + std::strerror(EACCES)});
    EXPECT_EQ(rail()->clsColTerminals()->Count(), 9);
}

TEST_F(TerminalInsert, TheDialogKeepsItsTreeAfterOkAndRebuildsItAfterCancel) {
    frmTermInsert dialog;
    ASSERT_TRUE(dialog.prepare(couplerKey()));
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Klemme an/einfügen");
    QTreeWidget* tree = dialog.tvTerminalTree;
    QTreeWidgetItem* group = tree->findItems("QT4xxx", Qt::MatchExactly).value(0);
    ASSERT_TRUE(group);
    group->setExpanded(true);
    tree->setCurrentItem(group->child(0));  // QT4002-0000
    dialog.spinInsertNr_Change(true);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(tree, &enter);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(types().at(4), "QT4002-0000");
    EXPECT_EQ(types().at(5), "QT4002-0000");
    EXPECT_EQ(railFromDisk()->clsColTerminals()->Count(), 7);

    writeFile(resources() / "Terminal" / "QT7777-0000.INI", "[Common]\nName=QT7777-0000\n");
    const int groups = tree->topLevelItemCount();
    ASSERT_TRUE(dialog.prepare(terminalKey(1)));
    dialog.show();
    EXPECT_EQ(dialog.txtMultipleTerm->text(), "1");
    EXPECT_EQ(tree->currentItem()->text(0).left(11), "QT4002-0000");
    EXPECT_TRUE(group->isExpanded());
    EXPECT_EQ(tree->topLevelItemCount(), groups);
    dialog.cmdCancel_Click();
    ASSERT_TRUE(dialog.prepare(terminalKey(1)));
    EXPECT_EQ(tree->topLevelItemCount(), groups + 1);
}

}  // namespace
}  // namespace varnak::test
