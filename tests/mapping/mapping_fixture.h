#pragma once
// A program context whose resource folder holds the shipped coupler and terminal
// descriptions and the synthetic ones of the mapping's limits, with rails built in memory
// from them, and a register device in memory for the online reads.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "mapping/mapping_layout.h"
#include "model/app_context.h"
#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "model/clsTable.h"
#include "model/clsTerminal.h"
#include "model/ui_services.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "platform/unexamined_result.h"
#include "tests/model/fake_register_device.h"
#include "tests/support/mapping_descriptions.h"
#include "tests/support/temp_dir.h"

namespace varnak::test {

class MappingFixture : public ::testing::Test {
  protected:
    MappingFixture() : scope(context) {
        ini::dropCache();
        context.ui = &ui;
        std::filesystem::create_directories(resources());
        for (const char* folder : {"Coupler", "Terminal"})
            std::filesystem::copy(platform::resourceDir() / folder, resources() / folder,
                                  std::filesystem::copy_options::recursive);
        writeMappingTestTerminals(resources());
        std::filesystem::create_directories(dir / "prog");
        project = std::make_shared<clsProject>((dir / "prog").string(), resources().string());
        project->InitComPort = [] { return 0; };
        context.VarnakProject = project;
        context.registerDevice = &device;
    }
    ~MappingFixture() override { ini::dropCache(); }

    std::filesystem::path resources() const { return dir / "Resource"; }

    // A rail of the coupler type with the terminals at positions 1, 2, ... (not saved).
    std::shared_ptr<clsCoupler> makeRail(const std::string& coupler,
                                         const std::vector<std::string>& terminals) {
        auto rail = std::make_shared<clsCoupler>();
        ignoreLoadResult(
            rail->ConfRetrieveData((resources() / "Coupler" / (coupler + ".INI")).string()));
        auto row = rail->clsColTerminals();
        for (const std::string& t : terminals)
            EXPECT_EQ(row->Add(t, row->Count() + 1, 1, rail->ConfSymbolicID()), 0) << t;
        return rail;
    }

    RailMappingLayout layoutOf(clsCoupler& rail, bool online = false) {
        RailMappingLayout layout;
        EXPECT_EQ(railMappingLayout(rail, online, layout), std::nullopt);
        return layout;
    }

    // The rail as the station's: the project online with this rail read from it.
    void goOnline(const std::shared_ptr<clsCoupler>& rail) {
        EXPECT_EQ(project->setOnline(true), kStoreOk);
        context.VarnakOnlineCoupler = rail;
    }

    static int32_t reg(clsCoupler& rail, int32_t table, int32_t r) {
        return rail.clsColTables()->Item(table)->ConfRegisterValue(r);
    }

    TempDir dir;
    SilentUi ui;
    AppContext context;
    ContextScope scope;
    FakeRegisterDevice device;
    std::shared_ptr<clsProject> project;
};

}  // namespace varnak::test
