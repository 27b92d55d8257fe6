#include "views/frmProcData.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "views/no_communication_line.h"
#include "windowkit/clsForms.h"
#include "windowkit/dialog_support.h"
#include "windowkit/register_grid.h"

namespace varnak {
namespace {

constexpr int kTxtCaption = 790;
constexpr int kTxtInputImage = 791;
constexpr int kTxtOutputImage = 792;
constexpr int kTxtDisplay = 793;
constexpr int kTxtExit = 796;
constexpr int kDataColumn = 1;
constexpr int kFirstPassMs = 5;
constexpr int kPassMs = 100;

QGroupBox* imageFrame(const char* name, RegisterGrid* grid, QLabel* label, QComboBox* type) {
    auto* frame = new QGroupBox;
    frame->setObjectName(name);
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(type, 1);
    auto* column = new QVBoxLayout(frame);
    column->addWidget(grid, 1);
    column->addLayout(row);
    return frame;
}

}  // namespace

frmProcData::frmProcData(QWidget* parent) : QDialog(parent) {
    setObjectName("frmProcData");
    setModal(true);
    tdbgInData = new RegisterGrid;
    tdbgInData->setObjectName("tdbgInData");
    tdbgOutData = new RegisterGrid;
    tdbgOutData->setObjectName("tdbgOutData");
    comboDataTyp1 = new QComboBox;
    comboDataTyp1->setObjectName("comboDataTyp1");
    comboDataTyp2 = new QComboBox;
    comboDataTyp2->setObjectName("comboDataTyp2");
    for (QLabel*& label : Label1) label = new QLabel;
    cboProcImage = new QComboBox;
    cboProcImage->setObjectName("cboProcImage");
    lblNoCommunication = newNoCommunicationLine();
    cmdExit = new QPushButton;
    cmdExit->setObjectName("cmdExit");
    // Enter belongs to the output grid's edits, never to the button.
    cmdExit->setAutoDefault(false);
    fraProcDataInput = imageFrame("fraProcDataInput", tdbgInData, Label1[0], comboDataTyp2);
    fraProcDataOutput = imageFrame("fraProcDataOutput", tdbgOutData, Label1[1], comboDataTyp1);

    auto* images = new QHBoxLayout;
    images->addWidget(fraProcDataInput);
    images->addWidget(fraProcDataOutput);
    auto* top = new QHBoxLayout;
    top->addWidget(cboProcImage);
    top->addWidget(lblNoCommunication);
    top->addStretch();
    auto* column = new QVBoxLayout(this);
    column->addLayout(top);
    column->addLayout(images, 1);
    column->addLayout(buttonRow({cmdExit}));
    resize(640, 560);

    Timer1.setSingleShot(true);
    Timer1.setTimerType(Qt::PreciseTimer);
    connect(&Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    connect(cmdExit, &QPushButton::clicked, this, [this] { closeRequest_ = true; });
    connect(tdbgOutData, &RegisterGrid::cellEdited, this,
            [this](int row, int column, const QString& text) {
                tdbgOutData_Edited(row, column, text);
            });
}

bool frmProcData::load() {
    {
        BusyCursor busy;
        if (!view_.open()) return false;
        view_.load();
    }
    fInitDataTypControl(comboDataTyp1);
    fInitDataTypControl(comboDataTyp2);
    fInitGrid(tdbgInData, false);
    fInitGrid(tdbgOutData, true);
    cboProcImage->clear();
    for (int k = 1; k <= kProcessImageCount; ++k)
        cboProcImage->addItem(dialogText(kTxtCaption) + QString(" %1").arg(k));
    cboProcImage->setCurrentIndex(0);
    cboProcImage->setVisible(true);
    fInit_Language();
    showPassHealth(lblNoCommunication, view_.health());
    // After the captions: the scaling takes an empty label for a picture.
    VarnakForms().SetDeviceIndependentWindow(this);
    Timer1.start(kFirstPassMs);
    closeRequest_ = false;
    return true;
}

void frmProcData::fConstructor() {
    if (load()) exec();
}

void frmProcData::fInitGrid(RegisterGrid* grid, bool editable) {
    grid->setColumns({{"Offset", 0.15, false}, {"Data", 0.65, editable}});
    fInitProcArray(grid);
    if (editable) grid->setCurrentIndex(grid->model()->index(0, kDataColumn));
}

void frmProcData::fInitProcArray(RegisterGrid* grid) {
    grid->setRowCount(ProcessDataView::kRows);
    QStringList offsets, values;
    for (int r = 0; r < ProcessDataView::kRows; ++r) {
        offsets.append(QString::number(r));
        values.append(qText(registerDisplayText(RegisterDataType::Hex, 0)));
    }
    grid->setColumnTexts(0, offsets);
    grid->setColumnTexts(kDataColumn, values);
}

void frmProcData::fInit_Language() {
    setWindowTitle(dialogText(kTxtCaption));
    fraProcDataInput->setTitle(dialogText(kTxtInputImage));
    fraProcDataOutput->setTitle(dialogText(kTxtOutputImage));
    Label1[0]->setText(dialogText(kTxtDisplay));
    Label1[1]->setText(Label1[0]->text());
    cmdExit->setText(dialogText(kTxtExit));
    setNoCommunicationCaption(lblNoCommunication);
}

RowRange frmProcData::visibleRows(const RegisterGrid* grid) {
    const int first = grid->rowAt(0);
    if (first < 0) return {};
    int last = grid->rowAt(grid->viewport()->height() - 1);
    if (last < 0) last = grid->rowCount() - 1;
    return imageRowRange(first, last - first + 1);
}

void frmProcData::Timer1_Timer() {
    Timer1.setInterval(kPassMs);
    if (closeRequest_) {
        accept();
        return;
    }
    view_.selectImage(cboProcImage->isVisible() ? cboProcImage->currentIndex() : 0);
    const RowRange input = visibleRows(tdbgInData);
    const RowRange output = visibleRows(tdbgOutData);
    view_.UploadProcData(input, output);
    showRows(tdbgInData, input, comboDataTyp2, true);
    showRows(tdbgOutData, output, comboDataTyp1, false);
    showPassHealth(lblNoCommunication, view_.health());
    // The event loop runs clicks and edits before the next pass starts.
    Timer1.start();
}

void frmProcData::showRows(RegisterGrid* grid, RowRange rows, QComboBox* type, bool input) {
    const RegisterDataType t = registerDataTypeAt(type->currentIndex());
    // A cell being typed into keeps the user's text: the grid would put the new value into
    // its editor.
    const int edited = grid->editing() ? grid->currentIndex().row() : -1;
    for (int r = rows.first; r < rows.first + rows.count; ++r) {
        if (r == edited) continue;
        const int32_t v = input ? view_.inputValue(r) : view_.outputValue(r);
        grid->setCell(r, kDataColumn, qText(registerDisplayText(t, v)));
    }
}

void frmProcData::tdbgOutData_Edited(int row, int column, const QString& text) {
    if (column != kDataColumn) return;
    std::optional<std::string> shown;
    {
        BusyCursor busy;
        shown = view_.enterOutput(row, registerDataTypeAt(comboDataTyp1->currentIndex()),
                                  text.toStdString());
    }
    if (shown) tdbgOutData->setCell(row, kDataColumn, qText(*shown));
}

void frmProcData::done(int result) {
    Timer1.stop();
    // An edit committed on the way out (the editor lost its focus to a button) is taken
    // before the dialog closes.
    QCoreApplication::sendPostedEvents(tdbgOutData, QEvent::MetaCall);
    QDialog::done(result);
}

}  // namespace varnak
