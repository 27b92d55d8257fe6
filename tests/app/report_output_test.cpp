// Reports leaving the program: the RTF writer, the saved RTF read back by a real RTF
// reader, the preview's save rules, printing to a PDF file, and the report selection.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocument>
#include <QTextOption>
#include <array>
#include <cstdio>
#include <sstream>

#include "app/frmPreView.h"
#include "app/frmPrint.h"
#include "app/online_texts.h"
#include "app/report_printer.h"
#include "app/report_text.h"
#include "app/rtf_writer.h"
#include "tests/app/report_fixture.h"
#include "tests/support/qt/qt_app.h"

namespace varnak::test {
namespace {

// Output of a command line (stderr dropped).
std::string run(const std::string& command) {
    std::string out;
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) return out;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), n);
    pclose(pipe);
    return out;
}

std::string latin1ToUtf8(const std::string& in) {
    std::string out;
    for (unsigned char c : in) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// The words of a text in order; readers lay tabs and lines out their own way.
std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

TEST(RtfWriter, EscapesAndEncodesEveryCharacter) {
    const std::string rtf = fTextToRtf(
        "a\\b{c}\td\r\ne\nf\rg \xC3\x84\xC3\xBC\xC3\x9F \xE2\x82\xAC \xCE\xA9 \xF0\x9F\x98\x80 "
        "\xFF\x01");
    const std::string head =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fmodern\\fcharset0 Courier "
        "New;}}\r\n\\pard\\f0\\fs20 ";
    ASSERT_EQ(rtf.substr(0, head.size()), head);
    EXPECT_EQ(rtf.substr(head.size()),
              "a\\\\b\\{c\\}\\tab d\\par\r\ne\\par\r\nf\\par\r\ng \\'c4\\'fc\\'df \\'80 \\u937? "
              "\\u-10179?\\u-8704? \\'ff\\'01}\r\n");
    for (char c : rtf) EXPECT_LT(static_cast<unsigned char>(c), 0x80);
}

TEST(RtfWriter, SavesWholeOrReportsWhy) {
    TempDir dir;
    const std::string file = (dir / "r.rtf").string();
    EXPECT_EQ(fSaveTextAsRtf(file, "first"), "");
    EXPECT_EQ(fSaveTextAsRtf(file, "second"), "");
    EXPECT_EQ(readFile(file), fTextToRtf("second"));
    EXPECT_NE(fSaveTextAsRtf((dir / "missing" / "r.rtf").string(), "x"), "");
}

class ReportOutput : public ::testing::Test, public ReportFixture {
  protected:
    ReportOutput() {
        ensureQtApp();
        resetPrinter();
    }
    ~ReportOutput() override { resetPrinter(); }
    static void resetPrinter() {
        ReportPrinter& p = reportPrinter();
        p.setHasDeviceContext(false);
        p.setDialogRunner({});
        // No printer at all, whatever printers the machine has.
        p.printer().setOutputFormat(QPrinter::NativeFormat);
        p.printer().setPrinterName(QString());
        p.printer().setOutputFileName(QString());
        p.printer().setCopyCount(1);
        p.printer().setPageOrientation(QPageLayout::Portrait);
    }
    void printToPdf(const std::filesystem::path& file) {
        reportPrinter().printer().setOutputFormat(QPrinter::PdfFormat);
        reportPrinter().printer().setOutputFileName(QString::fromStdString(file.string()));
    }
    std::string reportPath(int32_t row) {
        return (projectFolder("Plant") / reportFileName(row)).string();
    }
    // Runs a preview of a row; shown tells whether the window was shown.
    std::string preview(int32_t destination, int32_t row, const std::string& path,
                        bool* shown = nullptr) {
        frmPreView form(context());
        form.setDateTimeText("09.12.2026 06:00");
        form.setShowModal([&](frmPreView& f) {
            if (shown) *shown = true;
            footer = f.lblFileName->text().toStdString();
            EXPECT_TRUE(f.rtfView->isReadOnly());
        });
        form.fConstructor(destination, row, path);
        return form.reportText();
    }
    TempDir out;
    std::string footer;  // the shown preview's file line
};

TEST_F(ReportOutput, TheSavedReportReadsBackThroughAnRtfReader) {
    buildRail(0);
    bool shown = false;
    const std::string text = preview(kDestinationWindow, kReportChangedRegisters,
                                     reportPath(kReportChangedRegisters), &shown);
    EXPECT_TRUE(shown);
    EXPECT_EQ(footer, "File: " + reportPath(kReportChangedRegisters));
    EXPECT_TRUE(ui.messages.empty());
    const std::string saved = readFile(reportPath(kReportChangedRegisters));
    EXPECT_EQ(saved, fTextToRtf(text));
    std::string read =
        latin1ToUtf8(run("unrtf --text '" + reportPath(kReportChangedRegisters) + "'"));
    const std::string bodyMark = "-----------------\n";
    ASSERT_NE(read.find(bodyMark), std::string::npos) << read;
    read = read.substr(read.find(bodyMark) + bodyMark.size());
    EXPECT_EQ(words(read), words(text));
    EXPECT_NE(read.find("Geänderte Koppler/Klemmen-Register"), std::string::npos);
}

TEST_F(ReportOutput, ThePreviewSetsItsTabStopsAtTheReportsColumns) {
    buildRail(1);
    frmPreView form(context());
    std::vector<double> stops;
    double digit = 0;
    form.setShowModal([&](frmPreView& f) {
        digit = QFontMetricsF(f.rtfView->font()).horizontalAdvance(QLatin1Char('0'));
        for (const QTextOption::Tab& tab : f.rtfView->document()->defaultTextOption().tabs())
            stops.push_back(tab.position);
    });
    form.fConstructor(kDestinationWindow, kReportRailConfiguration,
                      reportPath(kReportRailConfiguration));
    // "Station: " is the widest first cell, a position number the second, a terminal's
    // name the third; the descriptions end their lines.
    ASSERT_GT(digit, 0);
    EXPECT_EQ(stops, (std::vector<double>{11 * digit, 14 * digit, 27 * digit}));
}

TEST_F(ReportOutput, NoActiveRailNoReportAndNoFile) {
    ASSERT_EQ(newProject("Plant"), kStoreOk);
    bool shown = false;
    EXPECT_EQ(preview(kDestinationWindow, kReportRailConfiguration,
                      reportPath(kReportRailConfiguration), &shown),
              "");
    EXPECT_FALSE(shown);
    EXPECT_FALSE(std::filesystem::exists(reportPath(kReportRailConfiguration)));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ReportOutput, WithoutAProjectTheReportIsShownButNotSaved) {
    // Online there is always a rail, also without a project.
    ASSERT_EQ(project->setOnline(true), kStoreOk);
    const std::string path = (project->FullPathProject() + "/TermByPos.rtf");
    bool shown = false;
    EXPECT_NE(preview(kDestinationWindow, kReportRailConfiguration, path, &shown), "");
    EXPECT_TRUE(shown);
    EXPECT_FALSE(std::filesystem::exists(path));
    const std::string notSaved =
        "Es ist kein Projekt geöffnet: der Bericht wird angezeigt, aber nicht gespeichert.";
    EXPECT_EQ(footer, notSaved);  // no file is named that is never written
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, notSaved);

    // The report selection hands out no path beside the program either.
    frmPrint selection(context());
    std::vector<std::string> paths;
    selection.setReportRunner([&](int32_t, int32_t, const std::string& p) { paths.push_back(p); });
    selection.lstPrint->item(kReportRailConfiguration)->setSelected(true);
    selection.cmdOk_Click();
    EXPECT_EQ(paths, std::vector<std::string>{""});
}

