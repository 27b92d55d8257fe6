// A station whose 64 positions are all filled, without an end terminal: read as going
// online reads it, uploaded with its programmed configuration and saved, mapped offline,
// and its terminal list of 64 words downloaded.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>

#include "app/online_station_reader.h"
#include "app/tree_popup_menus.h"
#include "couplercfg/image_mapping_editor.h"
#include "mapping/terminal_list.h"
#include "model/clsColCouplers.h"
#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "model/clsTable.h"
#include "online/settings_download.h"
#include "platform/ini_file.h"
#include "tests/app/upload_openers.h"
#include "tests/support/qt/rail_fixture.h"

namespace varnak::test {
namespace {

class FullStation : public RailFixture {
  protected:
    FullStation() : RailFixture({"QZ3100-0000", std::vector<std::string>(64, "QT1002-0000")}) {
        connectStation();
        station->setRegister(0, 10, 0, 0xFFFF);
        station->setRegister(0, 50, 0, 0xFFFF);
    }
};

TEST_F(FullStation, ItIsUploadedSavedMappedAndItsSixtyFourWordsDownloaded) {
    ASSERT_EQ(project->setOnline(true), kStoreOk);
    const StationReadResult read = fReadOnlineStation();
    ASSERT_EQ(read.result, 0);
    ASSERT_EQ(read.rail->clsColTerminals()->Count(), 64);
    context.VarnakOnlineCoupler = read.rail;
    UploadingOpeners openers{kUploadProgrammedConfiguration};
    ui.inputs.push_back("Voll");
    ASSERT_TRUE(saveOnlineCouplerAs(openers));
    EXPECT_TRUE(ui.messages.empty());

    EXPECT_EQ(project->setOnline(false), kStoreOk);
    project->clsColCouplers()->fDropColCouplers();
    ini::dropCache();
    const std::filesystem::path folder = dir / "Werk.PF" / "Voll.CF";
    ASSERT_EQ(
        project->clsColCouplers()->fOpenCoupler(folder.string(), (folder / "Coupler.CCF").string()),
        kStoreOk);
    ASSERT_EQ(rail()->clsColTerminals()->Count(), 64);
    ImageMappingEditor editor(ImageMappingEditor::Variant::Programmed);
    ASSERT_TRUE(editor.load());
    EXPECT_TRUE(editor.ok());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(storedTerminalList(*rail()->clsColTables()->Item(8)),
              std::vector<int32_t>(64, 0x8201));

    station->clearRequests();
    TransferChoice choice;
    choice.boxes[kDownloadProgrammedConfiguration] = true;
    EXPECT_TRUE(runSettingsDownload(*rail(), choice, {}).clean());
    for (int p : {1, 64}) EXPECT_EQ(station->reg(0, 8, p), 0x8201) << p;
}

}  // namespace
}  // namespace varnak::test
