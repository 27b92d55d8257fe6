#include "railview/rail_geometry.h"

#include <algorithm>

#include "model/basConvert.h"
#include "model/device_register_model.h"

namespace varnak {
namespace {

constexpr int32_t kMinFigure = 1;
constexpr int32_t kMaxFigure = 16;
constexpr int32_t kNarrowFigure = 3;
constexpr float kNarrowWidth = 1466;
constexpr float kCouplerWidth = 2200;
constexpr float kFigureWidth = 600;
constexpr float kNarrowCouplerPicture = 7200;
constexpr float kCouplerPicture = 4500;

// Positions go to whole twips before a cell moves, halves to the even neighbour.
double whole(double twips) {
    return roundHalfToEven(twips).value_or(0);
}

}  // namespace

RailGeometry::RailGeometry(float scaleX, float scaleY) : scaleX_(scaleX), scaleY_(scaleY) {
    cells_.resize(1);
}

int32_t RailGeometry::clampFigure(int32_t figure) {
    return std::clamp(figure, kMinFigure, kMaxFigure);
}

// The products are single precision, as the scale factors are.
double RailGeometry::couplerWidth(int32_t figure) const {
    return (figure == kNarrowFigure ? kNarrowWidth : kCouplerWidth) * scaleX_;
}

double RailGeometry::couplerPictureHeight(int32_t figure) const {
    return (figure == kNarrowFigure ? kNarrowCouplerPicture : kCouplerPicture) * scaleY_;
}

double RailGeometry::terminalWidth(int32_t figure) const {
    const int32_t f = clampFigure(figure);
    return (f == kNarrowFigure ? kNarrowWidth : static_cast<float>(f) * kFigureWidth) * scaleX_;
}

int32_t RailGeometry::drawnCount(int32_t terminalCount, int32_t register246) {
    const int32_t n = isBoxModuleKind(register246) ? terminalCount - 1 : terminalCount;
    return std::max(n, 0);
}

void RailGeometry::init(double stripTop) {
    CellBox& c = cells_[0];
    c.left = 0;
    c.top = 0;
    c.height = stripTop - c.top;
    c.width = kCouplerWidth * scaleX_;
    c.pictureHeight = kCouplerPicture * scaleY_;
    c.visible = true;
}

void RailGeometry::hideAll() {
    for (CellBox& c : cells_) c.visible = false;
}

void RailGeometry::placeCoupler(int32_t figure, double stripTop) {
    CellBox& c = cells_[0];
    c.left = 0;
    c.top = 0;
    c.width = couplerWidth(figure);
    c.pictureHeight = couplerPictureHeight(figure);
    c.height = stripTop - c.top;
}

RailGeometry::Layout RailGeometry::layoutFrom(int32_t start, const std::vector<int32_t>& figures,
                                              double windowWidth) {
    const auto drawn = static_cast<int32_t>(figures.size());
    // Each cell continues from the one to its left, which must have been laid out.
    start = std::clamp(start, 1, static_cast<int32_t>(cells_.size()));
    Layout result;
    result.first = start;
    for (int32_t i = start; i <= drawn; ++i) {
        if (cells_.size() <= static_cast<size_t>(i)) cells_.resize(static_cast<size_t>(i) + 1);
        const CellBox& left = cells_[i - 1];
        CellBox& c = cells_[i];
        c.visible = true;
        c.pictureHeight = left.pictureHeight;
        c.left = whole(left.left + left.width);
        c.top = whole(left.top);
        c.width = whole(terminalWidth(figures[i - 1]));
        c.height = whole(left.height);
        result.last = i;
    }
    for (size_t i = static_cast<size_t>(drawn) + 1; i < cells_.size(); ++i)
        cells_[i].visible = false;
    const CellBox& end = cells_[static_cast<size_t>(lastExisting(drawn))];
    result.rightEdge = whole(end.left + end.width + kRowEndMargin);
    result.scrollBarVisible = windowWidth < result.rightEdge - cells_[0].left;
    if (!result.scrollBarVisible && cells_[0].left != 0) {
        chain(drawn, 0);
        result.rowReset = true;
    }
    return result;
}

double RailGeometry::rowTotal(int32_t drawn) const {
    double total = 0;
    for (int32_t i = 0; i <= lastExisting(drawn); ++i) total = whole(total + cells_[i].width);
    return total + kRowEndMargin;
}

double RailGeometry::scrollTotal(int32_t drawn) const {
    double total = 0;
    for (int32_t i = 0; i < lastExisting(drawn); ++i) total = whole(total + cells_[i].width);
    return total;
}

bool RailGeometry::resize(double windowWidth, int32_t drawn, double stripTop) {
    const bool visible = windowWidth < rowTotal(drawn);
    if (!visible) chain(drawn, 0);
    for (CellBox& c : cells_) c.height = stripTop - c.top;
    return visible;
}

void RailGeometry::scroll(int32_t value, int32_t drawn) {
    chain(drawn, -(value / 100.0) * scrollTotal(drawn));
}

int32_t RailGeometry::lastExisting(int32_t drawn) const {
    return std::clamp(drawn, 0, static_cast<int32_t>(cells_.size()) - 1);
}

void RailGeometry::chain(int32_t drawn, double left) {
    cells_[0].left = left;
    for (int32_t i = 1; i <= lastExisting(drawn); ++i)
        cells_[i].left = cells_[i - 1].left + cells_[i - 1].width;
}

}  // namespace varnak
