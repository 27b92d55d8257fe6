#include "railview/frmTermInsert.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <map>

#include "model/app_context.h"
#include "model/clsProject.h"
#include "platform/paths.h"
#include "platform/unexamined_result.h"
#include "windowkit/clsForms.h"
#include "windowkit/dialog_support.h"

namespace varnak {
namespace {

constexpr int kTxtCaption = 1900;
constexpr int kTxtFrame = 1901;
constexpr int kTxtType = 1902;
constexpr int kTxtNumber = 1903;
constexpr int kTxtName = 1904;
constexpr int kTxtOk = 1905;
constexpr int kTxtCancel = 1906;
constexpr int kIndentTwips = 200;
constexpr int kTwipsPerPixel = 15;

QToolButton* arrowButton(Qt::ArrowType arrow, const char* name) {
    auto* b = new QToolButton;
    b->setObjectName(name);
    b->setArrowType(arrow);
    b->setAutoRaise(false);
    return b;
}

}  // namespace

frmTermInsert::frmTermInsert(QWidget* parent) : QDialog(parent) {
    setObjectName("frmTermInsert");
    setModal(true);
    fraInsertTerm = new QGroupBox;
    tvTerminalTree = new QTreeWidget;
    tvTerminalTree->setObjectName("tvTerminalTree");
    tvTerminalTree->setHeaderHidden(true);
    tvTerminalTree->setRootIsDecorated(true);
    tvTerminalTree->setIndentation(kIndentTwips / kTwipsPerPixel);
    tvTerminalTree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Label1 = new QLabel;
    Label2 = new QLabel;
    txtMultipleTerm = new QLineEdit;
    txtMultipleTerm->setObjectName("txtMultipleTerm");
    txtMultipleTerm->setMaximumWidth(fontMetrics().horizontalAdvance("0000000"));
    spinUp = arrowButton(Qt::UpArrow, "spinInsertNrUp");
    spinDown = arrowButton(Qt::DownArrow, "spinInsertNrDown");
    Label3 = new QLabel;
    txtTermName = new QLineEdit;
    cmdNew = new QPushButton;
    cmdNew->setObjectName("cmdNew");
    cmdCancel = new QPushButton;
    cmdCancel->setObjectName("cmdCancel");
    cmdNew->setDefault(true);
    cmdCancel->setAutoDefault(false);

    auto* frame = new QVBoxLayout(fraInsertTerm);
    frame->addWidget(Label1);
    frame->addWidget(tvTerminalTree, 1);
    auto* number = new QHBoxLayout;
    number->addWidget(Label2);
    number->addWidget(txtMultipleTerm);
    auto* spin = new QVBoxLayout;
    spin->setSpacing(0);
    spin->addWidget(spinUp);
    spin->addWidget(spinDown);
    number->addLayout(spin);
    number->addStretch();
    number->addWidget(Label3);
    number->addWidget(txtTermName);
    auto* column = new QVBoxLayout(this);
    column->addWidget(fraInsertTerm, 1);
    column->addLayout(number);
    column->addLayout(buttonRow({cmdNew, cmdCancel}));
    resize(480, 520);
    // Captions first: the scaling takes an empty label for a picture.
    fInitInsertCaptions();
    VarnakForms().SetDeviceIndependentWindow(this);

    // The dialog sees Enter before its controls: Enter anywhere inserts.
    for (QWidget* w :
         {static_cast<QWidget*>(tvTerminalTree), static_cast<QWidget*>(txtMultipleTerm)})
        w->installEventFilter(this);
    connect(spinUp, &QToolButton::clicked, this, [this] { spinInsertNr_Change(true); });
    connect(spinDown, &QToolButton::clicked, this, [this] { spinInsertNr_Change(false); });
    connect(cmdNew, &QPushButton::clicked, this, [this] { cmdNew_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

bool frmTermInsert::prepare(const std::string& key) {
    std::optional<InsertTarget> target = terminalInsertTarget(key);
    if (!target) return false;
    target_ = *target;
    if (!loaded_) {
        fFillTerminalTree();
        loaded_ = true;
    }
    return true;
}

void frmTermInsert::fTerminalInsert(std::string& key) {
    if (!prepare(key)) return;
    exec();
}

void frmTermInsert::fFillTerminalTree() {
    tvTerminalTree->clear();
    const std::string folder =
        platform::joinPath({gfVarnakProject()->FullPathResourceFolder(), "Terminal"});
    std::map<std::string, QTreeWidgetItem*> groups;
    for (const CatalogNode& node :
         fTerminalCatalog(platform::resolveCaseInsensitive(folder), varnak().LanguageNr)) {
        QTreeWidgetItem* item;
        if (node.parentKey.empty()) {
            item = new QTreeWidgetItem(tvTerminalTree);
            groups[node.key] = item;
        } else {
            item = new QTreeWidgetItem(groups.at(node.parentKey));
        }
        item->setText(0, qText(node.text));
        item->setData(0, Qt::UserRole, qText(node.key));
    }
}

void frmTermInsert::fInitInsertCaptions() {
    setWindowTitle(dialogText(kTxtCaption));
    fraInsertTerm->setTitle(dialogText(kTxtFrame));
    Label1->setText(dialogText(kTxtType));
    Label2->setText(dialogText(kTxtNumber));
    Label3->setText(dialogText(kTxtName));
    cmdNew->setText(dialogText(kTxtOk));
    cmdCancel->setText(dialogText(kTxtCancel));
    Label3->hide();
    txtTermName->hide();
}

void frmTermInsert::showEvent(QShowEvent* event) {
    fInitInsertCaptions();
    cmdNew->setEnabled(true);
    txtMultipleTerm->setText("1");
    QDialog::showEvent(event);
}

bool frmTermInsert::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            cmdNew_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmTermInsert::spinInsertNr_Change(bool up) {
    if (std::optional<int32_t> n = spinInsertStep(txtMultipleTerm->text().toStdString(), up))
        txtMultipleTerm->setText(QString::number(*n));
    repaint();
}

void frmTermInsert::cmdNew_Click() {
    hide();
    QTreeWidgetItem* item = tvTerminalTree->currentItem();
    const std::string key = item ? item->data(0, Qt::UserRole).toString().toStdString() : "";
    const int32_t count = insertCount(txtMultipleTerm->text().toStdString());
    // A group node (three characters) or no selection inserts nothing.
    if (key.size() > 3) {
        BusyCursor busy;
        failureShownOrTargetGone(insertTerminals(target_, key, count));
    }
    accept();
}

void frmTermInsert::cmdCancel_Click() {
    loaded_ = false;
    QDialog::reject();
}

void frmTermInsert::reject() {
    cmdCancel_Click();
}

}  // namespace varnak
