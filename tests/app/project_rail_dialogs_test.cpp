// The project and rail dialogs on a temporary folder, with scripted message boxes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <filesystem>

#include "app/frmProjDel.h"
#include "app/frmProjNew.h"
#include "app/frmRailNew.h"
#include "app/frmRailOpen.h"
#include "app/menu_texts.h"
#include "app/name_rules.h"
#include "app/project_tree.h"
#include "app/project_tree_source.h"
#include "app/projects_folder.h"
#include "app/tree_navigation.h"
#include "mapping/mapping_layout.h"
#include "model/clsColCouplers.h"
#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "model/clsCoupler.h"
#include "model/clsTable.h"
#include "model/clsTerminal.h"
#include "model/project_store.h"
#include "model/tree_node_key.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "tests/support/description_damage.h"
#include "tests/support/qt/menus_fixture.h"
#include "tests/support/scoped_env.h"

namespace varnak {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

class ProjectDialogs : public test::MenusFixture {};

TEST_F(ProjectDialogs, NewProjectRefusesBadNamesFoldersAndTakenNames) {
    fs::create_directories(dir / "place" / "Werk.pf");
    test::writeFile(dir / "place" / "Datei.PF", "x");
    frmProjNew dialog;
    EXPECT_EQ(dialog.windowTitle(), "Anlegen eines neuen Projektes");
    // What the user types first is the name, not the proposed folder.
    EXPECT_EQ(dialog.focusWidget(), dialog.txtGetNewPrjName);
    dialog.dirProjNew->setText(QString::fromStdString((dir / "place").string()));
    // The refused character is named; a dot or nothing at all keeps the dot's text.
    const std::string invalid = "Kein gültiger Projektname\r\n\r\nBitte neuen Versuch ohne ";
    const std::string taken = "Es existiert bereits ein Projekt in diesem Verzeichnis";
    const std::pair<const char*, std::string> cases[] = {
        {"   ", invalid + "'.' !"},
        {"a.b", invalid + "'.' !"},
        {"a:b", invalid + "das Zeichen ':' !"},
        {"a|b", invalid + "das Zeichen '|' !"},
        {"a\"b", invalid + "das Zeichen '\"' !"},
        {"a'b", invalid + "das Zeichen \"'\" !"},
        {"a<b", invalid + "das Zeichen '<' !"},
        {"a*b", invalid + "das Zeichen '*' !"},
        {"a?b", invalid + "das Zeichen '?' !"},
        {"a/b", invalid + "das Zeichen '/' !"},
        {"a\\b", invalid + "das Zeichen '\\' !"},
        {"a\tb", invalid + "das Zeichen 0x09 !"},
        {"WERK", taken},
        {"datei", taken},
    };
    Strings expected;
    for (const auto& [name, message] : cases) {
        dialog.txtGetNewPrjName->setText(name);
        dialog.cmdPrjOk->click();
        EXPECT_TRUE(dialog.cmdPrjOk->isEnabled());
        expected.push_back(message);
    }
    EXPECT_EQ(messageTexts(), expected);
    EXPECT_EQ(dialog.txtGetNewPrjName->text(), "datei");
    for (const auto& m : ui.messages) {
        EXPECT_EQ(m.style, vbInformation);
        EXPECT_EQ(m.title, "Anlegen eines neuen Projektes");
    }
    ui.messages.clear();
    dialog.dirProjNew->setText(QString::fromStdString((dir / "place" / "Werk.pf").string()));
    dialog.txtGetNewPrjName->setText("Neu");
    dialog.cmdPrjOk->click();
    EXPECT_EQ(messageTexts(), (Strings{"Bitte ein anderes Verzeichnis für das Projekt auswählen\r\n"
                                       "Bitte neuen Versuch ohne '.' !"}));
    EXPECT_FALSE(project->IsOpen());

    ui.messages.clear();
    dialog.dirProjNew->setText(QString::fromStdString((dir / "place").string()));
    dialog.txtGetNewPrjName->setText("  Halle  ");
    dialog.cmdPrjOk->click();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(project->ProjektName(), "Halle");
    EXPECT_EQ(project->FullPathProject(), (dir / "place" / "Halle.PF").string());
    EXPECT_TRUE(fs::exists(dir / "place" / "Halle.PF" / "Halle.VMT"));
}

TEST_F(ProjectDialogs, ProjectsGoToTheUsersDocumentsFolderMadeWhenFirstNeeded) {
    struct Case {
        const char* home;
        const char* userDirs;  // the desktop's names of the user's folders, if any
        const char* documents;
    };
    const Case cases[] = {
        {"plain", nullptr, "Documents"},
        {"german", "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n", "Dokumente"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.home);
        const fs::path home = dir / c.home;
        test::ScopedEnv homeVariable("HOME", home.c_str());
        test::ScopedEnv configVariable("XDG_CONFIG_HOME", nullptr);
        if (c.userDirs) test::writeFile(home / ".config" / "user-dirs.dirs", c.userDirs);
        const fs::path projects = home / c.documents / "Varnak";

        auto program = makeProgramProject();
        context.VarnakProject = program;
        EXPECT_EQ(program->FullPathProjectFolder(), projects.string());
        EXPECT_EQ(program->FullPathResourceFolder(), platform::resourceDir().string());
        EXPECT_FALSE(fs::exists(projects));  // not before a dialog needs it

        frmProjNew dialog;
        EXPECT_EQ(dialog.dirProjNew->text().toStdString(), projects.string());
        EXPECT_TRUE(fs::is_directory(projects));
        dialog.txtGetNewPrjName->setText("Halle");
        dialog.cmdPrjOk->click();
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_TRUE(fs::exists(projects / "Halle.PF" / "Halle.VMT"));
        EXPECT_EQ(projectParentFolder(), projects.string());

        // From an open project on, its parent is proposed; one that has gone is not made.
        fs::create_directories(dir / "stick" / "Werk.PF");
        ASSERT_EQ(program->fOpenProject("Werk", (dir / "stick" / "Werk.PF").string(),
                                        (dir / "stick").string()),
                  kStoreOk);
        fs::remove_all(dir / "stick");
        frmProjDel deletion;
        deletion.show();
        EXPECT_EQ(deletion.Dir1->text().toStdString(), (dir / "stick").string());
        EXPECT_FALSE(fs::exists(dir / "stick"));
    }
}

TEST_F(ProjectDialogs, NewProjectLeavesTheOldRailSavedInTheOldProject) {
    if (!makeProject()) GTEST_SKIP() << "no resource folder";
    loadedRail()->setUserInfoDescription("left in Werk");
    frmProjNew dialog;
    dialog.dirProjNew->setText(QString::fromStdString(dir.str()));
    dialog.txtGetNewPrjName->setText("Halle");
    dialog.cmdPrjOk->click();
    EXPECT_EQ(project->ProjektName(), "Halle");
    EXPECT_EQ(project->clsColCouplers()->Count(), 0);
    EXPECT_NE(test::readFile(fs::path(railFolder()) / "Coupler.CCF").find("left in Werk"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "Halle.PF" / "Linie 1.CF"));
}

TEST_F(ProjectDialogs, NewProjectEnterActsAsOkAndEnglishCaptions) {
    context.VarnakCommon->setLanguageType(1);
    frmProjNew dialog;
    EXPECT_EQ(dialog.windowTitle(), "Create new project");
    EXPECT_EQ(dialog.cmdPrjOk->text(), "&OK");
    EXPECT_EQ(dialog.cmdPrjCancel->text(), "&Cancel");
    dialog.dirProjNew->setText(QString::fromStdString(dir.str()));
    dialog.txtGetNewPrjName->setText("Key");
    dialog.show();
    dialog.txtGetNewPrjName->setFocus();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(dialog.txtGetNewPrjName, &enter);
    EXPECT_EQ(project->ProjektName(), "Key");
}

TEST_F(ProjectDialogs, DeleteProjectNeedsAProjectFolderAndAYes) {
    if (!makeProject()) GTEST_SKIP() << "no resource folder";
    fs::create_directories(dir / "old.pf" / "sub");
    frmProjDel dialog;
    dialog.show();
    EXPECT_EQ(dialog.Dir1->text().toStdString(), dir.str());  // the open project's parent
    dialog.Dir1->setText(QString::fromStdString((dir / "prog").string()));
    dialog.cmdDelete->click();
    EXPECT_EQ(messageTexts(),
              (Strings{"Bitte wählen Sie ein VMT-Projektverzeichnis mit der .PF Endung"}));
    EXPECT_EQ(ui.messages[0].style, vbCritical);
    EXPECT_EQ(ui.messages[0].title, "Löschen eines Projektes");
    EXPECT_TRUE(dialog.isVisible());

    ui.answers = {vbNo};
    dialog.Dir1->setText(QString::fromStdString((dir / "old.pf").string()));
    dialog.cmdDelete->click();
    EXPECT_TRUE(fs::exists(dir / "old.pf"));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(ui.messages[1].text, "Verzeichnis und enthaltene Unterverzeichnis werden gelöscht !");
    EXPECT_EQ(ui.messages[1].style, vbYesNo | vbCritical | vbDefaultButton2);

    frmProjDel again;
    again.show();
    again.Dir1->setText(QString::fromStdString((dir / "old.pf").string()));
    again.cmdDelete->click();  // Yes
    EXPECT_FALSE(fs::exists(dir / "old.pf"));
    EXPECT_EQ(project->ProjektName(), "Werk");  // another project: the open one stays
}

TEST_F(ProjectDialogs, DeletingTheOpenProjectLeavesNothingToBeWrittenBack) {
    if (!makeProject()) GTEST_SKIP() << "no resource folder";
    loadedRail()->setUserInfoDescription("changed, then deleted");
    ui.answers = {vbYes};
    frmProjDel dialog;
    dialog.show();
    dialog.Dir1->setText(QString::fromStdString((dir / "Werk.PF").string()));
    dialog.cmdDelete->click();
    ASSERT_FALSE(fs::exists(dir / "Werk.PF"));
    // Whatever comes next (a new project, another rail), the deleted one stays deleted.
    ASSERT_EQ(project->fNewProject("Halle", (dir / "Halle.PF").string(), dir.str()), kStoreOk);
    ASSERT_EQ(project->clsColCouplers()->fClearColCouplers(), kStoreOk);
    EXPECT_FALSE(fs::exists(dir / "Werk.PF"));
    EXPECT_FALSE(fs::exists(dir / "Halle.PF" / "Linie 1.CF"));
}

class RailDialogs : public test::MenusFixture {};

TEST_F(RailDialogs, NewRailChecksTheNameAndKeepsItsFieldsAfterCancel) {
    if (!makeProject()) GTEST_SKIP() << "no resource folder";
    frmRailNew dialog;
    ASSERT_GT(dialog.comboFldBusIntTyp->count(), 10);
    std::string projectKey(SZ_PROJECT_GRPKEY);
    EXPECT_TRUE(frmRailNew::insertPositionFor(projectKey, *std::make_unique<int32_t>()));

    dialog.comboFldBusIntTyp->setCurrentIndex(
        dialog.comboFldBusIntTyp->findText("QZ5100", Qt::MatchStartsWith));
    dialog.txtUserRailName->setText("   ");
    dialog.cmdNew->click();
    dialog.txtUserRailName->setText("LINIE 1");
    dialog.cmdNew->click();
    dialog.txtUserRailName->setText("a/b");
    dialog.cmdNew->click();
    EXPECT_EQ(messageTexts(),
              (Strings{"Bitte einen symbolen Klemmenblock-Namen eintragen ",
                       "Dieser Name existiert bereits !\r\nTry again, and ...\r\nBitte anderen "
                       "Namen eintragen ",
                       "Dieser Name existiert bereits !\r\n\r\nBitte anderen Namen eintragen ",
                       "Der Klemmenblock-Name darf das Zeichen '/' nicht enthalten, bitte einen "
                       "anderen Namen eintragen"}));
    EXPECT_EQ(ui.messages[1].title, "Neuer Klemmenblock");
    EXPECT_EQ(ui.messages[2].title, "");
    EXPECT_EQ(ui.messages[2].style, vbCritical);
    EXPECT_EQ(project->clsColCouplers()->Count(), 1);
    EXPECT_EQ(loadedRail()->ConfSymbolicName(), "Linie 1");

    // Cancel hides the dialog; its fields stay for the next opening.
    dialog.txtUserRailName->setText("Zweite Linie mit einem langen Namen");
    dialog.txtRailComment->setText("Halle 3");
    dialog.cmdCancel->click();
    EXPECT_EQ(dialog.txtUserRailName->text(), "Zweite Linie mit einem langen Namen");

    QTimer::singleShot(0, [&] { dialog.cmdNew->click(); });
    dialog.fCouplerInsert(projectKey);
    EXPECT_EQ(dialog.insertPosition(), 2);
    ASSERT_EQ(project->clsColCouplers()->Count(), 1);
    auto rail = loadedRail();
    EXPECT_EQ(rail->ConfSymbolicName(), "Zweite Linie mit ein");  // cut to 20 characters
    EXPECT_EQ(rail->InfoName(), "QZ5100-0000");
    EXPECT_EQ(rail->UserInfoDescription(), "Halle 3");
    EXPECT_EQ(rail->clsColTerminals()->Count(), 0);
    EXPECT_NE(
        test::readFile(dir / "Werk.PF" / "Zweite Linie mit ein.CF" / "Coupler.CCF").find("Halle 3"),
        std::string::npos);                                 // saved with its comment
    EXPECT_TRUE(dialog.txtUserRailName->text().isEmpty());  // fresh fields after a rail

    // Another node kind keeps the insert position of the last use.
    std::string channelKey = std::string(SZ_TERMINAL_CHANNEL) + "x";
    QTimer::singleShot(0, [&] { dialog.cmdCancel->click(); });
    dialog.fCouplerInsert(channelKey);
    EXPECT_EQ(dialog.insertPosition(), 2);
}

TEST_F(RailDialogs, NewRailOfASingleModuleTypeGetsItsTerminal) {
    if (!makeProject()) GTEST_SKIP() << "no resource folder";
    frmRailNew dialog;
    int qp = dialog.comboFldBusIntTyp->findText("QP2008-B310", Qt::MatchStartsWith);
    ASSERT_GE(qp, 0);
    dialog.comboFldBusIntTyp->setCurrentIndex(qp);
    dialog.txtUserRailName->setText("Modul");
    dialog.cmdNew->click();
    auto rail = loadedRail();
    ASSERT_EQ(rail->ConfSymbolicName(), "Modul");
    // One terminal at position 1: the module's own eight digital channels, from the
    // description under the module's type name (never Unknown's one analog channel).
    EXPECT_EQ(rail->clsColTerminals()->Count(), 1);
    ASSERT_NE(rail->clsColTerminals()->ItemPos(1), nullptr);
    EXPECT_EQ(rail->clsColTerminals()->ItemPos(1)->InfoDescription(),
              "8 digitale Ein-/Ausgänge der Feldbusbox");
    EXPECT_EQ(rail->clsColTerminals()->ItemPos(1)->InfoNrLogSigChnl(), 8);

    // The new rail is on disk at once: opened again, it has its module terminal.
    const fs::path folder = dir / "Werk.PF" / "Modul.CF";
    ASSERT_TRUE(fs::exists(folder / "Coupler.CCF"));
    ASSERT_EQ(project->clsColCouplers()->fClearColCouplers(), kStoreOk);
    ASSERT_EQ(
        project->clsColCouplers()->fOpenCoupler(folder.string(), (folder / "Coupler.CCF").string()),
        kStoreOk);
    EXPECT_EQ(loadedRail()->ConfSymbolicName(), "Modul");
    EXPECT_EQ(loadedRail()->clsColTerminals()->Count(), 1);
}

TEST_F(RailDialogs, NewRailCommentIsWhatTheRailFileGivesBack) {
    if (!makeProject()) GTEST_SKIP() << "no resource folder";
    frmRailNew dialog;
    dialog.txtUserRailName->setText("Kommentar");
    dialog.txtRailComment->setText(QString(120, 'x'));
    EXPECT_EQ(dialog.txtRailComment->text(), QString(99, 'x'));
    dialog.txtRailComment->setText(" \"Halle 4\" ");
    dialog.cmdNew->click();
    ASSERT_EQ(loadedRail()->ConfSymbolicName(), "Kommentar");
    EXPECT_EQ(loadedRail()->UserInfoDescription(), "\"Halle 4\"");
    const fs::path folder = dir / "Werk.PF" / "Kommentar.CF";
    ASSERT_EQ(project->clsColCouplers()->fClearColCouplers(), kStoreOk);
    ini::dropCache();
    ASSERT_EQ(
        project->clsColCouplers()->fOpenCoupler(folder.string(), (folder / "Coupler.CCF").string()),
        kStoreOk);
    EXPECT_EQ(loadedRail()->UserInfoDescription(), "\"Halle 4\"");
}

TEST_F(RailDialogs, NewRailWithoutCouplerDescriptionsIsRefused) {
    if (!makeProject()) GTEST_SKIP() << "no resource folder";
    test::TempDir empty;
    project = std::make_shared<clsProject>((dir / "prog").string(), empty.str());
    context.VarnakProject = project;
    ASSERT_EQ(project->fNewProject("Leer", (dir / "Leer.PF").string(), dir.str()), kStoreOk);
    frmRailNew dialog;
    EXPECT_EQ(dialog.comboFldBusIntTyp->count(), 0);
    dialog.txtUserRailName->setText("Linie");
    dialog.cmdNew->click();
    EXPECT_EQ(
        messageTexts(),
        (Strings{
            "Keine Kopplerbeschreibung gefunden: es kann kein Klemmenblock angelegt werden."}));
    EXPECT_EQ(project->clsColCouplers()->Count(), 0);
    EXPECT_FALSE(fs::exists(dir / "Leer.PF" / "Linie.CF"));
}

TEST_F(RailDialogs, NewRailOffersNoDamagedDescriptionAndRefusesOneDamagedSince) {
    if (!makeProject()) GTEST_SKIP() << "no resource folder";
    test::TempDir resources;
    const fs::path good = resources.path() / "Coupler" / "QZ3100-0000.INI";
    test::writeFile(good, "[Common]\nName=QZ3100-0000\nLang0_Desc=Koppler\n");
    test::writeFile(resources.path() / "Coupler" / "QZ5100-0000.INI", "");
    project = std::make_shared<clsProject>((dir / "prog").string(), resources.str());
    context.VarnakProject = project;
    ASSERT_EQ(project->fNewProject("Leer", (dir / "Leer.PF").string(), dir.str()), kStoreOk);
    frmRailNew dialog;
    ASSERT_EQ(dialog.comboFldBusIntTyp->count(), 1);
    EXPECT_EQ(dialog.comboFldBusIntTyp->itemText(0).toStdString(), "QZ3100-0000,         Koppler");
    test::writeFile(good, std::string("\0\x01\x02", 3));
    dialog.txtUserRailName->setText("Linie");
    dialog.cmdNew->click();
    EXPECT_EQ(messageTexts(),
              (Strings{"Die Gerätebeschreibung nennt keinen Gerätetyp ([Common] Name): sie ist "
                       "beschädigt und wird nicht verwendet.\r\n\r\n" +
                       good.string()}));
    EXPECT_EQ(project->clsColCouplers()->Count(), 0);
    EXPECT_EQ(ini::readString((dir / "Leer.PF" / "Leer.VMT").string(), "Config", "CouplerID"), "");
    EXPECT_FALSE(fs::exists(dir / "Leer.PF" / "Linie.CF"));
}

TEST_F(RailDialogs, NewModuleRailTakesNoTerminalFromADescriptionCutInsideItsValues) {
    if (!makeProject()) GTEST_SKIP() << "no resource folder";
    test::TempDir resources;
    test::writeFile(resources.path() / "Coupler" / "QP2008-B310.INI",
                    "[Common]\nName=QP2008-B310\nLang0_Desc=Modul\n");
    const fs::path module = resources.path() / "Terminal" / "QP2008-B310.INI";
    test::writeFile(module,
                    "[Common]\nName=QP2008-B310\n[RegValue_Table0]\nReg10=0x0801\nReg11=0x08");
    project = std::make_shared<clsProject>((dir / "prog").string(), resources.str());
    context.VarnakProject = project;
    ASSERT_EQ(project->fNewProject("Leer", (dir / "Leer.PF").string(), dir.str()), kStoreOk);
    frmRailNew dialog;
    dialog.comboFldBusIntTyp->setCurrentIndex(0);
    dialog.txtUserRailName->setText("Modul");
    dialog.cmdNew->click();
    EXPECT_EQ(messageTexts(), (Strings{context.text(1848) + "\r\n\r\n" + module.string()}));
    ASSERT_EQ(loadedRail()->ConfSymbolicName(), "Modul");
    EXPECT_EQ(loadedRail()->clsColTerminals()->Count(), 0);
}

TEST_F(RailDialogs, OpenRailListsTheRailFoldersAndLoadsTheChosenOne) {
    if (!makeProject()) GTEST_SKIP() << "no resource folder";
    ASSERT_EQ(project->clsColCouplers()->Add("QZ5100-0000", 2, "Zweite"), kStoreOk);
    ASSERT_EQ(loadedRail()->ConfSaveData(), kStoreOk);
    fs::create_directories(dir / "Werk.PF" / "Dritte.cf");  // lower case counts too
    test::writeFile(dir / "Werk.PF" / "notes.txt", "x");

    frmRailOpen dialog;
    dialog.show();
    std::vector<std::string> listed;
    for (int i = 0; i < dialog.comboRailName->count(); ++i)
        listed.push_back(dialog.comboRailName->itemText(i).toStdString());
    EXPECT_EQ(listed, (Strings{"Dritte.cf", "Linie 1.CF", "Zweite.CF"}));
    dialog.comboRailName->setCurrentIndex(1);
    dialog.cmdSelect->click();
    EXPECT_EQ(loadedRail()->ConfSymbolicName(), "Linie 1");
    EXPECT_EQ(loadedRail()->clsColTerminals()->Count(), 3);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(RailDialogs, OpenRailOnDamagedRailFoldersKeepsTheProgramUsable) {
    if (!makeProject()) GTEST_SKIP() << "no resource folder";
    const fs::path werk = dir / "Werk.PF";
    test::writeFile(werk / "Datei.CF", "not a folder");  // a file named like a rail folder
    fs::create_directories(werk / "Leer.CF");            // a rail folder without its file
    fs::create_directories(werk / "Kaputt.CF");
    const char garbage[] = "\0\xff[Config\r\nCouplerID=\xfe\xfe\r\n=\r\n[[]]\x01";
    test::writeFile(werk / "Kaputt.CF" / "Coupler.CCF", std::string(garbage, sizeof garbage));
    // A coupler of an unknown type whose terminal files hold odd positions and ids.
    fs::create_directories(werk / "Halb.CF");
    test::writeFile(werk / "Halb.CF" / "Coupler.CCF",
                    "[Config]\r\nCouplerID=7\r\nInfoName=QZ9999-9999\r\n");
    test::writeFile(werk / "Halb.CF" / "C007T001.TCF", "[Config]\r\nRailPosition=500\r\n");
    test::writeFile(werk / "Halb.CF" / "C007T002.TCF", "[Config]\r\nRailPosition=-3\r\n");
    test::writeFile(werk / "Halb.CF" / "C007T003.TCF", std::string(garbage, sizeof garbage));
    test::writeFile(werk / "Halb.CF" / "C007T999.TCF", "[Config]\r\nRailPosition=1\r\n");

    frmRailOpen dialog;
    for (const char* chosen : {"Datei.CF", "Leer.CF", "Kaputt.CF", "Halb.CF"}) {
        SCOPED_TRACE(chosen);
        dialog.show();
        int index = dialog.comboRailName->findText(chosen);
        ASSERT_GE(index, 0);
        dialog.comboRailName->setCurrentIndex(index);
        dialog.cmdSelect->click();
        EXPECT_FALSE(dialog.isVisible());
        // The tree of whatever was loaded is built, and its keys open nothing wrongly.
        for (const TreeNodeData& node : fBuildProjectTree(treeSourceFromProject(context), context))
            runNodeDispatch(node.key, openers);
    }
    EXPECT_EQ(project->ProjektName(), "Werk");
    EXPECT_LE(project->clsColCouplers()->Count(), 1);
    // Each refusal names the file; files that are no rail files are not loaded at all.
    const std::string missing = "Die Datei existiert nicht.\r\n\r\n";
    const std::string noRail =
        "Die Datei ist keine Stationsdatei: Kopplertyp oder Stationsname fehlt.\r\n\r\n";
    auto railFile = [&](const char* folder) { return (werk / folder / "Coupler.CCF").string(); };
    EXPECT_EQ(messageTexts(),
              (Strings{missing + railFile("Datei.CF"), missing + railFile("Leer.CF"),
                       noRail + railFile("Kaputt.CF"), noRail + railFile("Halb.CF")}));
    // The good rail opens again afterwards with its terminals.
    dialog.show();
    dialog.comboRailName->setCurrentIndex(dialog.comboRailName->findText("Linie 1.CF"));
    dialog.cmdSelect->click();
    ASSERT_NE(loadedRail(), nullptr);
    EXPECT_EQ(loadedRail()->ConfSymbolicName(), "Linie 1");
    EXPECT_EQ(loadedRail()->clsColTerminals()->Count(), 3);
    ASSERT_EQ(project->clsColCouplers()->fClearColCouplers(), kStoreOk);
    EXPECT_FALSE(fs::exists(werk / "0.CF"));
}

TEST_F(RailDialogs, OpenRailNamesTheTerminalFilesItCouldNotUseInOneMessage) {
    if (!makeProject()) GTEST_SKIP() << "no resource folder";
    auto rail = loadedRail();
    for (const char* type : {"QT4002-0000", "QT2002-0000", "QT3004-0000"})
        ASSERT_EQ(rail->clsColTerminals()->Add(type, rail->clsColTerminals()->Count(), 1, 1),
                  kStoreOk);
    ASSERT_EQ(project->clsColCouplers()->fClearColCouplers(), kStoreOk);
    // The first terminal's file cut before its [Config], the fifth's overwritten.
    test::DescriptionDamage cut(fs::path(railFolder()) / "C001T001.TCF");
    test::DescriptionDamage noise(fs::path(railFolder()) / "C001T005.TCF");
    ASSERT_EQ(cut.original().substr(0, 700).find("[Config]"), std::string::npos);
    cut.cutTo(700);
    noise.randomBytes(5);
    const std::string cutBytes = test::readFile(cut.path());
    const std::string noiseBytes = test::readFile(noise.path());
    ini::dropCache();

    frmRailOpen dialog;
    dialog.show();
    dialog.comboRailName->setCurrentIndex(dialog.comboRailName->findText("Linie 1.CF"));
    dialog.cmdSelect->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(messageTexts(),
              (Strings{"Diese Klemmendateien sind beschädigt (ohne Typ oder ohne Position), "
                       "tragen die Kennungen einer anderen Datei oder sind anders benannt "
                       "und wurden nicht geladen. Sie bleiben, wie sie sind: kein Speichern "
                       "schreibt oder löscht sie.\r\n\r\n" +
                       cut.path().string() + "\r\n" + noise.path().string() +
                       "\r\n\r\nDie Klemmen wurden lückenlos neu nummeriert und stehen jetzt "
                       "auf den Positionen 1 bis 4."}));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].style, vbExclamation);
    EXPECT_EQ(ui.messages[0].title, "Varnak");

