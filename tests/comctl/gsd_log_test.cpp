#include "comctl/gsd_log.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace varnak::gsd {
namespace {

using test::readFile;
using test::TempDir;

TEST(GsdLog, MarksWarningsAndErrorsAndCountsThemInTheSummary) {
    TempDir dir;
    {
        GsdLog log;
        log.create(dir / "GSD.LOG");
        log.info("Erzeuge");
        log.warning("eins");
        log.warning("zwei");
        EXPECT_EQ(log.warnings(), 2);
        log.summary();
        EXPECT_EQ(log.warnings(), 0);
        log.error("kaputt");
        log.warning("drei");
        log.summary();
        log.summary();
    }
    EXPECT_EQ(readFile(dir / "GSD.LOG"),
              "Erzeuge\r\n[WARN]eins\r\n[WARN]zwei\r\n[WARN]0 Fehler, 2 Warnung(en)\r\n\r\n"
              "[ERROR]kaputt\r\n[WARN]drei\r\n[ERROR]1 Fehler, 1 Warnung(en)\r\n\r\n"
              "0 Fehler, 0 Warnung(en)\r\n\r\n");
}

TEST(GsdLog, ReplacesAnEarlierLogAndWritesLineBreaksInsideAMessageAsCrLf) {
    TempDir dir;
    test::writeFile(dir / "GSD.LOG", "old content that must go\r\n");
    {
        GsdLog log;
        log.create(dir / "GSD.LOG");
        log.error("erste Zeile\n\tzweite Zeile");
    }
    EXPECT_EQ(readFile(dir / "GSD.LOG"), "[ERROR]erste Zeile\r\n\tzweite Zeile\r\n");
}

TEST(GsdLog, WithoutAFileStillCounts) {
    GsdLog log;
    log.create("/nonexistent-folder/for/sure/GSD.LOG");
    log.warning("x");
    log.error("y");
    EXPECT_EQ(log.warnings(), 1);
    EXPECT_EQ(log.errors(), 1);
}

TEST(GsdLog, CouplerBlockKeepsItsPaddingForEveryPropertyText) {
    TempDir dir;
    CGSDDatei coupler;
    coupler.name = "QZ3100";
    coupler.targetBaseName = "plant.v2";
    coupler.created.tm_year = 126;
    coupler.created.tm_mon = 2;
    coupler.created.tm_mday = 4;
    coupler.softwareRelease = "1A";
    coupler.hardwareRelease = "00";
    coupler.group = kGroupHighEnd;
    coupler.asic = kAsicSpc4;
    coupler.baudRate = kBaud12M;
    coupler.interfaceKind = kInterfaceRs485;
    CGSDDatei other = coupler;
    other.group = kGroupConfigured;
    other.asic = kAsicDpc31;
    other.baudRate = kBaud1_5M;
    other.interfaceKind = kInterfaceFibre;
    {
        GsdLog log;
        log.create(dir / "GSD.LOG");
        log.couplerBlock(coupler);
        log.couplerBlock(other);
    }
    EXPECT_EQ(readFile(dir / "GSD.LOG"),
              "Best.-Nr.:'QZ3100'             Dateiname: 'plant.v2'\r\n"
              "Gruppe  = 'High End'           Stand: 04.03.2026\r\n"
              "ASIC    = 'SPC4'               SW-Rel. = '1A'\r\n"
              "Baud    =  12 MBaud            HW-Rel. = '00'\r\n"
              "RS/LWL  = 'RS485'\r\n"
              "\r\n"
              "Best.-Nr.:'QZ3100'             Dateiname: 'plant.v2'\r\n"
              "Gruppe  = 'Konfiguriert'       Stand: 04.03.2026\r\n"
              "ASIC    = 'DPC31'              SW-Rel. = '1A'\r\n"
              "Baud    =  1.5 MBaud           HW-Rel. = '00'\r\n"
              "RS/LWL  = 'LWL'\r\n"
              "\r\n");
}

}  // namespace
}  // namespace varnak::gsd
