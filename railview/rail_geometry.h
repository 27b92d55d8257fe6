#pragma once
// Where the rail window puts its cells, in twips and without widgets: cell widths and
// picture heights by picture-size figure and screen scale, the drawn count, the chain of
// cells from a rail position on, the totals of a resize and a scroll step, and whether the
// scroll bar shows. The window converts the boxes to pixels once, when it moves its cells.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace varnak {

// One cell of the row: its box in the window and its picture's height, in twips.
struct CellBox {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    double pictureHeight = 0;
    bool visible = false;
};

// The strip at the window's bottom edge that holds the scroll bar; cells end at its top.
inline constexpr double kScrollStripHeight = 375;
// Room kept after the last cell before the scroll bar is needed.
inline constexpr double kRowEndMargin = 100;

class RailGeometry {
  public:
    RailGeometry(float scaleX = 1.0f, float scaleY = 1.0f);

    float scaleX() const { return scaleX_; }
    float scaleY() const { return scaleY_; }

    // A description's picture-size figure within 1..16, so that a damaged figure gives
    // neither a negative nor a huge cell.
    static int32_t clampFigure(int32_t figure);
    double couplerWidth(int32_t figure) const;
    double couplerPictureHeight(int32_t figure) const;
    double terminalWidth(int32_t figure) const;
    // The last terminal has no cell when the low byte of the coupler's register 246 is 2
    // or 32; never below 0.
    static int32_t drawnCount(int32_t terminalCount, int32_t register246);

    // Cells made so far; cell 0 is the coupler's. Cells are never removed.
    const std::vector<CellBox>& cells() const { return cells_; }
    const CellBox& cell(int32_t index) const { return cells_.at(static_cast<size_t>(index)); }

    // The set-up: cell 0 empty at the left edge with the design coupler's size.
    void init(double stripTop);
    void hideAll();
    void showCoupler() { cells_[0].visible = true; }
    // Cell 0 at the left edge with the coupler's width and picture height.
    void placeCoupler(int32_t figure, double stripTop);

    struct Layout {
        int32_t first = 0;  // cells laid out: first .. last (none when first > last)
        int32_t last = -1;
        double rightEdge = 0;
        bool scrollBarVisible = false;
        bool rowReset = false;  // the row went back to the left edge
    };
    // Lays the terminal cells out from a rail position on: figures holds the picture-size
    // figure of the terminal at rail position i at index i - 1, one per drawn cell. Each
    // cell continues the row from the cell to its left; cells beyond the drawn count are
    // hidden. A row that fits the window is put back at the left edge when it stood
    // scrolled, so that no part of it stays out of reach without a scroll bar.
    Layout layoutFrom(int32_t start, const std::vector<int32_t>& figures, double windowWidth);
    // The resize: true when the scroll bar shows; a row that fits starts at the left edge
    // again. Every cell reaches down to the strip's top.
    bool resize(double windowWidth, int32_t drawn, double stripTop);
    // A scroll step: value (0..100) is a percentage of the row without its last cell, so
    // that 100 puts the last drawn cell at the left edge.
    void scroll(int32_t value, int32_t drawn);

    // The row's width as the resize measures it, margin included.
    double rowTotal(int32_t drawn) const;
    double scrollTotal(int32_t drawn) const;

  private:
    int32_t lastExisting(int32_t drawn) const;
    void chain(int32_t drawn, double left);

    float scaleX_;
    float scaleY_;
    std::vector<CellBox> cells_;
};

}  // namespace varnak