    // The tree counts the positions through, and the mapping has no gap to refuse.
    Strings terminalNodes;
    for (const TreeNodeData& node : fBuildProjectTree(treeSourceFromProject(context), context))
        if (node.text.starts_with("Pos") && !node.text.starts_with("Pos0"))
            terminalNodes.push_back(node.text.substr(0, node.text.find(" (")));
    EXPECT_EQ(terminalNodes, (Strings{"Pos1: QT1002-0000", "Pos2: QT4002-0000", "Pos3: QT3004-0000",
                                      "Pos4: QT9010-0000"}));
    RailMappingLayout layout;
    EXPECT_EQ(railMappingLayout(*loadedRail(), false, layout), std::nullopt);
    EXPECT_EQ(layout.terminals.size(), 4u);

    ASSERT_EQ(loadedRail()->ConfSaveData(), kStoreOk);
    ASSERT_EQ(project->clsColCouplers()->fClearColCouplers(), kStoreOk);
    EXPECT_EQ(test::readFile(cut.path()), cutBytes);
    EXPECT_EQ(test::readFile(noise.path()), noiseBytes);
}

TEST_F(RailDialogs, OpenRailWithoutRailsSaysSo) {
    ASSERT_EQ(project->fNewProject("Leer", (dir / "Leer.PF").string(), dir.str()), kStoreOk);
    context.VarnakCommon->setLanguageType(1);
    frmRailOpen dialog;
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Open rail");
    EXPECT_EQ(dialog.comboRailName->count(), 0);
    dialog.cmdSelect->click();
    EXPECT_EQ(messageTexts(), (Strings{"Please select a Rail "}));
    EXPECT_TRUE(dialog.isVisible());
}

