#include "comctl/gsd_generator.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "comctl/gsd_text_io.h"
#include "platform/paths.h"
#include "tests/comctl/gsd_fake_device.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace varnak::gsd {
namespace {

using test::GsdFakeDevice;
using test::readFile;
using test::TempDir;
using test::writeFile;

fs::path resourceDir() {
    return fs::path(std::getenv("VARNAK_RESOURCE_DIR"));
}
fs::path goldenDir() {
    return fs::path(std::getenv("VARNAK_SOURCE_DIR")) / "tests" / "comctl" / "gsd_golden";
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// Files of a folder by name, the temporary folder's path in them written as "<DIR>".
std::vector<std::pair<std::string, std::string>> filesOf(const fs::path& folder,
                                                         const std::string& tempPath) {
    std::vector<std::pair<std::string, std::string>> files;
    for (const std::string& name : platform::listMatching(folder, "*")) {
        if (name == ".gitattributes") continue;
        files.emplace_back(name, replaceAll(readFile(folder / name), tempPath, "<DIR>"));
    }
    return files;
}

class GsdGeneratorTest : public ::testing::Test {
  protected:
    int32_t generate(const std::string& target, const fs::path& resources = resourceDir()) {
        GsdOptions options{dir_ / "out" / "GSD.LOG", test::gsdTestTime};
        fs::create_directories(dir_ / "out");
        return createGsdFiles(device_, target, resources.string(), options);
    }
    int32_t generate() { return generate((dir_ / "out" / "plant.GSD").string()); }

    std::string logText() { return readFile(dir_ / "out" / "GSD.LOG"); }
    std::vector<std::string> outputNames() { return platform::listMatching(dir_ / "out", "*"); }

    // Compares every file the generation wrote with the golden case; VARNAK_UPDATE_GOLDEN=1
    // writes the case instead (review the difference before committing it).
    void expectGolden(const std::string& caseName) {
        std::string tempPath = dir_.str();
        fs::path golden = goldenDir() / caseName;
        auto actual = filesOf(dir_ / "out", tempPath);
        if (const char* update = std::getenv("VARNAK_UPDATE_GOLDEN"); update && *update == '1') {
            fs::remove_all(golden);
            for (const auto& [name, bytes] : actual) writeFile(golden / name, bytes);
        }
        auto expected = filesOf(golden, tempPath);
        ASSERT_EQ(actual.size(), expected.size()) << caseName;
        for (size_t i = 0; i < actual.size(); ++i) {
            EXPECT_EQ(actual[i].first, expected[i].first) << caseName;
            EXPECT_EQ(actual[i].second, expected[i].second) << caseName << "/" << actual[i].first;
        }
    }

    // A copy of the bundled template data whose files may be changed.
    fs::path copyResources() {
        fs::path copy = dir_ / "res";
        fs::create_directories(copy / "gsddata");
        for (const std::string& name : platform::listMatching(resourceDir() / "gsddata", "*")) {
            if (name.starts_with(".")) continue;
            fs::copy_file(resourceDir() / "gsddata" / name, copy / "gsddata" / name);
        }
        return copy;
    }

    TempDir dir_;
    GsdFakeDevice device_;
};

TEST_F(GsdGeneratorTest, MixedStationOnAHighEndCoupler) {
    device_.coupler(3100, 0x1234);
    device_.set(0, 0, 3, 0x0004);
    device_.addTerminal(0x8401);  // 4 inputs
    device_.addTerminal(0x8802);  // 8 outputs
    device_.addTerminal(0x8403);  // 4 inputs and 4 outputs
    device_.addTerminal(3002);
    device_.addTerminal(3064);
    device_.addTerminal(4002);
    device_.addTerminal(1501);
    int encoder = device_.addTerminal(5001);
    int serial = device_.addTerminal(6001);
    int serialStandard = device_.addTerminal(6011);
    device_.addTerminal(7001);  // no definition
    device_.addTerminal(0xFFFF);
    device_.set(encoder, 0, 32, 0x0002);
    device_.set(serial, 0, 35, 5);
    device_.set(serialStandard, 0, 34, 0x0002);
    EXPECT_EQ(generate(), 0);
    expectGolden("qz3100_mixed");
}

TEST_F(GsdGeneratorTest, SixtyFourDigitalTerminalsOnAFibreCoupler) {
    device_.coupler(3500, 0x0A00);
    for (int i = 0; i < 32; ++i) {
        device_.addTerminal(0x8801);  // 8 inputs
        device_.addTerminal(0x8402);  // 4 outputs
    }
    EXPECT_EQ(generate(), 0);
    expectGolden("qz3500_64_digital");
}

TEST_F(GsdGeneratorTest, EconomyCouplerWithTwoHundredInputBits) {
    device_.coupler(3010, 0x0300);
    for (int i = 0; i < 25; ++i) device_.addTerminal(0x8801);
    device_.addTerminal(0x8C02);  // 12 outputs
    EXPECT_EQ(generate(), 0);
    expectGolden("qz3010_200_inputs");
}

TEST_F(GsdGeneratorTest, CouplerWithoutTerminals) {
    device_.coupler(3000, 0xFF00);
    EXPECT_EQ(generate(), 0);
    expectGolden("qz3000_empty");
}

TEST_F(GsdGeneratorTest, OneFilePerLanguageFileInNameOrder) {
    device_.coupler(3000);
    EXPECT_EQ(generate(), 0);
    EXPECT_EQ(outputNames(), (std::vector<std::string>{"GSD.LOG", "plant.gse", "plant.gsg"}));
    std::string log = logText();
    EXPECT_LT(log.find("plant.gsg\""), log.find("plant.gse\""));
}

TEST_F(GsdGeneratorTest, OnlyTheLastExtensionOfTheTargetIsReplaced) {
    device_.coupler(3000);
    EXPECT_EQ(generate((dir_ / "out" / "plant.v2.GSD").string()), 0);
    EXPECT_EQ(outputNames(), (std::vector<std::string>{"GSD.LOG", "plant.v2.gse", "plant.v2.gsg"}));
    EXPECT_NE(logText().find("Dateiname: 'plant.v2'"), std::string::npos);
}

TEST_F(GsdGeneratorTest, EmptyTargetNameIsAnErrorAfterTheCouplerWasRead) {
    device_.coupler(3000);
    device_.fail(0, 0, 255);
    for (const std::string& target :
         {std::string(), (dir_ / "out").string() + "/", (dir_ / "out" / ".GSD").string()}) {
        EXPECT_EQ(generate(target), -1) << target;
        EXPECT_EQ(logText(),
                  "[WARN]Software-Version des Buskopplers konnte nicht ausgelesen werden.\r\n"
                  "[ERROR]Kein Dateiname zum generieren angegeben.\r\n"
                  "[ERROR]1 Fehler, 1 Warnung(en)\r\n\r\n")
            << target;
        EXPECT_EQ(outputNames(), std::vector<std::string>{"GSD.LOG"});
    }
}

TEST_F(GsdGeneratorTest, WithoutLanguageFilesOneFileWithoutExtension) {
    fs::path resources = copyResources();
    fs::remove(resources / "gsddata" / "GSD_de.lang");
    fs::remove(resources / "gsddata" / "GSD_en.lang");
    device_.coupler(3000);
    EXPECT_EQ(generate((dir_ / "out" / "plant.GSD").string(), resources), -0);
    EXPECT_EQ(outputNames(), (std::vector<std::string>{"GSD.LOG", "plant"}));
    std::string log = logText();
    EXPECT_NE(log.find("[WARN]Unbekannter Variablen-Bezeichner 'model'\r\n"), std::string::npos);
    EXPECT_NE(log.find("[WARN]Unbekannter Variablen-Bezeichner '1'\r\n"), std::string::npos);
}

TEST_F(GsdGeneratorTest, ManyLanguageFilesAreAllUsed) {
    fs::path resources = copyResources();
    for (int i = 0; i < 12; ++i) {
        writeFile(resources / "gsddata" / ("extra" + std::to_string(10 + i) + ".lang"),
                  "GSD_EXT = \".x" + std::to_string(10 + i) + "\"\r\n");
    }
    device_.coupler(3000);
    EXPECT_EQ(generate((dir_ / "out" / "plant.GSD").string(), resources), 0);
    EXPECT_EQ(outputNames().size(), 15u);
}

TEST_F(GsdGeneratorTest, CrLfAndLfInputsGiveTheSameFiles) {
    fs::path crlf = copyResources();
    fs::path lf = dir_ / "lf";
    fs::create_directories(lf / "gsddata");
    for (const std::string& name : platform::listMatching(crlf / "gsddata", "*")) {
        std::string bytes = readFile(crlf / "gsddata" / name);
        ASSERT_NE(bytes.find("\r\n"), std::string::npos) << name;
        writeFile(lf / "gsddata" / name, replaceAll(bytes, "\r\n", "\n"));
    }
    device_.coupler(3100);
    device_.addTerminal(0x8401);
    device_.addTerminal(3002);
    ASSERT_EQ(generate((dir_ / "out" / "a.GSD").string(), crlf), 0);
    ASSERT_EQ(generate((dir_ / "out" / "b.GSD").string(), lf), 0);
    EXPECT_EQ(readFile(dir_ / "out" / "a.gsg"), readFile(dir_ / "out" / "b.gsg"));
    EXPECT_EQ(readFile(dir_ / "out" / "a.gse"), readFile(dir_ / "out" / "b.gse"));
}

TEST_F(GsdGeneratorTest, MissingTemplateEndsTheGeneration) {
    fs::path resources = copyResources();
    fs::remove(resources / "gsddata" / "GSDMother.gsd");
    device_.coupler(3000);
    EXPECT_EQ(generate((dir_ / "out" / "plant.GSD").string(), resources), -1);
    EXPECT_EQ(outputNames(), std::vector<std::string>{"GSD.LOG"});
    std::string log = replaceAll(logText(), dir_.str(), "<DIR>");
    EXPECT_EQ(log.substr(0, log.find("\r\n") + 2),
              "[ERROR]Cannot open file \"<DIR>/res/gsddata/GSDMother.gsd\".\r\n");
    EXPECT_NE(log.find("Best.-Nr.:'QZ3000'"), std::string::npos);
    EXPECT_NE(log.find("[ERROR]1 Fehler, 0 Warnung(en)\r\n\r\n"), std::string::npos);
}

TEST_F(GsdGeneratorTest, OutputThatCannotBeCreatedEndsTheGeneration) {
    device_.coupler(3000);
    fs::path target = dir_ / "missing-folder" / "plant.GSD";
    EXPECT_EQ(generate(target.string()), -1);
    std::string log = replaceAll(logText(), dir_.str(), "<DIR>");
    EXPECT_EQ(log.substr(0, log.find("\r\n") + 2),
              "[ERROR]Can't open file \"<DIR>/missing-folder/plant.gsg\".\r\n");
    EXPECT_EQ(log.find("plant.gse"), std::string::npos);
}

TEST_F(GsdGeneratorTest, OutputThatCannotBeWrittenFailsTheRequest) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    fs::path resources = copyResources();
    fs::remove(resources / "gsddata" / "GSD_de.lang");
    fs::remove(resources / "gsddata" / "GSD_en.lang");
    device_.coupler(3000);
    EXPECT_EQ(generate("/dev/full.GSD", resources), -1);
    EXPECT_NE(logText().find("[ERROR]Can't open file \"/dev/full\".\r\n"), std::string::npos);
}

TEST_F(GsdGeneratorTest, TemplateFolderIsFoundWhateverItsSpelling) {
    fs::path resources = copyResources();
    fs::rename(resources / "gsddata", resources / "GSDDATA");
    fs::rename(resources / "GSDDATA" / "GSDMother.gsd", resources / "GSDDATA" / "gsdmother.GSD");
    device_.coupler(3000);
    EXPECT_EQ(generate((dir_ / "out" / "plant.GSD").string(), resources), 0);
    EXPECT_EQ(outputNames().size(), 3u);
}

}  // namespace
}  // namespace varnak::gsd
