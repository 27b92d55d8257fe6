#include "views/frmRegister.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/app_context.h"
#include "windowkit/clsForms.h"
#include "windowkit/dialog_support.h"
#include "windowkit/register_grid.h"

namespace varnak {
namespace {

constexpr int kTxtDisplay = 793;
constexpr int kTxtExit = 796;
constexpr int kTxtRefresh = 775;
constexpr int kDataColumn = 1;

// The grid's columns: offset, data (the only editable one), description.
std::vector<RegisterGrid::Column> registerColumns() {
    return {{"Offset", 0.15, false}, {"Data", 0.40, true}, {"Description", 0.55, false}};
}

}  // namespace

frmRegister::frmRegister(QWidget* parent) : QDialog(parent) {
    setObjectName("frmRegister");
    setWindowTitle("Register");
    setModal(true);
    lblCaption = new QLabel("Register");
    tdbgData = new RegisterGrid;
    tdbgData->setObjectName("tdbgData");
    Label1 = new QLabel;
    comboDataTyp1 = new QComboBox;
    comboDataTyp1->setObjectName("comboDataTyp1");
    cmdRefresh = new QPushButton;
    cmdRefresh->setObjectName("cmdRefresh");
    cmdExit = new QPushButton;
    cmdExit->setObjectName("cmdExit");
    // Enter belongs to the grid's edits, never to a button.
    cmdRefresh->setAutoDefault(false);
    cmdExit->setAutoDefault(false);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Label1);
    bottom->addWidget(comboDataTyp1);
    bottom->addStretch();
    bottom->addWidget(cmdRefresh);
    bottom->addWidget(cmdExit);
    auto* column = new QVBoxLayout(this);
    column->addWidget(lblCaption);
    column->addWidget(tdbgData, 1);
    column->addLayout(bottom);
    resize(620, 520);

    connect(comboDataTyp1, &QComboBox::currentIndexChanged, this,
            [this](int index) { comboDataTyp1_Change(index); });
    connect(cmdRefresh, &QPushButton::clicked, this, [this] { cmdRefresh_Click(); });
    connect(cmdExit, &QPushButton::clicked, this, [this] { accept(); });
    connect(
        tdbgData, &RegisterGrid::cellEdited, this,
        [this](int row, int column, const QString& text) { tdbgData_Edited(row, column, text); });
}

bool frmRegister::load(const std::string& key) {
    RegisterEditor::OpenResult opened;
    {
        BusyCursor busy;
        opened = editor_.open(key);
    }
    if (opened == RegisterEditor::OpenResult::NoCommunication) showNoCommunication();
    if (opened != RegisterEditor::OpenResult::Opened) return false;

    fInitGrid();
    fInitDataTypControl(comboDataTyp1);
    fInit_Language();
    // After the captions: the scaling takes an empty label for a picture.
    VarnakForms().SetDeviceIndependentWindow(this);
    cmdRefresh->setEnabled(editor_.online());
    loaded_ = true;
    return true;
}

void frmRegister::fRegister(std::string& key) {
    if (!load(key)) return;
    exec();
}

void frmRegister::fInitGrid() {
    tdbgData->setColumns(registerColumns());
    const int rows = editor_.rowCount();
    tdbgData->setRowCount(rows);
    QStringList offsets, descriptions;
    for (int r = 0; r < rows; ++r) {
        offsets.append(qText(editor_.offsetText(r)));
        descriptions.append(qText(editor_.descriptionText(r)));
    }
    tdbgData->setColumnTexts(0, offsets);
    tdbgData->setColumnTexts(2, descriptions);
    fillDataColumn();
    if (rows > 0) tdbgData->setCurrentIndex(tdbgData->model()->index(0, kDataColumn));
}

void frmRegister::fInit_Language() {
    Label1->setText(dialogText(kTxtDisplay));
    cmdExit->setText(dialogText(kTxtExit));
    cmdRefresh->setText(dialogText(kTxtRefresh));
}

void frmRegister::fillDataColumn() {
    QStringList texts;
    for (int r = 0; r < editor_.rowCount(); ++r) texts.append(qText(editor_.dataText(r)));
    tdbgData->setColumnTexts(kDataColumn, texts);
}

void frmRegister::comboDataTyp1_Change(int index) {
    if (index < 0) return;
    editor_.setDataType(registerDataTypeAt(index));
    if (editor_.rowCount() > 0) fillDataColumn();
}

void frmRegister::cmdRefresh_Click() {
    bool fresh;
    {
        BusyCursor busy;
        fresh = editor_.refresh();
    }
    if (fresh) fillDataColumn();
}

void frmRegister::tdbgData_Edited(int row, int column, const QString& text) {
    if (column != kDataColumn || !loaded_) return;
    std::optional<std::string> shown;
    {
        BusyCursor busy;
        shown = editor_.enter(row, text.toStdString());
    }
    if (shown) tdbgData->setCell(row, kDataColumn, qText(*shown));
}

void frmRegister::done(int result) {
    // An edit committed on the way out (the editor lost its focus to a button) is taken
    // before the dialog closes.
    QCoreApplication::sendPostedEvents(tdbgData, QEvent::MetaCall);
    if (loaded_) editor_.close();
    loaded_ = false;
    QDialog::done(result);
}

}  // namespace varnak