// A project laid out by hand as a user may: the project file, a rail file that is a copy of
// its coupler's description with the rail's [Config] keys, and terminal files that are copies
// of their descriptions with theirs.
TEST_F(RailDialogs, ARailLaidOutByHandAsCopiesOfItsDescriptionsOpensWithItsTerminals) {
    const fs::path descriptions = platform::resourceDir();
    if (!fs::exists(descriptions / "Terminal" / "QT3004-0000.INI"))
        GTEST_SKIP() << "no resource folder";
    auto copyOf = [&](const char* kind, const char* type, const std::string& config) {
        const std::string copy = test::readFile(descriptions / kind / (std::string(type) + ".INI"));
        return config.empty() ? copy : copy + "\n[Config]\n" + config;
    };
    const fs::path railFolder = dir / "Hand.PF" / "Halle 3.CF";
    const fs::path railFile = railFolder / "Coupler.CCF";
    test::writeFile(dir / "Hand.PF" / "Hand.VMT", "[Config]\nName=Hand\nCouplerID=6\n");
    test::writeFile(railFolder / "C004T001.TCF",
                    copyOf("Terminal", "QT3004-0000", "TermPos=1\nTermID=1\nCouplerID=4\n"));
    test::writeFile(railFolder / "C004T002.TCF",
                    copyOf("Terminal", "QT9010-0000", "TermPos=2\nTermID=2\nCouplerID=4\n"));
    ASSERT_EQ(project->fOpenProject("Hand", (dir / "Hand.PF").string(), dir.str()), kStoreOk);
    frmRailOpen dialog;
    auto openRail = [&](const std::string& railFileText) {
        test::writeFile(railFile, railFileText);
        ini::dropCache();
        dialog.show();
        dialog.comboRailName->setCurrentIndex(dialog.comboRailName->findText("Halle 3.CF"));
        dialog.cmdSelect->click();
    };
    const std::string railKeys = "UserName=Halle 3\nUserDesc=Schrank 2\nCouplerPos=1\nTermID=7\n";

    // The description alone names no rail; without the rail's id no terminal file is its own.
    openRail(copyOf("Coupler", "QZ3100-0000", ""));
    EXPECT_EQ(messageTexts(), (Strings{"Die Datei ist keine Stationsdatei: Kopplertyp oder "
                                       "Stationsname fehlt.\r\n\r\n" +
                                       railFile.string()}));
    EXPECT_EQ(project->clsColCouplers()->Count(), 0);
    ui.messages.clear();
    openRail(copyOf("Coupler", "QZ3100-0000", railKeys));
    ASSERT_NE(loadedRail(), nullptr);
    EXPECT_EQ(loadedRail()->clsColTerminals()->Count(), 0);
    project->clsColCouplers()->fDropColCouplers();  // unsaved: the files stay as laid out

    openRail(copyOf("Coupler", "QZ3100-0000", railKeys + "CouplerID=4\n"));
    EXPECT_TRUE(ui.messages.empty());
    auto rail = loadedRail();
    ASSERT_NE(rail, nullptr);
    EXPECT_EQ(rail->InfoName(), "QZ3100-0000");
    EXPECT_EQ(rail->ConfSymbolicName(), "Halle 3");
    EXPECT_EQ(rail->ConfSymbolicID(), 4);
    EXPECT_EQ(rail->UserInfoDescription(), "Schrank 2");
    EXPECT_EQ(rail->ConfProjectPosition(), 1);
    auto terminals = rail->clsColTerminals();
    ASSERT_EQ(terminals->Count(), 2);
    EXPECT_EQ(terminals->ItemPos(1)->InfoName(), "QT3004-0000");
    EXPECT_EQ(terminals->ItemPos(2)->InfoName(), "QT9010-0000");
    // Every channel holds the description's settings, channel 0 from the file itself.
    const int32_t described =
        std::stoi(ini::readString((descriptions / "Terminal" / "QT3004-0000.INI").string(),
                                  "RegValue_Table0", "Reg32"),
                  nullptr, 16);
    for (int32_t channel = 0; channel < 4; ++channel)
        EXPECT_EQ(terminals->ItemPos(1)->clsColTables()->Item(channel)->ConfRegisterValue(32),
                  described)
            << channel;

    // New ids go on above the counters the files hold.
    ASSERT_EQ(terminals->Add("QT1002-0000", 2, 1, 4), kStoreOk);
    EXPECT_EQ(terminals->ItemPos(2)->ConfSymbolicID(), 8);
    ASSERT_EQ(project->clsColCouplers()->Add("QZ3100-0000", 2, "Zweite"), kStoreOk);
    EXPECT_EQ(loadedRail()->ConfSymbolicID(), 7);
    EXPECT_TRUE(fs::exists(railFolder / "C004T008.TCF"));  // saved into the folder laid out
}

