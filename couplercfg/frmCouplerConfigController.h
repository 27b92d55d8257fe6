#pragma once
// The controller's PLC cycle time: one box switches the coupler's cycle-time evaluation;
// online the minimum, maximum, current and mean cycle time are read every 50 ms and shown
// in milliseconds. Closing sets the coupler's write protection.
#include <QDialog>
#include <array>

#include "couplercfg/cycle_time_measurement.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace varnak {

class frmCouplerConfigController : public QDialog {
    Q_OBJECT
  public:
    // evaluation: the command that switches the coupler's evaluation (by default the
    // program's coupler services).
    explicit frmCouplerConfigController(QWidget* parent = nullptr,
                                        CycleTimeMeasurement::Evaluation evaluation = {});

    // Opens the dialog for the active coupler and shows it modally; message 469 when it
    // cannot.
    void fKonstruktor();
    // Everything the entry does before showing the dialog; false when it is not shown.
    [[nodiscard]] bool load();
    CycleTimeMeasurement& measurement() { return measurement_; }

    QTabWidget* sstabDiag = nullptr;
    std::array<QLabel*, kCycleTimeValueCount> lblDiag{};
    std::array<QLabel*, kCycleTimeValueCount> lblDiagValue{};
    QCheckBox* chkActivateTimeCycle = nullptr;
    QPushButton* cmdOk = nullptr;

  public slots:
    void done(int result) override;

  private:
    void fInit_Language();
    void fInitCycleTimeView();

    CycleTimeMeasurement measurement_;
    bool loaded_ = false;
};

}  // namespace varnak
