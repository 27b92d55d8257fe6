#pragma once
// The rail window in the main window's child area: the active rail drawn as a row of
// cells, the coupler first, then each terminal in rail order, with a scroll bar when the
// row is wider than the window. It follows the project's events: a project opened, the
// rail collection changed and going online or offline rebuild the row; a terminal change
// lays the row out again from its position and may check the terminal-bus current.
#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/signal.h"
#include "railview/rail_geometry.h"

class QScrollBar;

namespace varnak {

class clsColCouplers;
class clsColTerminals;
class clsCoupler;
class clsProject;
class CouplerInfoQueries;
class QzTerm;

class frmCouplerDisplay : public QWidget {
    Q_OBJECT
  public:
    // Loads the window on the current context's project; the row stays empty until the
    // first rebuild.
    explicit frmCouplerDisplay(QWidget* parent = nullptr);
    ~frmCouplerDisplay() override;

    void HvrProject_ProjectStateChange(int32_t lState);
    void HvrProject_ProjectStateOnlineChange(bool bOnline);
    // The rebuild.
    void HvrCouplers_InfoColCouplersChanged();
    void HvrTerminals_InfoTerminalMultiChanged(int32_t lStartPos);
    void HvrTerminals_InfoTerminalChanged(int32_t lRailPos);
    // Lays the terminal cells out from a rail position on.
    void fRailLayout(int32_t lStartPos);
    void fKBusCurrentCheck();
    void hsbRailView_Change(int value);

    // Cells made so far; cell 0 is the coupler's.
    const std::vector<QzTerm*>& QzPicPos() const { return cells_; }
    QWidget* picScroll = nullptr;
    QScrollBar* hsbRailView = nullptr;
    float sngScaleX = 1.0f;
    float sngScaleY = 1.0f;
    std::shared_ptr<clsCoupler> objActiveCoupler;
    const RailGeometry& geometry() const { return geometry_; }
    // The window's width and the strip's top, in twips.
    double windowWidth() const;
    double stripTop() const;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void Form_Load();
    void fRailInit();
    void fKBusCurrentBalance();
    void bindTerminals(const std::shared_ptr<clsCoupler>& coupler);
    // The drawn count of the active rail from the stored register 246.
    int32_t drawnCount() const;
    QzTerm* makeCell();
    // Makes the cells the geometry has and the row lacks.
    void makeCells();
    // Moves the cells first .. last to their boxes, converted to pixels here.
    void applyCells(int32_t first, int32_t last);
    void placeScrollStrip();

    RailGeometry geometry_;
    std::vector<QzTerm*> cells_;
    // What the coupler cell asks online: the program's coupler services.
    std::unique_ptr<CouplerInfoQueries> queries_;
    double twipsPerPixel_ = 15;
    // The bound objects are kept alive as long as their connections.
    std::shared_ptr<clsProject> project_;
    std::shared_ptr<clsColCouplers> couplers_;
    std::shared_ptr<clsColTerminals> terminals_;
    ScopedConnection stateConnection_;
    ScopedConnection onlineConnection_;
    ScopedConnection couplersConnection_;
    ScopedConnection terminalsMultiConnection_;
    ScopedConnection terminalConnection_;
};

}  // namespace varnak
