#pragma once
// The cyclic view of the connected coupler's process images: the input and the output
// image of the chosen process image side by side, the visible rows of each re-read about
// every 100 ms by a timer that re-arms itself at the end of each pass, and a value typed
// into the output image written at once; while the station does not answer a line says so.
// The reads and the write live in
// views/process_data_view.h.
#include <QDialog>
#include <QTimer>
#include <array>

#include "views/process_data_view.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace varnak {

class RegisterGrid;

class frmProcData : public QDialog {
    Q_OBJECT
  public:
    explicit frmProcData(QWidget* parent = nullptr);

    // The opening reads, then the dialog modally; a coupler that does not answer gives
    // message 469 and no dialog.
    void fConstructor();
    // Everything fConstructor does before showing the dialog; false when it is not shown.
    [[nodiscard]] bool load();
    void fInit_Language();
    ProcessDataView& view() { return view_; }
    // The rows a grid shows now (partly visible rows included), cut to the image.
    static RowRange visibleRows(const RegisterGrid* grid);

    QGroupBox* fraProcDataInput = nullptr;
    QGroupBox* fraProcDataOutput = nullptr;
    RegisterGrid* tdbgInData = nullptr;
    RegisterGrid* tdbgOutData = nullptr;
    QComboBox* comboDataTyp1 = nullptr;  // output grid
    QComboBox* comboDataTyp2 = nullptr;  // input grid
    std::array<QLabel*, 2> Label1{};
    QComboBox* cboProcImage = nullptr;
    // Shown while the passes fail: the grids then hold the last values read.
    QLabel* lblNoCommunication = nullptr;
    QPushButton* cmdExit = nullptr;
    QTimer Timer1;

  public slots:
    void done(int result) override;

  private:
    void fInitGrid(RegisterGrid* grid, bool editable);
    // Every row of the image: its offset and a zero value until a pass reads it.
    void fInitProcArray(RegisterGrid* grid);
    void Timer1_Timer();
    void showRows(RegisterGrid* grid, RowRange rows, QComboBox* type, bool input);
    void tdbgOutData_Edited(int row, int column, const QString& text);

    ProcessDataView view_;
    bool closeRequest_ = false;
};

}  // namespace varnak
