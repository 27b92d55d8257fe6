// The report dialog prints the rail window as the main window shows it: one landscape page
// that shows the row.
#include <gtest/gtest.h>

#include <QImage>
#include <QListWidget>
#include <QPrinter>
#include <array>
#include <cstdio>

#include "app/frmMainVMT.h"
#include "app/frmPrint.h"
#include "app/report_printer.h"
#include "platform/paths.h"
#include "railview/frmCouplerDisplay.h"
#include "tests/support/qt/rail_fixture.h"

namespace varnak::test {
namespace {

class RailPicturePrint : public RailFixture {
  protected:
    RailPicturePrint() : RailFixture({"QZ3100-0000", {"QT3002-0000", "QT1002-0000"}}) {
        std::filesystem::copy(platform::resourceDir() / "Graph", resources() / "Graph");
    }
    ~RailPicturePrint() override {
        reportPrinter().printer().setOutputFormat(QPrinter::NativeFormat);
        reportPrinter().printer().setOutputFileName(QString());
    }
};

TEST_F(RailPicturePrint, ALandscapePageShowingTheRow) {
    frmMainVMT main(context);
    main.railView->HvrProject_ProjectStateChange(2);
    const std::string pdf = (dir / "rail.pdf").string();
    reportPrinter().printer().setOutputFormat(QPrinter::PdfFormat);
    reportPrinter().printer().setOutputFileName(QString::fromStdString(pdf));
    frmPrint dialog(context);
    dialog.lstPrint->item(7)->setSelected(true);
    dialog.cmdOk_Click();

    const std::string page = (dir / "page").string();
    ASSERT_EQ(std::system(("pdftoppm -r 30 -singlefile -png '" + pdf + "' '" + page + "'").c_str()),
              0);
    QImage image(QString::fromStdString(page + ".png"));
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(image.width(), image.height());
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) dark += qGray(image.pixel(x, y)) < 128;
    EXPECT_GT(dark, 100);
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace varnak::test
