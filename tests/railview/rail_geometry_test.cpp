// The rail window's arithmetic in twips: widths and picture heights by figure and screen,
// the drawn count, halves to even, the chain of cells, the resize and scroll totals.
#include "railview/rail_geometry.h"

#include <gtest/gtest.h>

#include <QSize>

#include "windowkit/clsForms.h"

namespace varnak {
namespace {

constexpr double kStripTop = 8000;

TEST(RailGeometry, WidthsAndHeightsFollowFigureAndScreen) {
    const ScaleFactors design = scaleFactorsFor(QSize(1024, 768));
    EXPECT_EQ(design.fX, 1.0f);
    EXPECT_EQ(design.fY, 1.0f);
    const ScaleFactors large = scaleFactorsFor(QSize(1280, 1024));
    EXPECT_EQ(large.fX, 1.25f);
    EXPECT_FLOAT_EQ(large.fY, 1.3333333f);

    const RailGeometry one(design.fX, design.fY);
    EXPECT_EQ(one.terminalWidth(2), 1200);
    EXPECT_EQ(one.terminalWidth(3), 1466);
    EXPECT_EQ(one.couplerWidth(3), 1466);
    EXPECT_EQ(one.couplerWidth(4), 2200);
    EXPECT_EQ(one.couplerPictureHeight(3), 7200);
    EXPECT_EQ(one.couplerPictureHeight(1), 4500);

    const RailGeometry big(large.fX, large.fY);
    EXPECT_EQ(big.terminalWidth(2), 1500);
    EXPECT_EQ(big.terminalWidth(3), 1832.5);
    EXPECT_EQ(big.couplerWidth(2), 2750);
    EXPECT_FLOAT_EQ(big.couplerPictureHeight(2), 6000);

    // A damaged figure gives a cell of 1 to 16 units.
    EXPECT_EQ(one.terminalWidth(0), 600);
    EXPECT_EQ(one.terminalWidth(2000000000), 9600);
}

TEST(RailGeometry, TheLastTerminalHasNoCellForRowModes2And32) {
    EXPECT_EQ(RailGeometry::drawnCount(5, 0), 5);
    EXPECT_EQ(RailGeometry::drawnCount(5, 0x0102), 4);
    EXPECT_EQ(RailGeometry::drawnCount(5, 32), 4);
    EXPECT_EQ(RailGeometry::drawnCount(5, 0x2003), 5);  // the high byte does not count
    EXPECT_EQ(RailGeometry::drawnCount(0, 2), 0);
}

TEST(RailGeometry, CellsChainWithHalvesToEvenAndTheRowScrolls) {
    RailGeometry g(1.25f, 1.3333334f);
    g.init(kStripTop);
    g.placeCoupler(4, kStripTop);
    g.showCoupler();
    // Figures 3, 3, 2: 1832.5 goes down to 1832; the coupler's 2750 stays as it is.
    const auto laid = g.layoutFrom(1, {3, 3, 2}, 20000);
    EXPECT_EQ(laid.first, 1);
    EXPECT_EQ(laid.last, 3);
    std::vector<double> lefts, widths;
    for (const CellBox& c : g.cells()) {
        lefts.push_back(c.left);
        widths.push_back(c.width);
        EXPECT_TRUE(c.visible);
        EXPECT_FLOAT_EQ(c.pictureHeight, 6000);
        EXPECT_EQ(c.height, kStripTop);
    }
    EXPECT_EQ(lefts, (std::vector<double>{0, 2750, 4582, 6414}));
    EXPECT_EQ(widths, (std::vector<double>{2750, 1832, 1832, 1500}));
    EXPECT_EQ(laid.rightEdge, 6414 + 1500 + 100);
    EXPECT_FALSE(laid.scrollBarVisible);
    EXPECT_TRUE(g.layoutFrom(1, {3, 3, 2}, 8013).scrollBarVisible);

    // Value 100 puts the last drawn cell at the left edge, 0 the coupler.
    EXPECT_EQ(g.scrollTotal(3), 6414);
    g.scroll(100, 3);
    EXPECT_EQ(g.cell(3).left, 0);
    EXPECT_EQ(g.cell(0).left, -6414);
    g.scroll(50, 3);
    EXPECT_EQ(g.cell(0).left, -3207);
    EXPECT_EQ(g.cell(1).left, -457);

    // An insert lays out from its position; the cells to its left keep their places.
    const auto insert = g.layoutFrom(3, {3, 3, 4, 2}, 4000);
    EXPECT_EQ(insert.first, 3);
    EXPECT_EQ(g.cell(1).left, -457);
    EXPECT_EQ(g.cell(3).left, -457 + 1832 + 1832);
    EXPECT_EQ(g.cell(4).left, g.cell(3).left + 3000);
    EXPECT_TRUE(insert.scrollBarVisible);

    // A resize to the row's width and more starts the row at the left edge again.
    EXPECT_EQ(g.rowTotal(4), 2750 + 1832 + 1832 + 3000 + 1500 + 100);
    EXPECT_TRUE(g.resize(g.rowTotal(4) - 1, 4, 5000));
    EXPECT_EQ(g.cell(0).left, -3207);
    EXPECT_FALSE(g.resize(g.rowTotal(4), 4, 5000));
    EXPECT_EQ(g.cell(0).left, 0);
    EXPECT_EQ(g.cell(4).left, 2750 + 1832 + 1832 + 3000);
    EXPECT_EQ(g.cell(4).height, 5000);
}

TEST(RailGeometry, ARowThatFitsAgainDoesNotStayScrolledWithoutABar) {
    RailGeometry g;
    g.init(kStripTop);
    g.placeCoupler(4, kStripTop);
    g.layoutFrom(1, std::vector<int32_t>(10, 2), 5000);
    g.scroll(100, 10);
    ASSERT_LT(g.cell(0).left, 0);
    // Nine terminals removed: the row of coupler and one terminal fits the window.
    const auto laid = g.layoutFrom(2, {2}, 5000);
    EXPECT_FALSE(laid.scrollBarVisible);
    EXPECT_TRUE(laid.rowReset);
    EXPECT_EQ(g.cell(0).left, 0);
    EXPECT_EQ(g.cell(1).left, 2200);
    EXPECT_FALSE(g.cell(2).visible);
}

}  // namespace
}  // namespace varnak