TEST_F(ReportOutput, AFailedSaveIsReported) {
    buildRail(1);
    const std::string path = (projectFolder("Plant") / "gone" / "TermByPos.rtf").string();
    preview(kDestinationWindow, kReportRailConfiguration, path);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text.rfind("The report could not be saved: " + path, 0), 0u)
        << ui.messages[0].text;
    EXPECT_EQ(ui.messages[0].style, vbCritical);
}

TEST_F(ReportOutput, PrintingWithoutAPrintDialogSaysSoAndPrintsNothing) {
    buildRail(0);
    printToPdf(out / "never.pdf");
    preview(kDestinationPrinter, kReportPieceList, reportPath(kReportPieceList));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Druckprobleme auf diesem Rechner: die Berichte liegen als RTF-Dateien im "
              "Projektordner und lassen sich mit einer Textverarbeitung öffnen und drucken, oder "
              "wählen Sie unter Projekt > \"Druck Eigenschaften...\" eine PDF-Datei als Drucker.");
    EXPECT_EQ(ui.messages[0].style, vbOKOnly);
    EXPECT_FALSE(std::filesystem::exists(out / "never.pdf"));
    EXPECT_TRUE(std::filesystem::exists(reportPath(kReportPieceList)));  // saved all the same
}

TEST_F(ReportOutput, APrinterThatCannotPrintSaysSo) {
    buildRail(1);
    // A print dialog answered once, but its file cannot be written.
    reportPrinter().setHasDeviceContext(true);
    printToPdf(out / "gone" / "r.pdf");
    preview(kDestinationPrinter, kReportPieceList, reportPath(kReportPieceList));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Print problems on this machine: the reports are kept as RTF files in the project "
              "folder, where a word processor opens and prints them, or choose a PDF file as the "
              "printer in Project > \"Print Properties...\".");
    EXPECT_TRUE(std::filesystem::exists(reportPath(kReportPieceList)));
}

