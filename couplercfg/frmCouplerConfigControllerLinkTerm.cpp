#include "couplercfg/frmCouplerConfigControllerLinkTerm.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>

#include "couplercfg/coupler_settings_texts.h"
#include "windowkit/clsForms.h"
#include "windowkit/dialog_support.h"
#include "windowkit/register_grid.h"

namespace varnak {
namespace {

constexpr int kTxtDisplay = 793;
constexpr int kAssignmentColumn = 2;
constexpr const char* kCaption = "QY Controller: Advanced Settings";

// The assignment column's list: the three codes' texts.
class CodeListDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        if (index.column() != kAssignmentColumn)
            return QStyledItemDelegate::createEditor(parent, option, index);
        auto* list = new QComboBox(parent);
        for (int code : kLinkCodes) list->addItem(qText(linkCodeText(code)), code);
        // The list opens at once; a pick counts at once, not only when it loses its focus.
        QTimer::singleShot(0, list, [list] { list->showPopup(); });
        connect(list, &QComboBox::activated, this, [this, list] {
            emit const_cast<CodeListDelegate*>(this)->commitData(list);
            emit const_cast<CodeListDelegate*>(this)->closeEditor(list);
        });
        return list;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* list = qobject_cast<QComboBox*>(editor);
        if (!list) return QStyledItemDelegate::setEditorData(editor, index);
        list->setCurrentIndex(list->findText(index.data().toString()));
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        auto* list = qobject_cast<QComboBox*>(editor);
        if (!list) return QStyledItemDelegate::setModelData(editor, model, index);
        if (list->currentIndex() >= 0)
            model->setData(index, list->currentData().toString(), Qt::EditRole);
    }
};

}  // namespace

// The grid: positions beyond the coupler's 64 take no entry.
class frmCouplerConfigControllerLinkTerm::Grid : public RegisterGrid {
  public:
    Grid(LinkTerminalEditor& editor) : editor_(editor) {
        setItemDelegate(new CodeListDelegate(this));
    }

  protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override {
        const auto& rows = editor_.rows();
        if (index.isValid() && index.row() < static_cast<int>(rows.size()) &&
            rows[static_cast<size_t>(index.row())].locked)
            return false;
        return RegisterGrid::edit(index, trigger, event);
    }

  private:
    LinkTerminalEditor& editor_;
};

frmCouplerConfigControllerLinkTerm::frmCouplerConfigControllerLinkTerm(QWidget* parent)
    : QDialog(parent) {
    setObjectName("frmCouplerConfigControllerLinkTerm");
    setWindowTitle(kCaption);
    setModal(true);
    auto* fields = new QGridLayout;
    for (int f = 0; f < kLinkNumberFields; ++f) {
        lblTab1Reg[static_cast<size_t>(f)] = new QLabel;
        txtQYx[static_cast<size_t>(f)] = new QLineEdit;
        txtQYx[static_cast<size_t>(f)]->setObjectName(QString("txtQYx_%1").arg(f));
        txtQYx[static_cast<size_t>(f)]->setAlignment(Qt::AlignRight);
        txtQYx[static_cast<size_t>(f)]->setMaxLength(10);
        fields->addWidget(lblTab1Reg[static_cast<size_t>(f)], f, 0);
        fields->addWidget(txtQYx[static_cast<size_t>(f)], f, 1);
    }
    // The fields stand beside their labels.
    fields->setColumnStretch(2, 1);
    tdbgData = new Grid(editor_);
    tdbgData->setObjectName("tdbgData");
    Label1 = new QLabel;
    comboDataTyp1 = new QComboBox;
    comboDataTyp1->setObjectName("comboDataTyp1");
    cmdOk = new QPushButton("&OK");
    cmdOk->setObjectName("cmdOk");
    cmdRefresh = new QPushButton;
    cmdRefresh->setObjectName("cmdRefresh");
    cmdExit = new QPushButton;
    cmdExit->setObjectName("cmdExit");
    // Enter belongs to the grid's edits, never to a button.
    for (QPushButton* b : {cmdOk, cmdRefresh, cmdExit}) b->setAutoDefault(false);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Label1);
    bottom->addWidget(comboDataTyp1);
    bottom->addStretch();
    for (QPushButton* b : {cmdOk, cmdRefresh, cmdExit}) bottom->addWidget(b);
    auto* column = new QVBoxLayout(this);
    column->addLayout(fields);
    column->addWidget(tdbgData, 1);
    column->addLayout(bottom);
    resize(720, 560);

    connect(cmdOk, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
    connect(cmdRefresh, &QPushButton::clicked, this, [this] { cmdRefresh_Click(); });
    connect(cmdExit, &QPushButton::clicked, this, [this] { reject(); });
    connect(
        tdbgData, &RegisterGrid::cellEdited, this,
        [this](int row, int column, const QString& text) { tdbgData_Edited(row, column, text); });
}

