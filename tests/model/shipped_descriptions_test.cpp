// The shipped device descriptions as the project store reads them: every coupler and
// terminal loads under its own name (never through the Unknown fallback), with the tables
// and channels its layout promises and a picture the rail view can show.
#include <gtest/gtest.h>

#include <filesystem>

#include "model/app_context.h"
#include "model/clsColTables.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "model/clsTable.h"
#include "model/clsTerminal.h"
#include "model/device_description.h"
#include "model/device_register_model.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "platform/unexamined_result.h"
#include "tests/support/temp_dir.h"

namespace varnak {
namespace {

class ShippedDescriptions : public ::testing::Test {
  protected:
    void SetUp() override {
        shipped = platform::resourceDir();
        if (!std::filesystem::exists(shipped / "Coupler")) GTEST_SKIP() << "no resource folder";
        context.VarnakProject =
            std::make_shared<clsProject>(shipped.parent_path().string(), shipped.string());
    }
    std::vector<std::string> descriptions(const char* folder) {
        return platform::listMatching(shipped / folder, "*.INI");
    }
    void expectPicture(const std::string& owner, const std::string& picture) {
        EXPECT_TRUE(std::filesystem::is_regular_file(
            platform::resolveCaseInsensitive(shipped / "Graph" / picture)))
            << owner << ": " << picture;
    }

    std::filesystem::path shipped;
    AppContext context;
    ContextScope scope{context};
};

TEST_F(ShippedDescriptions, CouplersLoadUnderTheirNamesWithSettingsTables) {
    auto names = descriptions("Coupler");
    ASSERT_GT(names.size(), 10u);
    for (const std::string& file : names) {
        std::string base = file.substr(0, file.size() - 4);
        auto rail = std::make_shared<clsCoupler>();
        ignoreLoadResult(rail->ConfRetrieveData((shipped / "Coupler" / file).string()));
        EXPECT_EQ(rail->InfoName(), base) << file;
        EXPECT_NE(rail->InfoDescription(), "0") << file;
        expectPicture(file, rail->InfoBitmap());
        auto general = rail->clsColTables()->Item(kGeneralSettingsTable);
        ASSERT_TRUE(general) << file;
        EXPECT_FALSE(general->bInitDone()) << file;  // loads from the description on use
        for (const auto& t : *rail->clsColTables()) {
            EXPECT_GE(t->TableLen(), 1) << file << " table " << t->TableNr();
            EXPECT_LE(t->TableLen(), kLastRegister) << file;
        }
    }
}

TEST_F(ShippedDescriptions, TerminalsLoadUnderTheirNamesWithTheirChannels) {
    auto names = descriptions("Terminal");
    ASSERT_GT(names.size(), 20u);
    for (const std::string& file : names) {
        std::string base = file.substr(0, file.size() - 4);
        auto terminal = std::make_shared<clsTerminal>();
        ignoreLoadResult(terminal->InfoRetrieveData((shipped / "Terminal" / file).string()));
        EXPECT_EQ(terminal->InfoName(), base) << file;
        expectPicture(file, terminal->InfoBitmap());
        int32_t channels = terminal->InfoNrLogSigChnl();
        EXPECT_EQ(terminal->clsColTables()->Count(),
                  terminal->InfoTermRegisterModell() ? channels : 0)
            << file;
        for (int32_t c = 0; c < channels; ++c) {
            EXPECT_EQ(terminal->ConfInputDestProcImage(c), "0") << file;
            EXPECT_NO_THROW(terminal->ConfMappInputImage(c, terminal->MappingEntryCount() - 1))
                << file;
        }
        for (const auto& t : *terminal->clsColTables()) {
            EXPECT_EQ(t->TableLen(), kChannelTableLen) << file;
            EXPECT_TRUE(t->ValueChanged()) << file;  // the first save writes every channel
        }
    }
}

// A terminal file begun as a copy of a shipped description and saved by this program holds
// every register of its table 0: none of the shipped descriptions counts as cut against it.
TEST_F(ShippedDescriptions, NoTerminalDescriptionIsCutAgainstASavedCopy) {
    test::TempDir dir;
    const auto copy = dir / "C001T001.TCF";
    for (const std::string& file : descriptions("Terminal")) {
        const std::string description = (shipped / "Terminal" / file).string();
        test::writeFile(copy, test::readFile(description));
        {
            // One rewrite of the copy, not one per register.
            ini::IniBatch batch;
            for (int r = 0; r <= kChannelTableLen; ++r)
                ASSERT_TRUE(ini::WritePrivateProfileString(
                    "RegValue_Table0", "Reg" + std::to_string(r), "0x0000", copy.string()));
            ASSERT_TRUE(batch.commit()) << file;
        }
        ini::dropCache();
        EXPECT_FALSE(descriptionCutShort(description, copy.string())) << file;
    }
}

}  // namespace
}  // namespace varnak