TEST_F(ReportOutput, PrintedReportHoldsItsLinesAndCopiesComeFromTheCopyCount) {
    buildRail(1);
    reportPrinter().setHasDeviceContext(true);
    printToPdf(out / "one.pdf");
    const std::string text = preview(kDestinationPrinter, kReportRailConfiguration,
                                     reportPath(kReportRailConfiguration));
    ASSERT_TRUE(std::filesystem::exists(out / "one.pdf"));
    const std::string printed = run("pdftotext -layout '" + (out / "one.pdf").string() + "' -");
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::string joined;
        for (const auto& w : words(line)) joined += (joined.empty() ? "" : " ") + w;
        if (joined.empty()) continue;
        // Each line's words in order on one printed line.
        bool found = false;
        std::istringstream page(printed);
        for (std::string p; std::getline(page, p) && !found;) {
            std::string pj;
            for (const auto& w : words(p)) pj += (pj.empty() ? "" : " ") + w;
            found = pj == joined;
        }
        EXPECT_TRUE(found) << joined << "\n---\n" << printed;
    }
    auto pages = [&](const std::string& pdf) {
        std::string info = run("pdfinfo '" + (out / pdf).string() + "'");
        size_t at = info.find("Pages:");
        return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
    };
    EXPECT_EQ(pages("one.pdf"), 1);  // the report only, no empty page before it

    reportPrinter().printer().setCopyCount(2);
    printToPdf(out / "two.pdf");
    preview(kDestinationPrinter, kReportRailConfiguration, reportPath(kReportRailConfiguration));
    // One job; the copies are the printer's job setting (a PDF file keeps one copy).
    EXPECT_EQ(pages("two.pdf"), 1);
    EXPECT_EQ(reportPrinter().printer().copyCount(), 2);
}

class ReportSelection : public ReportOutput {
  protected:
    struct Run {
        int32_t destination;
        int32_t row;
        std::string path;
        bool operator==(const Run&) const = default;
    };
    void watch(frmPrint& dialog) {
        dialog.setReportRunner([this](int32_t d, int32_t r, const std::string& p) {
            runs.push_back({d, r, p});
        });
        dialog.setRailPicturePrinter([this] { ++pictures; });
        QObject::connect(&dialog, &QDialog::accepted, [this] { ++closed; });
    }
    void select(frmPrint& dialog, std::initializer_list<int> rows) {
        for (int r : rows) dialog.lstPrint->item(r)->setSelected(true);
    }
    std::vector<Run> runs;
    int pictures = 0;
    int closed = 0;
};

TEST_F(ReportSelection, RowsCaptionsAndNoPrinter) {
    context().LanguageNr = 1;
    context().LanguageBase = 2000;
    frmPrint dialog(context());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "No current printer selected.");
    EXPECT_EQ(ui.messages[0].style, vbCritical);
    EXPECT_FALSE(dialog.ssradDestination[1]->isEnabled());
    EXPECT_TRUE(dialog.ssradDestination[0]->isChecked());
    EXPECT_FALSE(dialog.cmdPrintSetup->isEnabled());
    EXPECT_EQ(dialog.windowTitle(), "Print-Dialog");
    EXPECT_EQ(dialog.cmdPrintSetup->text(), "&Properties...");
    std::vector<std::string> rows;
    for (int r = 0; r < dialog.lstPrint->count(); ++r)
        rows.push_back(dialog.lstPrint->item(r)->text().toStdString());
    EXPECT_EQ(rows, (std::vector<std::string>{
                        "", "Local coupler mapping (sorted by term. position)", "", "",
                        "Configuration of rail", "Piece list", "Changed coupler/terminal register",
                        "Railstation (picture)"}));
}