bool frmCouplerConfigControllerLinkTerm::load(const std::string& key) {
    bool opened;
    {
        BusyCursor busy;
        opened = editor_.open(key);
    }
    if (!opened) return false;
    BusyCursor busy;
    fInit_Language();
    fInitDataTypControl(comboDataTyp1);
    // The codes are picked from their list: the data type changes no cell here.
    comboDataTyp1->setEnabled(false);
    fInitGrid();
    VarnakForms().SetDeviceIndependentWindow(this);
    cmdRefresh->setEnabled(editor_.online());
    return true;
}

void frmCouplerConfigControllerLinkTerm::fRegister(std::string& key) {
    if (load(key)) exec();
}

void frmCouplerConfigControllerLinkTerm::fInit_Language() {
    for (int f = 0; f < kLinkNumberFields; ++f)
        lblTab1Reg[static_cast<size_t>(f)]->setText(qText(linkNumberCaption(f)));
    Label1->setText(dialogText(kTxtDisplay));
    cmdExit->setText(dialogText(kTxtExitButton796));
    cmdRefresh->setText(dialogText(kTxtRefreshButton775));
}

void frmCouplerConfigControllerLinkTerm::fInitGrid() {
    tdbgData->setColumns({{dialogText(kTxtLinkColumnPosition), 0.10, false},
                          {dialogText(kTxtLinkColumnDescription), 0.25, false},
                          {dialogText(kTxtLinkColumnAssignment), 0.55, true}});
    fDialogFromTable();
    if (tdbgData->rowCount() > 0)
        tdbgData->setCurrentIndex(tdbgData->model()->index(0, kAssignmentColumn));
}

void frmCouplerConfigControllerLinkTerm::fDialogFromTable() {
    for (int f = 0; f < kLinkNumberFields; ++f)
        txtQYx[static_cast<size_t>(f)]->setText(qText(editor_.numbers()[static_cast<size_t>(f)]));
    const auto& rows = editor_.rows();
    tdbgData->setRowCount(static_cast<int>(rows.size()));
    QStringList positions, types, codes;
    for (const LinkTerminalRow& row : rows) {
        positions.append(QString::number(row.position));
        types.append(qText(row.type));
        codes.append(row.locked ? QString() : qText(linkCodeText(row.code)));
    }
    tdbgData->setColumnTexts(0, positions);
    tdbgData->setColumnTexts(1, types);
    tdbgData->setColumnTexts(kAssignmentColumn, codes);
}

void frmCouplerConfigControllerLinkTerm::tdbgData_Edited(int row, int column, const QString& text) {
    if (column != kAssignmentColumn) return;
    bool number = false;
    const int code = text.toInt(&number);
    if (!number) return;
    editor_.setCode(row, code);
    tdbgData->setCell(row, column,
                      qText(linkCodeText(editor_.rows()[static_cast<size_t>(row)].code)));
}

void frmCouplerConfigControllerLinkTerm::cmdOk_Click() {
    // A pick still open is committed before the rows are stored.
    cmdOk->setFocus();
    QCoreApplication::sendPostedEvents(tdbgData, QEvent::MetaCall);
    std::array<std::string, kLinkNumberFields> numbers;
    for (int f = 0; f < kLinkNumberFields; ++f)
        numbers[static_cast<size_t>(f)] = txtQYx[static_cast<size_t>(f)]->text().toStdString();
    bool close;
    {
        BusyCursor busy;
        close = editor_.ok(numbers);
    }
    if (close) {
        accept();
        return;
    }
    if (editor_.refusedField() >= 0) {
        QLineEdit* field = txtQYx[static_cast<size_t>(editor_.refusedField())];
        field->setFocus();
        field->selectAll();
    }
}

void frmCouplerConfigControllerLinkTerm::cmdRefresh_Click() {
    bool fresh;
    {
        BusyCursor busy;
        fresh = editor_.refresh();
    }
    if (fresh) fDialogFromTable();
}

}  // namespace varnak