TEST(RailNames, TrimCutAndRefusedCharacters) {
    EXPECT_EQ(railNameFromInput("  abc  "), "abc");
    EXPECT_EQ(railNameFromInput("123456789012345678901234"), "12345678901234567890");
    EXPECT_EQ(railNameFromInput("ääääääääääääääääääääää"), "ääääääääääääääääääää");
    // A cut that ends in a blank: the folder and the stored name must agree.
    EXPECT_EQ(railNameFromInput(" Linie übergabe Nord Ost"), "Linie übergabe Nord");
    EXPECT_TRUE(validRailName("Linie 1"));
    for (const char* bad : {"a.b", "a:b", "a*b", "a?b", "a\"b", "a'b", "a<b", "a>b", "a|b", "a/b",
                            "a\\b", "a\x01", "a\x7F"}) {
        EXPECT_FALSE(validRailName(bad)) << bad;
        EXPECT_EQ(refusedNameCharacter(bad), bad[1]) << bad;
    }
    EXPECT_FALSE(validRailName(""));
    EXPECT_EQ(refusedNameCharacter(""), 0);
    EXPECT_EQ(refusedNameCharacter("Linie 1 äöü"), 0);
    EXPECT_EQ(refusedNameCharacter("a:b/c"), ':');  // the first one is named
    EXPECT_FALSE(validProjectName("x>y"));
    EXPECT_TRUE(validProjectName("Werk 2"));
}

}  // namespace
}  // namespace varnak