TEST_F(ReportSelection, WindowRunsTheChosenRowsInOrderAndStaysOpen) {
    buildRail(0);
    printToPdf(out / "p.pdf");
    frmPrint dialog(context());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(dialog.ssradDestination[1]->isEnabled());
    EXPECT_EQ(dialog.lblSelectedPrinter->text().toStdString(), (out / "p.pdf").string());
    watch(dialog);
    select(dialog, {7, 6, 4, 0, 1, 2});
    dialog.cmdOk_Click();
    EXPECT_EQ(runs, (std::vector<Run>{
                        {0, 1, reportPath(1)}, {0, 4, reportPath(4)}, {0, 6, reportPath(6)}}));
    EXPECT_EQ(pictures, 1);  // the picture always goes to the printer
    EXPECT_EQ(closed, 0);
    EXPECT_TRUE(dialog.lstPrint->selectedItems().isEmpty());

    runs.clear();
    select(dialog, {0, 2, 3});
    dialog.cmdOk_Click();
    EXPECT_TRUE(runs.empty());
    EXPECT_EQ(closed, 0);
}

TEST_F(ReportSelection, CancelInThePrintDialogEndsTheRunAndTheDialogStays) {
    buildRail(0);
    printToPdf(out / "p.pdf");
    frmPrint dialog(context());
    watch(dialog);
    int asked = 0;
    bool answer = false;
    reportPrinter().setDialogRunner([&](QPrinter&, bool setup) {
        EXPECT_FALSE(setup);
        ++asked;
        return answer;
    });
    dialog.ssradDestination[1]->click();
    EXPECT_TRUE(dialog.cmdPrintSetup->isEnabled());
    select(dialog, {5, 7});
    dialog.cmdOk_Click();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(runs.empty());
    EXPECT_EQ(pictures, 0);
    EXPECT_EQ(closed, 0);
    EXPECT_EQ(dialog.lstPrint->selectedItems().size(), 2);
    EXPECT_FALSE(reportPrinter().hasDeviceContext());

    answer = true;
    dialog.cmdOk_Click();
    EXPECT_EQ(runs, (std::vector<Run>{{1, 5, reportPath(5)}}));
    EXPECT_EQ(pictures, 1);
    EXPECT_EQ(closed, 1);
    EXPECT_TRUE(reportPrinter().hasDeviceContext());
}

// The programmed-mapping dialog as the report selection sees it.
class MappingDialog : public DialogOpeners {
  public:
    void frmConfigProg_fKonstruktor(bool& show) override {
        calls.push_back(show ? "load and show" : "load");
    }
    ConfigProgTables frmConfigProg_Tables() override {
        calls.push_back("tables");
        ConfigProgTables t;
        t.input = {{"1", "", "", "", "QT1002-0000", "0", "0.0", "511.7", "", "", "", ""},
                   {},
                   {"2", "", "", "", "never written", "", "", "", "", "", "", ""}};
        return t;
    }
    void frmConfigProg_Unload() override { calls.push_back("unload"); }
    std::vector<std::string> calls;
};

TEST_F(ReportSelection, TheMappingReportReadsTheLoadedMappingDialog) {
    buildRail(0);
    printToPdf(out / "p.pdf");
    reportPrinter().setDialogRunner([](QPrinter&, bool) { return true; });
    MappingDialog mapping;
    DialogOpenersScope scope(mapping);
    frmPrint dialog(context());
    dialog.ssradDestination[1]->click();
    select(dialog, {1});
    dialog.cmdOk_Click();
    EXPECT_EQ(mapping.calls, (std::vector<std::string>{"load", "tables", "unload"}));
    const std::string saved = readFile(reportPath(kReportMapping));
    EXPECT_NE(saved.find("\\par\r\n1\\tab QT1002-0000\\tab 0\\tab 0.0\\tab 511.7"),
              std::string::npos)
        << saved;
    EXPECT_EQ(saved.find("never written"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(out / "p.pdf"));
}

TEST_F(ReportSelection, TheRailPicturePrintsInLandscape) {
    buildRail(0);
    printToPdf(out / "picture.pdf");
    frmPrint dialog(context());
    select(dialog, {7});
    dialog.cmdOk_Click();
    std::string info = run("pdfinfo '" + (out / "picture.pdf").string() + "'");
    size_t at = info.find("Page size:");
    ASSERT_NE(at, std::string::npos) << info;
    double w = 0, h = 0;
    ASSERT_EQ(std::sscanf(info.c_str() + at, "Page size: %lf x %lf", &w, &h), 2);
    EXPECT_GT(w, h);
    EXPECT_EQ(reportPrinter().printer().pageLayout().orientation(), QPageLayout::Portrait);
}

TEST_F(ReportSelection, ARailPictureThePrinterCannotPrintSaysSo) {
    buildRail(0);
    printToPdf(out / "gone" / "picture.pdf");
    frmPrint dialog(context());
    select(dialog, {7});
    dialog.cmdOk_Click();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, context().text(kTxtPrintProblems));
    EXPECT_TRUE(dialog.lstPrint->selectedItems().isEmpty());
}

}  // namespace
}  // namespace varnak::test
