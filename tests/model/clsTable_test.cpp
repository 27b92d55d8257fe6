#include "model/clsTable.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "comctl/QZcomOCX.h"
#include "model/app_context.h"
#include "model/clsColTables.h"
#include "model/clsCommon.h"
#include "platform/ini_file.h"
#include "platform/registry_store.h"
#include "platform/unexamined_result.h"
#include "tests/model/fake_register_device.h"
#include "tests/support/effect_only.h"
#include "tests/support/temp_dir.h"

namespace varnak {
namespace {

using test::FakeRegisterDevice;

class TableTest : public ::testing::Test {
  protected:
    TableTest() {
        context.ui = &ui;
        context.registerDevice = &device;
        context.MultiPointAdr = 3;
        ini::dropCache();
    }
    ~TableTest() override { ini::dropCache(); }

    int loads() const {
        return static_cast<int>(
            std::count_if(ui.statusTexts.begin(), ui.statusTexts.end(),
                          [](const std::string& t) { return t.rfind("Retrieving", 0) == 0; }));
    }
    std::string file(const std::string& name, const std::string& content) {
        test::writeFile(dir / name, content);
        ini::dropCache();
        return (dir / name).string();
    }

    AppContext context;
    SilentUi ui;
    FakeRegisterDevice device;
    test::TempDir dir;
    ContextScope scope{context};
};

TEST_F(TableTest, RegisterIndexOutsideTheSlotsIsRefused) {
    clsTable t;
    t.setConfRegisterValue(255, 7);
    EXPECT_EQ(t.ConfRegisterValue(255), 7);
    t.setValueChanged(false);
    for (int32_t bad : {256, -1, 1000}) {
        EXPECT_THROW(t.ConfRegisterValue(bad), SubscriptOutOfRange);
        EXPECT_THROW(t.setConfRegisterValue(bad, 1), SubscriptOutOfRange);
        EXPECT_THROW(t.InfoRegisterDesc(bad), SubscriptOutOfRange);
        EXPECT_THROW(test::effectOnly(t.ConfUpload(bad, 1)), SubscriptOutOfRange);
        EXPECT_THROW(test::effectOnly(t.ConfDownload(bad, 1)), SubscriptOutOfRange);
    }
    // A refused upload neither marks the table nor reaches the device.
    EXPECT_FALSE(t.ValueChanged());
    EXPECT_TRUE(device.calls.empty());
}

TEST_F(TableTest, ValueChangedOnlyOnARealChange) {
    clsTable t;
    EXPECT_FALSE(t.ValueChanged());
    t.setConfRegisterValue(4, 0);
    EXPECT_FALSE(t.ValueChanged());
    t.setConfRegisterValue(4, -5);  // stored unmasked
    EXPECT_TRUE(t.ValueChanged());
    EXPECT_EQ(t.ConfRegisterValue(4), -5);
    t.setValueChanged(false);
    t.setConfRegisterValue(4, -5);
    EXPECT_FALSE(t.ValueChanged());
    t.setConfRegisterValue(5, 70000);
    EXPECT_EQ(t.ConfRegisterValue(5), 70000);
}

TEST_F(TableTest, TableLenIsTheLastIndexAndStaysInTheSlots) {
    clsTable t;
    t.setTableLen(300);
    EXPECT_EQ(t.TableLen(), 255);
    t.setTableLen(-7);
    EXPECT_EQ(t.TableLen(), -1);
    t.setTableLen(63);
    EXPECT_EQ(t.TableLen(), 63);

    // A table that was told 300 saves 256 registers instead of failing half-way.
    t.setTableLen(300);
    t.setTableNr(0);
    t.setConfRegisterValue(255, 1);
    std::string f = (dir / "big.ini").string();
    EXPECT_EQ(t.ConfSaveData(f), 0);
    ini::dropCache();
    EXPECT_EQ(ini::readString(f, "RegValue_Table0", "Reg255"), "0x0001");
    EXPECT_EQ(ini::readString(f, "RegValue_Table0", "Reg256"), "");
}

TEST_F(TableTest, LazyLoadRunsOnceAtTheRegisterAccesses) {
    std::string f = file("c.ini", "[RegValue_Table2]\nReg0=0x0011\n");
    using Access = void (*)(clsTable&);
    const Access accesses[] = {
        [](clsTable& t) { t.ConfRegisterValue(0); },
        [](clsTable& t) { t.setConfRegisterValue(0, 0x11); },
        [](clsTable& t) { t.InfoRegisterDesc(0); },
        [](clsTable& t) { test::effectOnly(t.ConfUpload(0, 0)); },
        [](clsTable& t) { test::effectOnly(t.ConfDownload(0, 0)); },
        [](clsTable& t) { test::effectOnly(t.ConfSaveAsResData("")); },
    };
    for (Access access : accesses) {
        ui.statusTexts.clear();
        clsTable t;
        t.setTableNr(2);
        t.setTableSourceFile(f);
        // The plain properties never load.
        t.setTableLen(10);
        t.setPosNr(0);
        (void)t.ValueChanged();
        (void)t.TableDesc();
        EXPECT_EQ(loads(), 0);
        EXPECT_FALSE(t.bInitDone());
        access(t);
        EXPECT_EQ(loads(), 1);
        EXPECT_TRUE(t.bInitDone());
        EXPECT_EQ(t.ConfRegisterValue(0), 0x11);
        t.ConfRegisterValue(1);
        t.InfoRegisterDesc(1);
        EXPECT_EQ(loads(), 1);
    }
}

TEST_F(TableTest, LazyLoadIsNotWantedOrNotPossible) {
    std::string f = file("c.ini", "[RegValue_Table0]\nReg0=0x0011\n");
    clsTable filled;
    filled.setTableSourceFile(f);
    filled.setbInitDone(true);  // to be filled by upload
    EXPECT_EQ(filled.ConfRegisterValue(0), 0);
    clsTable scratch;  // no source file
    EXPECT_EQ(scratch.ConfRegisterValue(0), 0);
    EXPECT_FALSE(scratch.bInitDone());
    EXPECT_EQ(loads(), 0);

    // ConfSaveData does not load: a table not yet read has nothing changed to save.
    clsTable unread;
    unread.setTableSourceFile(f);
    EXPECT_EQ(unread.ConfSaveData(f), 0);
    EXPECT_EQ(loads(), 0);

    // A refused access still loaded first.
    clsTable t;
    t.setTableSourceFile(f);
    EXPECT_THROW(t.ConfRegisterValue(256), SubscriptOutOfRange);
    EXPECT_EQ(loads(), 1);
}

// The load lets window events run; an access from there must not start a second load.
class ReentrantUi : public SilentUi {
  public:
    clsTable* table = nullptr;
    void pumpEvents() override {
        SilentUi::pumpEvents();
        if (table) table->ConfRegisterValue(0);
    }
};

TEST_F(TableTest, LazyLoadMarksItselfDoneBeforeLoading) {
    ReentrantUi reentrant;
    context.ui = &reentrant;
    std::string f = file("c.ini", "[RegValue_Table0]\nReg0=0x0011\n");
    clsTable t;
    t.setTableSourceFile(f);
    reentrant.table = &t;
    EXPECT_EQ(t.ConfRegisterValue(0), 0x11);
    EXPECT_EQ(reentrant.pumpCount, 1);
}

TEST_F(TableTest, RetrieveTakesOnlyValidValuesAndDescriptions) {
    std::string f = file("t.ini",
                         "[RegValue_Table7]\n"
                         "Reg0=0x1234\n"
                         "Reg1=1234\n"
                         "Reg2=0x12 34\n"
                         "Reg3=x\n"
                         "Reg4=0x\n"
                         "Reg5=0xffffffff\n"
                         "Reg6=0x100000000\n"
                         "Reg7=  0X00ff  \n"
                         "Reg9=0x0009\n"
                         "[RegDesc_Table7]\n"
                         "Lang0_Reg0=Eingang\n"
                         "Lang1_Reg0=  Input  \n"
                         "Lang1_Reg6=\xC3\x84\n"
                         "Lang1_Reg7=A\n"
                         "Lang1_Reg8=AB\n");
    context.LanguageNr = 1;
    clsTable t;
    t.setTableNr(7);
    t.setPosNr(2);
    t.setTableLen(8);
    t.setbInitDone(true);
    for (int32_t i = 0; i < 10; ++i) t.setConfRegisterValue(i, 100 + i);
    t.setValueChanged(false);
    EXPECT_EQ(t.ConfRetrieveData(f), 0);

    const int32_t expected[] = {4660, 101, 102, 103, 104, -1, 106, 255, 108, 109};
    for (int32_t i = 0; i < 10; ++i) EXPECT_EQ(t.ConfRegisterValue(i), expected[i]) << i;
    EXPECT_EQ(t.InfoRegisterDesc(0), "Input");
    EXPECT_EQ(t.InfoRegisterDesc(6), "");  // one character, also when it takes two bytes
    EXPECT_EQ(t.InfoRegisterDesc(7), "");  // one character is never taken
    EXPECT_EQ(t.InfoRegisterDesc(8), "AB");
    EXPECT_EQ(t.TableSourceFile(), f);
    EXPECT_TRUE(t.bInitDone());
    EXPECT_FALSE(t.ValueChanged());
    EXPECT_EQ(ui.statusTexts,
              (std::vector<std::string>{"Retrieving terminal data... 7", "done..."}));
    EXPECT_EQ(ui.pumpCount, 1);
}

TEST_F(TableTest, RetrieveFollowsTheSettingsObjectsLanguage) {
    platform::RegistryStore registry(dir / "machine.ini");
    context.registry = &registry;
    context.VarnakCommon = std::make_shared<clsCommon>(context, "Varnak");
    std::string f = file("t.ini", "[RegDesc_Table0]\nLang0_Reg0=Eingang\nLang1_Reg0=Input\n");
    context.VarnakCommon->setLanguageType(0);
    clsTable german;
    ignoreLoadResult(german.ConfRetrieveData(f));
    EXPECT_EQ(german.InfoRegisterDesc(0), "Eingang");
    context.VarnakCommon->setLanguageType(1);
    clsTable english;
    ignoreLoadResult(english.ConfRetrieveData(f));
    EXPECT_EQ(english.InfoRegisterDesc(0), "Input");
    context.VarnakCommon.reset();
}

TEST_F(TableTest, SaveWritesOnlyChangedKeptTables) {
    std::string f = (dir / "rail.ini").string();
    clsTable t;
    t.setTableLen(3);
    EXPECT_EQ(t.ConfSaveData(f), 0);  // unchanged: nothing at all
    EXPECT_EQ(t.TableSourceFile(), "");
    EXPECT_FALSE(std::filesystem::exists(f));

    for (int32_t nr : {5, 7, 64, 99}) {
        clsTable other;
        other.setTableNr(nr);
        other.setConfRegisterValue(0, 1);
        EXPECT_EQ(other.ConfSaveData(f), 0);
        EXPECT_TRUE(other.ValueChanged()) << nr;
        EXPECT_EQ(other.TableSourceFile(), f);
    }
    EXPECT_FALSE(std::filesystem::exists(f));
    EXPECT_TRUE(ui.statusTexts.empty());

    t.setTableNr(100);
    t.setPosNr(0);
    t.setConfRegisterValue(1, 4660);
    EXPECT_EQ(t.ConfSaveData(f), 0);
    EXPECT_FALSE(t.ValueChanged());
    EXPECT_EQ(t.TableSourceFile(), f);
    EXPECT_EQ(ui.statusTexts, (std::vector<std::string>{"Saving coupler data... 100", "done..."}));
    EXPECT_EQ(test::readFile(f),
              "[RegValue_Table100]\r\nReg0=0x0000\r\nReg1=0x1234\r\nReg2=0x0000\r\n"
              "Reg3=0x0000\r\n");
}

TEST_F(TableTest, FailedSaveKeepsTheTableChanged) {
    std::string f = (dir / "missing" / "rail.ini").string();
    clsTable t;
    t.setConfRegisterValue(0, 1);
    EXPECT_EQ(t.ConfSaveData(f), kTableFileWriteFailed);
    EXPECT_TRUE(t.ValueChanged());
    EXPECT_EQ(t.ConfSaveAsResData(f), kTableFileWriteFailed);
    // No file name at all: nothing lands in the working folder.
    std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    EXPECT_EQ(t.ConfSaveData(""), kTableFileWriteFailed);
    EXPECT_EQ(t.ConfSaveAsResData(""), kTableFileWriteFailed);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    std::filesystem::current_path(before);
}

TEST_F(TableTest, SaveAndReloadIsByteIdentical) {
    std::string f = file("Coupler.CCF",
                         "[RegValue_Table0]\nReg0=0x0005\n"
                         "[RegDesc_Table0]\n"
                         "Lang0_Reg0=Null\nLang1_Reg0=Zero\n"
                         "Lang0_Reg3=Minus eins \xC3\xA4\nLang1_Reg3=Minus one\n");
    const int32_t values[] = {0, 1, 0xFFFF, -1};
    clsTable t;
    t.setTableLen(3);
    t.setTableSourceFile(f);
    for (int32_t i = 0; i < 4; ++i) t.setConfRegisterValue(i, values[i]);
    EXPECT_EQ(t.ConfSaveData(f), 0);
    const std::string saved = test::readFile(f);
    EXPECT_NE(saved.find("Reg3=0xFFFFFFFF"), std::string::npos);

    for (int32_t language : {0, 1}) {
        context.LanguageNr = language;
        ini::dropCache();
        clsTable again;
        again.setTableLen(3);
        again.setTableSourceFile(f);
        for (int32_t i = 0; i < 4; ++i) EXPECT_EQ(again.ConfRegisterValue(i), values[i]) << i;
        EXPECT_EQ(again.InfoRegisterDesc(0), language ? "Zero" : "Null");
        EXPECT_EQ(again.InfoRegisterDesc(3), language ? "Minus one" : "Minus eins \xC3\xA4");
        again.setValueChanged(true);
        EXPECT_EQ(again.ConfSaveData(f), 0);
        EXPECT_EQ(test::readFile(f), saved);
    }
}

TEST_F(TableTest, SaveAsDescriptionLoadsFirstAndWritesEveryTable) {
    std::string source = file("QZ3100.INI", "[RegValue_Table99]\nReg0=0x0042\nReg1=0x0043\n");
    std::string target = (dir / "out.ini").string();
    clsTable t;
    t.setTableNr(99);
    t.setPosNr(4);
    t.setTableLen(1);
    t.setTableSourceFile(source);
    EXPECT_EQ(t.ConfSaveAsResData(target), 0);
    EXPECT_EQ(test::readFile(target), "[RegValue_Table99]\r\nReg0=0x0042\r\nReg1=0x0043\r\n");
    EXPECT_EQ(t.TableSourceFile(), source);
    EXPECT_FALSE(t.ValueChanged());
    EXPECT_EQ(ui.statusTexts.back(), "Saving terminal data... 99");  // no "done..."
}

TEST_F(TableTest, WholeTableUploadAndDownload) {
    auto& station = device.registers(0, 9);
    for (int32_t i = 0; i < 256; ++i) station[i] = (i * 257) & 0xFFFF;
    clsTable t;
    t.setTableNr(9);
    t.setTableLen(255);
    EXPECT_EQ(t.ConfUpload(0, t.TableLen() + 1), 0);
    ASSERT_EQ(device.calls.size(), 1u);
    const auto& read = device.calls[0];
    EXPECT_FALSE(read.write);
    EXPECT_EQ(read.railPosition, 0);
    EXPECT_EQ(read.table, 9);
    EXPECT_EQ(read.firstRegister, 0);
    EXPECT_EQ(read.count, 256);
    EXPECT_EQ(read.station, 3);
    EXPECT_EQ(read.spanSize, 256u);
    for (int32_t i = 0; i < 256; ++i) ASSERT_EQ(t.ConfRegisterValue(i), station[i]);
    EXPECT_TRUE(t.ValueChanged());
    EXPECT_EQ(ui.statusTexts, (std::vector<std::string>{"Upload coupler data... 9"}));

    t.setValueChanged(false);
    t.setPosNr(3);
    t.setTableNr(1);
    EXPECT_EQ(t.ConfDownload(0, 256), 0);
    EXPECT_FALSE(t.ValueChanged());
    EXPECT_EQ(device.registers(3, 1), station);
    EXPECT_TRUE(device.calls[1].write);
    EXPECT_EQ(ui.statusTexts.back(), "Download terminal data... 1");
}

TEST_F(TableTest, RunsStayWithinTheSlots) {
    clsTable t;
    t.setTableLen(0);
    EXPECT_EQ(t.ConfUpload(0, t.TableLen() + 1), 0);
    EXPECT_EQ(device.calls.back().count, 1);

    EXPECT_EQ(t.ConfUpload(250, 10), 0);  // cut at register 255
    EXPECT_EQ(device.calls.back().firstRegister, 250);
    EXPECT_EQ(device.calls.back().count, 6);
    EXPECT_EQ(device.calls.back().spanSize, 6u);
    EXPECT_EQ(t.ConfDownload(255, 2), 0);
    EXPECT_EQ(device.calls.back().count, 1);

    size_t before = device.calls.size();
    t.setValueChanged(false);
    EXPECT_EQ(t.ConfUpload(10, -5), 0);
    EXPECT_EQ(t.ConfDownload(10, 0), 0);
    EXPECT_EQ(device.calls.size(), before);
    EXPECT_TRUE(t.ValueChanged());  // an accepted upload always marks the table
}

TEST_F(TableTest, FailedUploadKeepsEarlierChunksAndReportsTheCode) {
    auto& station = device.registers(2, 0);
    for (int32_t i = 0; i < 64; ++i) station[i] = 1000 + i;
    clsTable t;
    t.setPosNr(2);
    t.setTableLen(63);
    device.failAt(2, qzcom::ComErrTimeout1);  // in the third telegram
    EXPECT_EQ(t.ConfUpload(0, 64), qzcom::ComErrTimeout1);
    EXPECT_EQ(t.LastResult(), qzcom::ComErrTimeout1);
    EXPECT_TRUE(t.ValueChanged());
    for (int32_t i = 0; i < 36; ++i) EXPECT_EQ(t.ConfRegisterValue(i), 1000 + i) << i;
    for (int32_t i = 36; i < 64; ++i) EXPECT_EQ(t.ConfRegisterValue(i), 0) << i;
    EXPECT_EQ(ui.statusTexts.back(), "Upload terminal data... 0");

    EXPECT_EQ(t.ConfUpload(0, 64), 0);
    EXPECT_EQ(t.LastResult(), 0);
    EXPECT_EQ(t.ConfRegisterValue(63), 1063);
}

TEST_F(TableTest, WithoutADeviceTheTransferFails) {
    context.registerDevice = nullptr;
    clsTable t;
    EXPECT_EQ(t.ConfUpload(0, 1), kNoRegisterDeviceResult);
    EXPECT_EQ(t.ConfDownload(0, 1), kNoRegisterDeviceResult);
    EXPECT_EQ(t.LastResult(), kNoRegisterDeviceResult);
}

TEST(ColTables, KeyedInsertionOrderedCollection) {
    clsColTables tables;
    auto t5 = tables.Add(5);
    auto t0 = tables.Add(0);
    auto t127 = tables.Add(127);
    EXPECT_EQ(t5->TableNr(), 0);  // the owner sets it
    EXPECT_EQ(tables.Count(), 3);
    EXPECT_EQ(tables.Item(0), t0);
    EXPECT_EQ(tables.Item(6), nullptr);
    EXPECT_THROW(tables.Add(5), std::invalid_argument);
    EXPECT_THROW(tables.Remove(6), std::invalid_argument);

    std::vector<std::shared_ptr<clsTable>> order;
    for (const auto& t : tables) order.push_back(t);
    EXPECT_EQ(order, (std::vector<std::shared_ptr<clsTable>>{t5, t0, t127}));

    order.clear();
    tables.Remove(0);
    EXPECT_EQ(tables.Count(), 2);
    EXPECT_EQ(tables.Item(0), nullptr);
    t0->setConfRegisterValue(0, 1);  // a table still held elsewhere lives on
    EXPECT_EQ(t0.use_count(), 1);
}

}  // namespace
}  // namespace varnak
