#include "model/clsCommon.h"

#include <gtest/gtest.h>

#include "model/app_context.h"
#include "platform/ini_file.h"
#include "platform/registry_store.h"
#include "tests/support/temp_dir.h"

using varnak::AppContext;
using varnak::clsCommon;
using varnak::ContextScope;
using varnak::SilentUi;
using varnak::platform::RegistryStore;

namespace {

// A store that refuses every write, as a machine-wide store without write access does.
class RefusingStore : public RegistryStore {
  public:
    using RegistryStore::RegistryStore;
    bool writeValue(const std::string&, const std::string&, const std::string&) override {
        ++refusedWrites;
        return false;
    }
    bool createValue(const std::string&, const std::string&, const std::string& v) override {
        created.push_back(v);
        return false;
    }
    int refusedWrites = 0;
    std::vector<std::string> created;
};

struct Fixture : ::testing::Test {
    varnak::test::TempDir dir;
    RegistryStore store{dir / "machine.ini"};
    AppContext context;
    ContextScope scope{context};
    SilentUi ui;
    Fixture() {
        varnak::ini::dropCache();
        context.registry = &store;
        context.ui = &ui;
    }
    std::string stored(const std::string& key) {
        std::string v;
        return store.readValue(key, "Language", v) ? v : "<missing>";
    }
};

}  // namespace

using Edition = Fixture;

TEST_F(Edition, FollowsTheProgramNameAsStarted) {
    struct Row {
        const char* path;
        const char* key;
        const char* company;
        int id;
        const char* access;
    } rows[] = {
        {"/opt/x/Varnak", "SOFTWARE\\Harvenor\\Varnak\\Common", "Harvenor", 0, "TIDAL-GATE"},
        {"./VMT.exe", "SOFTWARE\\Harvenor\\Varnak\\Common", "Harvenor", 0, "TIDAL-GATE"},
        {"/usr/bin/VarnakPLW", "SOFTWARE\\PLW\\VarnakPLW\\Common", "PLW", 1, "TIDAL-GATE"},
        {"JRV-101", "SOFTWARE\\Harvenor\\Varnak", "Harvenor", 0, ""},
        {"varnak", "SOFTWARE\\Harvenor\\Varnak", "Harvenor", 0, "TIDAL-GATE"},
        {"VARNAK", "SOFTWARE\\Harvenor\\Varnak", "Harvenor", 0, "TIDAL-GATE"},
    };
    for (const auto& r : rows) {
        context.AccessCodeText.clear();
        clsCommon common(context, r.path);
        EXPECT_EQ(common.CompanyRegKey(), r.key) << r.path;
        EXPECT_EQ(common.CompanyName(), r.company) << r.path;
        EXPECT_EQ(common.CompanyID(), r.id) << r.path;
        EXPECT_EQ(context.AccessCodeText, r.access) << r.path;
    }
    // Only the unsupported edition announces itself.
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Not for sale, no support");
    EXPECT_NE(ui.messages[0].text.find("presents:\n\nJorvel Softwaretool JRV-101\n\n"
                                       "Bitte erst Datei-Resourcen an Harvenor senden."),
              std::string::npos);
}

using Language = Fixture;

TEST_F(Language, MissingValueIsEstablishedAsGermanAndWrittenBack) {
    {
        clsCommon common(context, "Varnak");
        EXPECT_EQ(common.LanguageType(), 0);
        EXPECT_EQ(context.LanguageBase, 0);
        EXPECT_EQ(stored(common.CompanyRegKey()), "0 ");
        EXPECT_EQ(ui.uiLanguages, std::vector<int>{7});
    }
}

TEST_F(Language, EnglishIsReadAndKeptAcrossRuns) {
    ASSERT_TRUE(store.writeValue("SOFTWARE\\Harvenor\\Varnak\\Common", "Language", "1"));
    {
        clsCommon common(context, "Varnak");
        EXPECT_EQ(common.LanguageType(), 1);
        EXPECT_EQ(context.LanguageBase, 2000);
        EXPECT_EQ(context.text(469), "No communication with coupler!");
        EXPECT_EQ(stored("SOFTWARE\\Harvenor\\Varnak\\Common"), "1 ");
        common.setLanguageType(0);
        // A switch while running is stored only when the object is released.
        EXPECT_EQ(stored("SOFTWARE\\Harvenor\\Varnak\\Common"), "1 ");
    }
    EXPECT_EQ(stored("SOFTWARE\\Harvenor\\Varnak\\Common"), "0 ");
}

TEST_F(Language, HandEditedValuesFallBackToGerman) {
    for (const char* text : {"2", "-1", "abc", "17", "0.4"}) {
        ASSERT_TRUE(store.writeValue("SOFTWARE\\Harvenor\\Varnak", "Language", text));
        clsCommon common(context, "other");
        EXPECT_EQ(common.LanguageType(), 0) << text;
        EXPECT_EQ(context.LanguageBase, 0) << text;
    }
    for (const char* text : {" 1", "1 ", "1.4", "0.6", "1abc"}) {
        ASSERT_TRUE(store.writeValue("SOFTWARE\\Harvenor\\Varnak", "Language", text));
        clsCommon common(context, "other");
        EXPECT_EQ(common.LanguageType(), 1) << text;
    }
}

TEST_F(Language, EverySetRaisesTheEventEvenWhenUnchanged) {
    clsCommon common(context, "Varnak");
    std::vector<int> seen;
    common.LanguageChanged.connect([&](int32_t& v) { seen.push_back(v); });
    common.setLanguageType(0);
    common.setLanguageType(1);
    common.setLanguageType(1);
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 1}));
    EXPECT_EQ(context.LanguageBase, 2000);
}

TEST_F(Language, ARefusedWriteKeepsTheLanguageInUse) {
    RefusingStore refusing(dir / "ro.ini");
    ASSERT_TRUE(
        refusing.RegistryStore::writeValue("SOFTWARE\\Harvenor\\Varnak\\Common", "Language", "1"));
    context.registry = &refusing;
    clsCommon common(context, "Varnak");
    EXPECT_EQ(refusing.refusedWrites, 1);
    EXPECT_EQ(refusing.created, std::vector<std::string>{"0 "});
    EXPECT_EQ(common.LanguageType(), 1);
    EXPECT_EQ(context.LanguageBase, 2000);
}

TEST(LeadingNumber, ReadsLikeTheRegistryValuesWereRead) {
    EXPECT_EQ(varnak::leadingNumber("1 "), 1);
    EXPECT_EQ(varnak::leadingNumber("  12abc"), 12);
    EXPECT_EQ(varnak::leadingNumber("2.5"), 2);
    EXPECT_EQ(varnak::leadingNumber("3.5"), 4);
    EXPECT_EQ(varnak::leadingNumber("-1"), -1);
    EXPECT_EQ(varnak::leadingNumber(""), 0);
    EXPECT_EQ(varnak::leadingNumber("x1"), 0);
}
