#pragma once
// A program context with its own resource folder of small device descriptions and a
// project parent folder, both in a temporary folder, for the project store tests.
#include <filesystem>
#include <memory>
#include <string>

#include "model/app_context.h"
#include "model/clsColCouplers.h"
#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "model/clsTable.h"
#include "model/clsTerminal.h"
#include "model/project_store.h"
#include "model/ui_services.h"
#include "platform/ini_file.h"
#include "tests/support/temp_dir.h"

namespace varnak::test {

// Coupler description: tables 0-4, 8, 9, 10, 50, 98, 99, 100, 110, 114, 127.
inline const char* kCouplerDescription =
    "[Common]\r\n"
    "Name=QZ3100-0000\r\n"
    "Lang0_Desc=Buskoppler Testreihe\r\n"
    "Lang1_Desc=Bus coupler test series\r\n"
    "Picture=QZ3100.png\r\n"
    "PicSize=2\r\n"
    "CurrentKBus=1500\r\n"
    "\r\n"
    "[RegValue_Table127]\r\n"
    "Reg0=0x00FF\r\nReg1=0x003F\r\nReg2=0x000F\r\nReg3=0x000F\r\nReg4=0x000F\r\n"
    "Reg8=0x0040\r\nReg9=0x0040\r\nReg10=0x00FE\r\nReg50=0x00FE\r\nReg98=0x0010\r\n"
    "Reg99=0x0010\r\nReg100=0x003F\r\nReg110=0x003F\r\nReg114=0x003F\r\nReg127=0x0082\r\n"
    "\r\n"
    "[RegValue_Table0]\r\n"
    "Reg1=0x0001\r\nReg2=0x0002\r\nReg11=0x000B\r\n"
    "\r\n"
    "[RegValue_Table100]\r\n"
    "Reg0=0x1234\r\nReg5=0x0005\r\n"
    "\r\n"
    "[RegDesc_Table0]\r\n"
    "Lang0_Reg1=Betriebsart\r\nLang1_Reg1=Mode\r\n";

// A terminal description: name, logical channels and size, input and output bits.
inline std::string terminalDescription(const std::string& name, int channels, int bits, int inBits,
                                       int outBits) {
    char layout[160];
    std::snprintf(layout, sizeof layout, "Reg10=0x%02X%02X\nReg11=0x%02X%02X\nReg12=0x%02X%02X\n",
                  channels, bits, channels, bits, outBits, inBits);
    return "[Common]\nName=" + name + "\nLang0_Desc=Klemme " + name + "\nLang1_Desc=Terminal " +
           name + "\nPicture=" + name + ".png\nPicSize=1\nCurrentKBus=-60\n\n[RegValue_Table0]\n" +
           layout + "Reg32=0x0005\nReg33=0x0100\nReg63=0xBEEF\n";
}

class ProjectFixture {
  public:
    ProjectFixture() : scope_(context_) {
        ini::dropCache();
        context_.ui = &ui;
        writeFile(resources() / "Coupler" / "QZ3100-0000.INI", kCouplerDescription);
        writeFile(resources() / "Coupler" / "Unknown.INI",
                  "[Common]\nName=Unknown\nLang0_Desc=Unbekannt\nLang1_Desc=Unknown\n"
                  "[RegValue_Table127]\nReg0=0x00FF\n");
        writeTerminal("QT3002-0000", 2, 16, 16, 0);   // analog in, register model
        writeTerminal("QT4002-0000", 2, 16, 0, 16);   // analog out, register model
        writeTerminal("QT3808-0000", 8, 16, 16, 0);   // eight channels
        writeTerminal("QT1002-0000", 2, 1, 1, 0);     // digital in, no register model
        writeTerminal("QT6001-0000", 1, 24, 24, 24);  // serial interface
        writeTerminal("QT9010-0000", 0, 0, 0, 0);     // end terminal
        writeTerminal("Unknown", 1, 16, 16, 0);
        std::filesystem::create_directories(root_ / "prog");
        project = std::make_shared<clsProject>((root_ / "prog").string(), resources().string());
        context_.VarnakProject = project;
    }
    ~ProjectFixture() { ini::dropCache(); }

    void writeTerminal(const std::string& name, int channels, int bits, int inBits, int outBits) {
        writeFile(resources() / "Terminal" / (name + ".INI"),
                  terminalDescription(name, channels, bits, inBits, outBits));
    }

    std::filesystem::path resources() const { return root_ / "Resource"; }
    std::filesystem::path parent() const { return root_.path(); }
    std::filesystem::path projectFolder(const std::string& name) const {
        return root_ / (name + ".PF");
    }
    std::filesystem::path railFolder(const std::string& project, const std::string& rail) const {
        return projectFolder(project) / (rail + ".CF");
    }

    int32_t newProject(const std::string& name) {
        return project->fNewProject(name, projectFolder(name).string(), parent().string());
    }
    int32_t openProject(const std::string& name) {
        return project->fOpenProject(name, projectFolder(name).string(), parent().string());
    }
    std::shared_ptr<clsColCouplers> couplers() { return project->clsColCouplers(); }
    std::shared_ptr<clsCoupler> rail() { return *couplers()->begin(); }
    std::shared_ptr<clsColTerminals> terminals() { return rail()->clsColTerminals(); }
    // Opens a saved rail of the open project.
    int32_t openRail(const std::string& projectName, const std::string& railName) {
        auto folder = railFolder(projectName, railName);
        return couplers()->fOpenCoupler(folder.string(), (folder / "Coupler.CCF").string());
    }
    AppContext& context() { return context_; }

    SilentUi ui;
    std::shared_ptr<clsProject> project;

  private:
    TempDir root_;
    AppContext context_;
    ContextScope scope_;
};

}  // namespace varnak::test
