// Reports leaving the program: the RTF writer, the saved RTF read back by a real RTF
// reader, the preview's save rules, printing to a PDF file, and the report selection.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocument>
#include <QTextOption>
#include <algorithm>
#include <array>
#include <cmath>
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

// A printed word and where it starts on its page, in points.
struct PdfWord {
    double x = 0;
    double y = 0;
    std::string text;
};

// The words pdftotext finds, each with the corner of its box.
std::vector<PdfWord> pdfWords(const std::filesystem::path& pdf) {
    const std::string html = run("pdftotext -bbox '" + pdf.string() + "' -");
    const auto number = [&](size_t from, const std::string& name) {
        const size_t at = html.find(name + "=\"", from);
        return at == std::string::npos ? 0.0 : std::stod(html.substr(at + name.size() + 2));
    };
    std::vector<PdfWord> out;
    for (size_t at = html.find("<word "); at != std::string::npos;
         at = html.find("<word ", at + 1)) {
        const size_t text = html.find('>', at) + 1;
        out.push_back({number(at, "xMin"), number(at, "yMin"),
                       html.substr(text, html.find("</word>", text) - text)});
    }
    return out;
}

int pdfPages(const std::filesystem::path& pdf) {
    const std::string info = run("pdfinfo '" + pdf.string() + "'");
    const size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

// Width and height of a page in points.
std::pair<double, double> pdfPageSize(const std::filesystem::path& pdf, int page) {
    const std::string n = std::to_string(page);
    const std::string info = run("pdfinfo -f " + n + " -l " + n + " '" + pdf.string() + "'");
    const size_t at = info.find("size:");
    double w = 0, h = 0;
    if (at != std::string::npos) std::sscanf(info.c_str() + at, "size: %lf x %lf", &w, &h);
    return {w, h};
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
        "New;}}\r\n";
    ASSERT_EQ(rtf.substr(0, head.size()), head);
    const std::string body = "\\pard\\tx960\\f0\\fs20 ";
    ASSERT_NE(rtf.find(body), std::string::npos) << rtf;
    EXPECT_EQ(rtf.substr(rtf.find(body) + body.size()),
              "a\\\\b\\{c\\}\\tab d\\par\r\ne\\par\r\nf\\par\r\ng \\'c4\\'fc\\'df \\'80 \\u937? "
              "\\u-10179?\\u-8704? \\'ff\\'01}\r\n");
    for (char c : rtf) EXPECT_LT(static_cast<unsigned char>(c), 0x80);
}

// A word processor lines the columns up as the preview does: the tab stops of the report's
// columns in twips of a 0.6 em character, 2 cm margins, and a size at which the widest line
// fits the narrower of A4 and Letter; tabs that end a line are not written.
TEST(RtfWriter, CarriesTheColumnsTabStopsAndASizeTheWidestLineFits) {
    struct Case {
        std::string text;
        std::string layout;
        std::string body;
    };
    const std::string margins = "\\margl1134\\margr1134\\margt1134\\margb1134";
    const std::string wide(100, 'w');  // 9638 twips / (100 * 12 twips a point) = 8.03 points
    const Case cases[] = {
        {"Pos: \t0\tQT1002-0000\tdescription\r\nStation: \t12\t\t\r\n",
         margins + "\\deftab240\r\n\\pard\\tx1320\\tx1800\\tx3360\\f0\\fs20 ",
         "Pos: \\tab 0\\tab QT1002-0000\\tab description\\par\r\nStation: \\tab 12\\par\r\n"},
        {wide + "\r\nx\ty", margins + "\\deftab192\r\n\\pard\\tx288\\f0\\fs16 ",
         wide + "\\par\r\nx\\tab y"},
        {"\t\t\r\n\t", margins + "\\deftab240\r\n\\pard\\tx240\\tx480\\f0\\fs20 ", "\\par\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string rtf = fTextToRtf(c.text);
        const size_t start = rtf.find("}}\r\n") + 4;
        EXPECT_EQ(rtf.substr(start), c.layout + c.body + "}\r\n");
    }
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
    EXPECT_EQ(pdfPages(out / "one.pdf"), 1);  // the report only, no empty page before it

    reportPrinter().printer().setCopyCount(2);
    printToPdf(out / "two.pdf");
    preview(kDestinationPrinter, kReportRailConfiguration, reportPath(kReportRailConfiguration));
    // One job; the copies are the printer's job setting (a PDF file keeps one copy).
    EXPECT_EQ(pdfPages(out / "two.pdf"), 1);
    EXPECT_EQ(reportPrinter().printer().copyCount(), 2);
}

// The printer's columns are measured in its own font: every cell of a column starts where
// the others do, and a line too wide for the page at the report size is set smaller, not
// broken.
TEST_F(ReportOutput, ThePrintedReportStandsInItsColumnsAndNoLineBreaks) {
    buildRail(0);
    const std::string comment =
        "Halle 2, Schaltschrank 4, Feld 7: Betriebsart wählbar, "
        "Rückmeldungen über den Hauptverteiler, Stand Juli";
    rail()->setUserInfoDescription(comment);
    reportPrinter().setHasDeviceContext(true);
    printToPdf(out / "delta.pdf");
    preview(kDestinationPrinter, kReportChangedRegisters, reportPath(kReportChangedRegisters));
    ASSERT_TRUE(ui.messages.empty());
    const std::vector<PdfWord> printed = pdfWords(out / "delta.pdf");
    ASSERT_FALSE(printed.empty());
    const auto starting = [&](const std::string& prefix) {
        std::vector<PdfWord> found;
        for (const PdfWord& w : printed)
            if (w.text.rfind(prefix, 0) == 0) found.push_back(w);
        return found;
    };
    const auto oneColumn = [&](std::vector<std::string> prefixes) {
        std::vector<PdfWord> cells;
        for (const std::string& prefix : prefixes)
            for (const PdfWord& w : starting(prefix)) cells.push_back(w);
        ASSERT_GT(cells.size(), 1u) << prefixes[0];
        for (const PdfWord& w : cells) EXPECT_NEAR(w.x, cells[0].x, 0.5) << w.text;
    };
    // The type names: third on the position lines (the descriptions name them too).
    std::vector<PdfWord> types = starting("Table:");
    for (const PdfWord& pos : starting("Pos:")) {
        std::vector<PdfWord> line;
        for (const PdfWord& w : printed)
            if (std::abs(w.y - pos.y) < 0.5) line.push_back(w);
        std::sort(line.begin(), line.end(), [](auto& a, auto& b) { return a.x < b.x; });
        ASSERT_GT(line.size(), 2u);
        types.push_back(line[2]);
    }
    for (const PdfWord& w : starting("Channel:")) types.push_back(w);
    ASSERT_GT(types.size(), 8u);
    for (const PdfWord& w : types) EXPECT_NEAR(w.x, types[0].x, 0.5) << w.text;
    oneColumn({"Offset:", "Default"});
    oneColumn({"0x"});
    oneColumn({"[0x"});
    // Each default value on its register's line, the comment on one line.
    for (const PdfWord& value : starting("[0x")) {
        bool onItsLine = false;
        for (const PdfWord& offset : starting("Offset:"))
            onItsLine = onItsLine || std::abs(offset.y - value.y) < 0.5;
        EXPECT_TRUE(onItsLine) << value.y;
    }
    const std::vector<PdfWord> first = starting("Halle"), last = starting("Juli");
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(last.size(), 1u);
    EXPECT_NEAR(first[0].y, last[0].y, 0.5);
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

// The programmed-mapping dialog as the report selection sees it.
class MappingDialog : public DialogOpeners {
  public:
    bool frmConfigProg_fKonstruktor(bool& show) override {
        calls.push_back(show ? "load and show" : "load");
        return loads;
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
    bool loads = true;  // false: the mapping is refused (the dialog said why)
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
    MappingDialog mapping;
    DialogOpenersScope scope(mapping);
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

    // A mapping the dialog refuses has no report: the earlier one stays as it was.
    mapping.calls.clear();
    mapping.loads = false;
    printToPdf(out / "refused.pdf");
    select(dialog, {1});
    dialog.cmdOk_Click();
    EXPECT_EQ(mapping.calls, (std::vector<std::string>{"load", "unload"}));
    EXPECT_EQ(readFile(reportPath(kReportMapping)), saved);
    EXPECT_FALSE(std::filesystem::exists(out / "refused.pdf"));
}

// Printed to a file, everything one OK prints goes into that one file, each report on
// pages of its own and the rail picture on a landscape page; a preview's Print does the
// same within the OK that opened it.
TEST_F(ReportSelection, EverythingOneOkPrintsGoesIntoOneFile) {
    buildRail(0);
    reportPrinter().setDialogRunner([](QPrinter&, bool) { return true; });
    MappingDialog mapping;
    DialogOpenersScope scope(mapping);
    const char* titles[] = {"Koppler-Adreßbelegung", "Prozeßkonfiguration", "Stückliste",
                            "Geänderte Koppler/Klemmen-Register"};
    printToPdf(out / "all.pdf");
    {
        frmPrint dialog(context());
        dialog.ssradDestination[1]->click();
        select(dialog, {1, 4, 5, 6, 7});
        dialog.cmdOk_Click();
    }
    EXPECT_TRUE(ui.messages.empty());
    const std::string printed = run("pdftotext '" + (out / "all.pdf").string() + "' -");
    size_t before = 0;
    for (const char* title : titles) {
        const size_t at = printed.find(title, before);
        EXPECT_NE(at, std::string::npos) << title << "\n---\n" << printed;
        before = at == std::string::npos ? before : at;
    }
    const int pages = pdfPages(out / "all.pdf");
    ASSERT_GE(pages, 5);
    EXPECT_LT(pdfPageSize(out / "all.pdf", 1).first, pdfPageSize(out / "all.pdf", 1).second);
    EXPECT_GT(pdfPageSize(out / "all.pdf", pages).first,
              pdfPageSize(out / "all.pdf", pages).second);
    EXPECT_EQ(reportPrinter().printer().pageLayout().orientation(), QPageLayout::Portrait);

    printToPdf(out / "previews.pdf");
    frmPrint dialog(context());
    dialog.setReportRunner([&](int32_t destination, int32_t row, const std::string& path) {
        frmPreView preview(context());
        preview.setShowModal([](frmPreView& shown) { shown.cmdPrint_Click(); });
        preview.fConstructor(destination, row, path);
    });
    select(dialog, {4, 5});
    dialog.cmdOk_Click();
    const std::string both = run("pdftotext '" + (out / "previews.pdf").string() + "' -");
    EXPECT_NE(both.find(titles[1]), std::string::npos) << both;
    EXPECT_NE(both.find(titles[2]), std::string::npos) << both;
}

// A print that failed for want of a printer leaves the printer to be set up again: the
// print properties take a PDF file and the next print goes there.
TEST_F(ReportSelection, AFailedPrintLeavesThePrinterSettingsUsable) {
    buildRail(0);
    {
        frmPrint dialog(context());
        select(dialog, {kReportRailPicture});
        dialog.cmdOk_Click();
    }
    ASSERT_EQ(ui.messages.size(), 2u);  // no printer chosen; the picture not printed
    EXPECT_EQ(ui.messages[1].text, context().text(kTxtPrintProblems));

    const std::string file = (out / "chosen.pdf").string();
    reportPrinter().setDialogRunner([&](QPrinter& printer, bool setup) {
        EXPECT_TRUE(setup);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(file));
        return true;
    });
    fShowPrinterSetup(nullptr);
    EXPECT_EQ(reportPrinter().deviceName().toStdString(), file);
    ui.messages.clear();
    frmPrint dialog(context());
    EXPECT_TRUE(ui.messages.empty());
    ASSERT_TRUE(dialog.ssradDestination[1]->isEnabled());
    dialog.ssradDestination[1]->click();
    reportPrinter().setDialogRunner([](QPrinter&, bool) { return true; });
    select(dialog, {kReportRailConfiguration});
    dialog.cmdOk_Click();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_NE(run("pdftotext '" + file + "' -").find("Prozeßkonfiguration"), std::string::npos);
}

// Whatever else leaves the platform's printer busy (a start that failed half-way), the next
// print puts a printer with the same settings in its place.
TEST_F(ReportOutput, APrinterLeftBusyIsReplacedWithItsSettings) {
    reportPrinter().printer().setCopyCount(3);
    reportPrinter().printer().setPageOrientation(QPageLayout::Landscape);
    QPainter failed;
    ASSERT_FALSE(failed.begin(&reportPrinter().printer()));
    ASSERT_EQ(reportPrinter().printer().printerState(), QPrinter::Active);
    EXPECT_FALSE(reportPrinter().printReport("x"));
    EXPECT_NE(reportPrinter().printer().printerState(), QPrinter::Active);
    EXPECT_EQ(reportPrinter().printer().copyCount(), 3);
    EXPECT_EQ(reportPrinter().printer().pageLayout().orientation(), QPageLayout::Landscape);
    printToPdf(out / "after.pdf");
    EXPECT_EQ(reportPrinter().deviceName().toStdString(), (out / "after.pdf").string());
    EXPECT_TRUE(reportPrinter().printReport("x"));
    EXPECT_TRUE(std::filesystem::exists(out / "after.pdf"));
}

TEST_F(ReportSelection, TheRailPicturePrintsInLandscape) {
    buildRail(0);
    printToPdf(out / "picture.pdf");
    frmPrint dialog(context());
    select(dialog, {7});
    dialog.cmdOk_Click();
    const auto [w, h] = pdfPageSize(out / "picture.pdf", 1);
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
