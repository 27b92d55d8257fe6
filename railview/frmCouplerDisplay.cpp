#include "railview/frmCouplerDisplay.h"

#include <QLabel>
#include <QScrollBar>
#include <QSignalBlocker>
#include <cmath>

#include "model/app_context.h"
#include "model/basLookup.h"
#include "model/clsColCouplers.h"
#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "model/clsCommon.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "model/clsTable.h"
#include "model/clsTerminal.h"
#include "platform/unexamined_result.h"
#include "railview/QzTerm.h"
#include "railview/cell_texts.h"
#include "railview/kbus_current.h"
#include "railview/redraw_lock.h"
#include "windowkit/clsForms.h"
#include "windowkit/shared_texts.h"

namespace varnak {
namespace {

constexpr int kDesignWidth = 7140;
constexpr int kDesignHeight = 8295;
constexpr int kScrollMaximum = 100;
constexpr int kScrollArrowStep = 5;
constexpr int kScrollPageStep = 20;
constexpr int32_t kRowModeRegister = 246;

// The stored register 246 of the coupler's table 0 (0 without the table).
int32_t storedRowMode(clsCoupler& coupler) {
    auto table = coupler.clsColTables()->Item(0);
    return table ? table->ConfRegisterValue(kRowModeRegister) : 0;
}

// Online the value comes fresh from the coupler; offline the stored one counts, so that
// neither a station on the cable changes the project's table nor a missing one blocks.
int32_t rowMode(clsCoupler& coupler, bool online) {
    auto table = coupler.clsColTables()->Item(0);
    if (!table) return 0;
    // A read that fails leaves the stored value, which then decides.
    if (online) resultNotExamined(table->ConfUpload(kRowModeRegister, 2));
    return table->ConfRegisterValue(kRowModeRegister);
}

}  // namespace

frmCouplerDisplay::frmCouplerDisplay(QWidget* parent)
    : QWidget(parent), queries_(std::make_unique<CouplerServicesInfo>(VarnakCouplerServices())) {
    setObjectName("frmCouplerDisplay");
    setAutoFillBackground(true);
    setMinimumSize(200, 120);
    twipsPerPixel_ = railTwipsPerPixel(*this);
    resize(static_cast<int>(std::lround(kDesignWidth / twipsPerPixel_)),
           static_cast<int>(std::lround(kDesignHeight / twipsPerPixel_)));
    picScroll = new QWidget(this);
    picScroll->setObjectName("picScroll");
    hsbRailView = new QScrollBar(Qt::Horizontal, picScroll);
    hsbRailView->setObjectName("hsbRailView");
    connect(hsbRailView, &QScrollBar::valueChanged, this, &frmCouplerDisplay::hsbRailView_Change);
    placeScrollStrip();
    Form_Load();
}

frmCouplerDisplay::~frmCouplerDisplay() = default;

void frmCouplerDisplay::Form_Load() {
    const ScaleFactors f = VarnakForms().factors();
    sngScaleX = f.fX;
    sngScaleY = f.fY;
    geometry_ = RailGeometry(sngScaleX, sngScaleY);
    fRailInit();
    project_ = gfVarnakProject();
    couplers_ = project_->clsColCouplers();
    stateConnection_ = ScopedConnection(
        project_->ProjectStateChange, project_->ProjectStateChange.connect([this](int32_t& state) {
            HvrProject_ProjectStateChange(state);
        }));
    onlineConnection_ =
        ScopedConnection(project_->ProjectStateOnlineChange,
                         project_->ProjectStateOnlineChange.connect([this](bool& online) {
                             HvrProject_ProjectStateOnlineChange(online);
                         }));
    couplersConnection_ = ScopedConnection(couplers_->InfoColCouplersChanged,
                                           couplers_->InfoColCouplersChanged.connect(
                                               [this] { HvrCouplers_InfoColCouplersChanged(); }));
}

void frmCouplerDisplay::fRailInit() {
    hsbRailView->setRange(0, kScrollMaximum);
    hsbRailView->setSingleStep(kScrollArrowStep);
    hsbRailView->setPageStep(kScrollPageStep);
    hsbRailView->setGeometry(0, 0, picScroll->width(), picScroll->height() / 2);
    QzTerm* coupler = makeCell();
    coupler->BorderStyle = 0;
    geometry_.init(stripTop());
    coupler->QzCtlPosNrViewLayer()->clear();
    coupler->QzCtlPosNrHardwareLayer()->clear();
    coupler->QzCtlTermPic()->clear();
    coupler->QzCtlType()->clear();
    applyCells(0, 0);
}

double frmCouplerDisplay::windowWidth() const {
    return width() * twipsPerPixel_;
}

double frmCouplerDisplay::stripTop() const {
    return picScroll->y() * twipsPerPixel_;
}

void frmCouplerDisplay::placeScrollStrip() {
    const int h = static_cast<int>(std::lround(kScrollStripHeight / twipsPerPixel_));
    picScroll->setGeometry(0, height() - h, width(), h);
    picScroll->raise();
}

QzTerm* frmCouplerDisplay::makeCell() {
    auto* cell = new QzTerm(this);
    cell->setObjectName(QString("QzPicPos%1").arg(cells_.size()));
    cell->hide();
    cells_.push_back(cell);
    return cell;
}

void frmCouplerDisplay::applyCells(int32_t first, int32_t last) {
    const double t = twipsPerPixel_;
    auto px = [t](double twips) { return static_cast<int>(std::lround(twips / t)); };
    makeCells();
    last = std::min<int32_t>(last, static_cast<int32_t>(cells_.size()) - 1);
    for (int32_t i = std::max(first, 0); i <= last; ++i) {
        const CellBox& box = geometry_.cell(i);
        QzTerm* cell = cells_[static_cast<size_t>(i)];
        const int left = px(box.left);
        const int top = px(box.top);
        TermPicture* picture = cell->QzCtlTermPic();
        picture->resize(picture->width(), std::max(0, px(box.pictureHeight)));
        cell->setGeometry(left, top, std::max(0, px(box.left + box.width) - left),
                          std::max(0, px(box.top + box.height) - top));
        cell->fLayout();
        // A terminal cell shows only while it has its terminal: a new cell's texts are the
        // labels' own names, and an empty one would stand for a terminal the rail lacks.
        cell->setVisible(box.visible && (i == 0 || cell->shownTerminal()));
    }
}

void frmCouplerDisplay::makeCells() {
    while (cells_.size() < geometry_.cells().size()) makeCell();
}

int32_t frmCouplerDisplay::drawnCount() const {
    if (!objActiveCoupler) return 0;
    return RailGeometry::drawnCount(objActiveCoupler->clsColTerminals()->Count(),
                                    storedRowMode(*objActiveCoupler));
}

void frmCouplerDisplay::HvrProject_ProjectStateChange(int32_t lState) {
    if (lState == 1 || lState == 2 || lState == 6) HvrCouplers_InfoColCouplersChanged();
}

void frmCouplerDisplay::HvrProject_ProjectStateOnlineChange(bool) {
    HvrCouplers_InfoColCouplersChanged();
}

void frmCouplerDisplay::bindTerminals(const std::shared_ptr<clsCoupler>& coupler) {
    terminalsMultiConnection_ = {};
    terminalConnection_ = {};
    terminals_ = coupler ? coupler->clsColTerminals() : nullptr;
    if (!terminals_) return;
    terminalsMultiConnection_ =
        ScopedConnection(terminals_->InfoTerminalMultiChanged,
                         terminals_->InfoTerminalMultiChanged.connect([this](int32_t& position) {
                             HvrTerminals_InfoTerminalMultiChanged(position);
                         }));
    terminalConnection_ =
        ScopedConnection(terminals_->InfoTerminalChanged,
                         terminals_->InfoTerminalChanged.connect([this](int32_t& position) {
                             HvrTerminals_InfoTerminalChanged(position);
                         }));
}

void frmCouplerDisplay::HvrCouplers_InfoColCouplersChanged() {
    std::shared_ptr<clsCoupler> coupler;
    if (!gfGetActiveCoupler(coupler)) {
        // Nothing of a rail that is gone stays bound or counted.
        objActiveCoupler.reset();
        bindTerminals(nullptr);
        RedrawLock lock(*this);
        geometry_.hideAll();
        applyCells(0, static_cast<int32_t>(cells_.size()) - 1);
        hsbRailView->hide();
        return;
    }
    objActiveCoupler = coupler;
    cells_[0]->setQzObjCouplerItem(coupler, *queries_);
    geometry_.placeCoupler(coupler->InfoBitmapSize(), stripTop());
    cells_[0]->QzCtlType()->show();
    bindTerminals(coupler);
    fRailLayout(1);
}

void frmCouplerDisplay::fRailLayout(int32_t lStartPos) {
    RedrawLock lock(*this);
    geometry_.showCoupler();
    applyCells(0, 0);
    std::shared_ptr<clsCoupler> coupler;
    if (!gfGetActiveCoupler(coupler)) return;
    auto terminals = terminals_ ? terminals_ : coupler->clsColTerminals();
    const int32_t n =
        RailGeometry::drawnCount(terminals->Count(), rowMode(*coupler, project_->Online()));
    std::vector<int32_t> figures(static_cast<size_t>(n));
    for (int32_t i = 1; i <= n; ++i)
        if (auto t = terminals->ItemPos(i))
            figures[static_cast<size_t>(i) - 1] = t->InfoBitmapSize();
    const RailGeometry::Layout laid = geometry_.layoutFrom(lStartPos, figures, windowWidth());
    makeCells();
    for (int32_t i = laid.first; i <= laid.last; ++i)
        cells_[static_cast<size_t>(i)]->setQzObjTermItem(terminals->ItemPos(i));
    applyCells(laid.first, laid.last);
    applyCells(n + 1, static_cast<int32_t>(cells_.size()) - 1);
    hsbRailView->resize(width(), hsbRailView->height());
    hsbRailView->setVisible(laid.scrollBarVisible);
    if (laid.rowReset) {
        const QSignalBlocker quiet(hsbRailView);
        hsbRailView->setValue(0);
        applyCells(0, n);
    }
}

void frmCouplerDisplay::HvrTerminals_InfoTerminalMultiChanged(int32_t lStartPos) {
    fRailLayout(lStartPos);
    fKBusCurrentCheck();
}

void frmCouplerDisplay::HvrTerminals_InfoTerminalChanged(int32_t lRailPos) {
    HvrTerminals_InfoTerminalMultiChanged(lRailPos);
}

void frmCouplerDisplay::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    RedrawLock lock(*this);
    placeScrollStrip();
    const int32_t n = drawnCount();
    const bool bar = geometry_.resize(windowWidth(), n, stripTop());
    hsbRailView->resize(width(), hsbRailView->height());
    hsbRailView->setVisible(bar);
    applyCells(0, static_cast<int32_t>(cells_.size()) - 1);
}

void frmCouplerDisplay::hsbRailView_Change(int value) {
    RedrawLock lock(*this);
    const int32_t n = drawnCount();
    geometry_.scroll(value, n);
    applyCells(0, n);
}

void frmCouplerDisplay::fKBusCurrentCheck() {
    AppContext& c = varnak();
    if (c.VarnakCommon && c.VarnakCommon->CheckCurrentKBus()) fKBusCurrentBalance();
}

void frmCouplerDisplay::fKBusCurrentBalance() {
    if (!objActiveCoupler) return;
    auto terminals = objActiveCoupler->clsColTerminals();
    std::vector<int32_t> figures;
    for (int32_t i = 1; i <= terminals->Count(); ++i) {
        auto t = terminals->ItemPos(i);
        figures.push_back(t ? t->InfoCurrentKBus() : 0);
    }
    if (auto position = fKBusShortPosition(objActiveCoupler->InfoCurrentKBus(), figures))
        varnak().ui->messageBox(fKBusWarningText(*position), vbExclamation, kProgramTitle);
}

}  // namespace varnak
