// The file commands with a scripted file dialog and a recording control.
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>

#include "app/basComDlg32.h"
#include "app/gsd_export_message.h"
#include "comctl/QZcomOCX.h"
#include "model/clsColCouplers.h"
#include "model/clsColTerminals.h"
#include "model/clsCoupler.h"
#include "model/project_store.h"
#include "platform/paths.h"
#include "tests/support/effect_only.h"
#include "tests/support/qt/menus_fixture.h"
#include "tests/support/sim_station.h"
#include "tests/support/station_from_rail.h"

using namespace qzcom;

namespace varnak {
namespace {

using Strings = std::vector<std::string>;

class ScriptedChooser : public FileChooser {
  public:
    std::deque<std::optional<std::string>> answers;
    std::vector<FileDialogRequest> requests;
    std::optional<std::string> choose(const FileDialogRequest& r) override {
        requests.push_back(r);
        if (answers.empty()) return std::nullopt;
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
};

class RecordingControl : public FileCommandControl {
  public:
    Strings calls;
    int32_t result = 0;
    int32_t QZxCreateGsdFile(const std::string& target, const std::string& resources) override {
        calls.push_back("QZxCreateGsdFile(" + target + "," + resources + ")");
        return result;
    }
    int32_t QZxFirmwareLoad(const std::string& file) override {
        calls.push_back("QZxFirmwareLoad(" + file + ")");
        return result;
    }
    int32_t QZxFirmwareUpdate1(int32_t mp, const std::string& file) override {
        calls.push_back("QZxFirmwareUpdate1(" + std::to_string(mp) + "," + file + ")");
        return result;
    }
};

class FileCommands : public test::MenusFixture {
  protected:
    FileCommands() : services({&chooser, &control}) {}
    ScriptedChooser chooser;
    RecordingControl control;
    FileCommandServicesScope services;
};

TEST_F(FileCommands, GsdExportPassesTheChosenPathUnchanged) {
    chooser.answers = {std::string("/data/abc.gsd"), std::string("/data/station"), std::nullopt};
    gfSaveGsdFile();
    control.result = 3;
    gfSaveGsdFile();
    gfSaveGsdFile();  // cancelled: nothing
    const std::string res = project->FullPathResourceFolder();
    EXPECT_EQ(control.calls, (Strings{"QZxCreateGsdFile(/data/abc.gsd," + res + ")",
                                      "QZxCreateGsdFile(/data/station," + res + ")"}));
    EXPECT_EQ(messageTexts(), (Strings{"Finished ", "Error 3"}));
    ASSERT_EQ(chooser.requests.size(), 3u);
    const FileDialogRequest& r = chooser.requests[0];
    EXPECT_TRUE(r.save);
    EXPECT_EQ(r.title, "Sichern Als");
    EXPECT_EQ(r.filterDescription, "Profibus Station");
    EXPECT_EQ(r.pattern, "*.GSD");
    EXPECT_EQ(r.defaultExtension, "GSD");
    EXPECT_EQ(r.initialFolder, project->FullPathProjectFolder());
}

// The program's own control on the port of a simulated station; the export runs inside the
// test's folder, where the control writes its log.
class GsdExport : public FileCommands {
  protected:
    void exportTo(const std::string& target, test::SimStation* station = nullptr) {
        QZcomOCX ocx;
        if (station) {
            setenv("VARNAK_COM3", station->devicePath().c_str(), 1);
            ocx.setQZxCommPort(3);
            ocx.setQZxTyp(QZxType_RS232);
            ocx.setQZxTimeout(1000);
            ocx.setQZxPortOpen(true);
        }
        context.VarnakComOCX = &ocx;
        FileCommandControl programControl;
        FileCommandServicesScope real({&chooser, &programControl});
        chooser.answers = {(dir / target).string()};
        const auto cwd = std::filesystem::current_path();
        std::filesystem::current_path(dir.path());
        gfSaveGsdFile();
        std::filesystem::current_path(cwd);
        unsetenv("VARNAK_COM3");
        context.VarnakComOCX = nullptr;
    }
    std::string log() const { return (dir / "GSD.LOG").string(); }
};

TEST_F(GsdExport, WithoutAStationTheMessageNamesTheFirstErrorOfTheLog) {
    exportTo("out.GSD");
    EXPECT_EQ(
        messageTexts(),
        (Strings{"Error -1\r\nTyp des Buskoppler konnte nicht ausgelesen werden.\r\n" + log()}));
    EXPECT_FALSE(std::filesystem::exists(dir / "out.gsg"));
}

TEST_F(GsdExport, AQY3100RailEndsWithItsIdentificationError) {
    auto station = test::makeRailStation(std::getenv("VARNAK_RESOURCE_DIR"),
                                         {"QY3100-0000", {"QT3002-0000", "QT9010-0000"}}, 1);
    exportTo("qy.gsd", station.get());
    EXPECT_EQ(messageTexts(),
              (Strings{"Error -1\r\nQY kann nicht identifiziert werden.\r\n" + log()}));
    EXPECT_FALSE(std::filesystem::exists(dir / "qy.gsg"));
}

TEST_F(GsdExport, TheMessageNamesTheFilesWrittenAndTheTerminalsLeftWithoutAModule) {
    test::SimStation station(1, 2);
    station.addTable(0, 0);
    station.addTable(0, 9);
    for (int terminal = 1; terminal <= 2; ++terminal) station.addTable(terminal, 0, 64);
    station.setRegister(0, 9, 0, 3120);
    station.setRegister(0, 0, 255, 0x0710);
    station.setRegister(0, 0, 3, 0x0004);
    station.setRegister(0, 9, 1, 3002);
    station.setRegister(0, 9, 2, 6001);  // no data bytes in its register 35: no module
    exportTo("qz3100.gsd", &station);    // lower case: the control strips it
    EXPECT_EQ(messageTexts(), (Strings{"Finished \r\n" + (dir / "qz3100.gsg").string() + "\r\n" +
                                       (dir / "qz3100.gse").string() +
                                       "\r\nKann analog Klemme nicht an registrierte Klemme "
                                       "zuweisen: Position 2, Typ 6001\r\n" +
                                       log()}));
    EXPECT_TRUE(std::filesystem::exists(dir / "qz3100.gsg"));
    EXPECT_TRUE(std::filesystem::exists(dir / "qz3100.gse"));
}

TEST(GsdExportMessage, QuotesOnlyWhatTheLogOfTheRunSays) {
    const std::string log =
        "Erzeuge \"/p/a.gsg\"\r\n\r\n#Profibus_DP\r\n"
        "[WARN]Kann analog Klemme nicht an registrierte Klemme zuweisen: Position 3, Typ 7001\r\n"
        "[WARN]Kann digital In-/ Outputs nicht an registrierte In-/ Outputs zuweisen.\r\n"
        "Erzeuge \"/p/a.gse\"\r\n"
        "[WARN]Kann analog Klemme nicht an registrierte Klemme zuweisen: Position 3, Typ 7001\r\n"
        "[WARN]Unbekannter Variablen-Bezeichner 'x'\r\n"
        "[ERROR]Can't open file \"/p/b.gsg\".\r\n[ERROR]1 Fehler, 3 Warnung(en)\r\n";
    const std::filesystem::path file = "/cwd/GSD.LOG";
    EXPECT_EQ(gsdExportMessage(0, log, file),
              "Finished \r\n/p/a.gsg\r\n/p/a.gse\r\n"
              "Kann analog Klemme nicht an registrierte Klemme zuweisen: Position 3, Typ 7001\r\n"
              "Kann digital In-/ Outputs nicht an registrierte In-/ Outputs zuweisen.\r\n"
              "/cwd/GSD.LOG");
    EXPECT_EQ(gsdExportMessage(-1, log, file),
              "Error -1\r\nCan't open file \"/p/b.gsg\".\r\n/cwd/GSD.LOG");
    // No log of this run (a folder the control cannot write to): the result alone.
    EXPECT_EQ(gsdExportMessage(-1, "", file), "Error -1");
    EXPECT_EQ(gsdExportMessage(0, "", file), "Finished ");
}

TEST_F(FileCommands, OpenProjectChecksTheExtensionAndUsesTheRealParentFolder) {
    if (!makeProject()) GTEST_SKIP() << "no resource folder";
    // A second project elsewhere, whose folder name is not "<name>.PF".
    std::filesystem::create_directories(dir / "other" / "Halle");
    test::writeFile(dir / "other" / "Halle" / "Halle2.vmt", "[Config]\r\nName=Halle2\r\n");
    auto rail = loadedRail();
    rail->setUserInfoDescription("changed before leaving");

    chooser.answers = {(dir / "Werk.PF" / "Linie 1.CF" / "Coupler.CCF").string(),
                       (dir / "other" / "Halle" / "Halle2.vmt").string()};
    EXPECT_FALSE(gfOpenProjectFile());
    EXPECT_EQ(messageTexts(), (Strings{"Keine Klemmen Konfiguration Datei angewählt !"}));
    EXPECT_EQ(ui.messages[0].style, vbCritical);
    EXPECT_EQ(ui.messages[0].title, "VMT Projekt öffnen");
    EXPECT_EQ(project->ProjektName(), "Werk");

    EXPECT_TRUE(gfOpenProjectFile());  // lower-case extension accepted
    EXPECT_EQ(project->ProjektName(), "Halle2");
    EXPECT_EQ(project->FullPathProject(), (dir / "other" / "Halle").string());
    EXPECT_EQ(project->FullPathProjectFolder(), (dir / "other").string());
    EXPECT_EQ(project->clsColCouplers()->Count(), 0);
    // The old project's rail was saved in the old project, not carried along.
    EXPECT_NE(test::readFile(dir / "Werk.PF" / "Linie 1.CF" / "Coupler.CCF")
                  .find("changed before leaving"),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "other" / "Halle" / "Linie 1.CF"));
    const FileDialogRequest& r = chooser.requests[0];
    EXPECT_FALSE(r.save);
    EXPECT_EQ(r.filterDescription, "Klemmen Konfiguration (*.VMT)");
    EXPECT_EQ(r.title, "Öffnen eines VMT-Projektes");
}

TEST_F(FileCommands, OpenProjectOnDamagedProjectFoldersKeepsTheProgramUsable) {
    if (!makeProject()) GTEST_SKIP() << "no resource folder";
    namespace fs = std::filesystem;
    const char garbage[] = "\0\xff[Config\r\nName=\xfe\r\n[[\x01";
    test::writeFile(dir / "Kaputt.PF" / "Kaputt.VMT", std::string(garbage, sizeof garbage));
    test::writeFile(dir / "Leer.PF" / "Leer.VMT", "");
    fs::create_directories(dir / "Ordner.PF" / "Ordner.VMT");  // a folder, not a file
    // A project whose rail folder holds a damaged coupler file.
    test::writeFile(dir / "Halb.PF" / "Halb.VMT", "[Config]\r\nName=Halb\r\n");
    test::writeFile(dir / "Halb.PF" / "R.CF" / "Coupler.CCF", std::string(garbage, sizeof garbage));
    test::writeFile(dir / "Halb.PF" / "R.CF" / "C000T001.TCF",
                    std::string(garbage, sizeof garbage));

    for (const char* name : {"Kaputt", "Leer", "Ordner", "Halb"}) {
        SCOPED_TRACE(name);
        chooser.answers = {
            (dir / (std::string(name) + ".PF") / (std::string(name) + ".VMT")).string()};
        test::effectOnly(gfOpenProjectFile());
        test::effectOnly(project->clsColCouplers()->fOpenCoupler(
            (dir / "Halb.PF" / "R.CF").string(),
            (dir / "Halb.PF" / "R.CF" / "Coupler.CCF").string()));
    }
    // The good project opens again with its rail afterwards.
    chooser.answers = {(dir / "Werk.PF" / "Werk.VMT").string()};
    EXPECT_TRUE(gfOpenProjectFile());
    EXPECT_EQ(project->ProjektName(), "Werk");
    ASSERT_EQ(project->clsColCouplers()->fOpenCoupler(railFolder(), railFolder() + "/Coupler.CCF"),
              kStoreOk);
    EXPECT_EQ(loadedRail()->clsColTerminals()->Count(), 3);
}

TEST_F(FileCommands, ScriptsGoToTheirWindowsWithTheFullPath) {
    context.VarnakCommon->setLanguageType(1);
    chooser.answers = {std::string("/s/a.tsi"), std::string("/s/b.CSI"), std::string("/s/c.txt"),
                       std::string("/s/d.TSI")};
    gfOpenTerminalScript();
    gfOpenCouplerScript();
    gfOpenTerminalScript();
    gfOpenCouplerScript();
    EXPECT_EQ(openers.calls, (Strings{"frmScriptTerm.fKonstruktor(/s/a.tsi)",
                                      "frmScriptCoupler.fKonstruktor(/s/b.CSI)"}));
    EXPECT_EQ(messageTexts(),
              (Strings{"No ScriptInit file selected !", "No ScriptInit file selected !"}));
    EXPECT_EQ(ui.messages[0].title, "Open ScriptInit File");
    EXPECT_EQ(chooser.requests[0].filterDescription, "Terminal ScriptInit (*.TSI)");
    EXPECT_EQ(chooser.requests[1].filterDescription, "Coupler ScriptInit (*.CSI)");
    EXPECT_EQ(
        chooser.requests[0].initialFolder,
        platform::resolveCaseInsensitive(project->FullPathResourceFolder() + "/Script").string());
}

TEST_F(FileCommands, FirmwareLoadAsksFirstAndReportsTheResult) {
    chooser.answers = {std::string("/f/a.hex"), std::string("/f/a.hex"), std::string("/f/a.bin"),
                       std::string("/f/b.HEX")};
    ui.answers = {vbNo};
    gfFirmwareLoad();  // No: nothing more
    gfFirmwareLoad();  // Yes (default answer)
    gfFirmwareLoad();  // wrong extension
    control.result = 4609;
    gfFirmwareLoad();
    EXPECT_EQ(control.calls, (Strings{"QZxFirmwareLoad(/f/a.hex)", "QZxFirmwareLoad(/f/b.HEX)"}));
    EXPECT_EQ(messageTexts(),
              (Strings{"Bitte den Koppler in den Bootstrap-Loader-Modus schalten und quittieren",
                       "Bitte den Koppler in den Bootstrap-Loader-Modus schalten und quittieren",
                       "Erfolgreich beendet    ", "Keine Coupler Firmware-Datei angewählt !",
                       "Bitte den Koppler in den Bootstrap-Loader-Modus schalten und quittieren",
                       "Fehler !               4609"}));
    EXPECT_EQ(ui.messages[0].style, vbYesNo | vbInformation);
    EXPECT_EQ(ui.messages[5].style, vbCritical);
    EXPECT_EQ(ui.messages[5].title, "Firmware-Load");
    EXPECT_EQ(chooser.requests[0].filterDescription, "Coupler Firmware (*.hex)|*.hex");
    EXPECT_EQ(chooser.requests[0].title, "Auswahl einer Firmware-Datei");
}

TEST_F(FileCommands, FirmwareUpdateUsesTheStationAddress) {
    context.MultiPointAdr = 7;
    context.VarnakCommon->setLanguageType(1);
    chooser.answers = {std::string("/f/a.HEX"), std::string("/f/a.txt"), std::string("/f/c.hex")};
    gfFirmwareUpdate();
    gfFirmwareUpdate();
    control.result = 5;
    gfFirmwareUpdate();
    EXPECT_EQ(control.calls,
              (Strings{"QZxFirmwareUpdate1(7,/f/a.HEX)", "QZxFirmwareUpdate1(7,/f/c.hex)"}));
    EXPECT_EQ(messageTexts(),
              (Strings{"Finished without error \r\nReboot coupler by power up !",
                       "No coupler firmware-file format !", "Error !                5"}));
    EXPECT_EQ(ui.messages[1].title, "Firmware-Update");
    EXPECT_EQ(ui.messages[2].title, "Firmware-Load");
}

TEST_F(FileCommands, FirmwareThroughTheControlReportsItsResultCode) {
    QZcomOCX ocx;
    context.VarnakComOCX = &ocx;
    FileCommandControl programControl;
    FileCommandServicesScope real({&chooser, &programControl});
    const std::string missing = (dir / "missing.hex").string();
    chooser.answers = {missing, missing};
    gfFirmwareLoad();
    gfFirmwareUpdate();
    // A file that cannot be opened: the control's code 1, after the text.
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[1].text, "Fehler !               1");
    EXPECT_EQ(ui.messages[2].text, "Fehler !               1");
}

TEST(FileExtension, InCapitals) {
    EXPECT_EQ(upperExtension("/a/b.gsd"), "GSD");
    EXPECT_EQ(upperExtension("/a.b/c"), "");
    EXPECT_EQ(upperExtension("/a/b.Vmt"), "VMT");
}

}  // namespace
}  // namespace varnak
