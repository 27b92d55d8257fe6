#include "online/frmRimTalkDebug.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "online/online_texts.h"
#include "platform/unexamined_result.h"
#include "windowkit/clsForms.h"
#include "windowkit/dialog_support.h"

namespace varnak {
namespace {

// The "Nr" column: 500 twips at 15 twips a pixel.
constexpr int kNrColumnWidth = 33;

QLineEdit* hexField(const char* name) {
    auto* field = new QLineEdit;
    field->setObjectName(name);
    field->setMaxLength(8);
    return field;
}

}  // namespace

frmRimTalkDebug::frmRimTalkDebug(QWidget* parent) : QDialog(parent) {
    setObjectName("frmRimTalkDebug");
    setModal(true);
    const char* names[] = {"Text1_0", "Text1_1", "Text1_2", "Text1_3", "Text1_4"};
    for (size_t i = 0; i < Text1.size(); ++i) Text1[i] = hexField(names[i]);
    for (QLabel*& label : labels_) label = new QLabel;
    cmdUpdate = new QPushButton;
    cmdUpdate->setObjectName("cmdUpdate");
    cmdSend = new QPushButton;
    cmdSend->setObjectName("cmdSend");
    cmdCancel = new QPushButton;
    cmdCancel->setObjectName("cmdCancel");
    for (QPushButton* b : {cmdUpdate, cmdSend, cmdCancel}) b->setAutoDefault(false);
    ListView1 = new QTreeWidget;
    ListView1->setObjectName("ListView1");
    ListView1->setRootIsDecorated(false);
    ListView1->setColumnCount(3);
    ListView1->setHeaderLabels({"Nr", "Adresse", "Wert"});
    ListView1->header()->setStretchLastSection(false);
    ListView1->setMinimumHeight(fontMetrics().height() * 20);
    ListView1->installEventFilter(this);

    Frame2 = new QGroupBox;
    auto* dumpFields = new QGridLayout;
    dumpFields->addWidget(labels_[0], 0, 0);
    dumpFields->addWidget(Text1[0], 0, 1);
    dumpFields->addWidget(labels_[1], 1, 0);
    dumpFields->addWidget(Text1[1], 1, 1);
    dumpFields->addWidget(cmdUpdate, 1, 2);
    auto* dump = new QVBoxLayout(Frame2);
    dump->addLayout(dumpFields);
    dump->addWidget(ListView1, 1);

    Frame1 = new QGroupBox;
    auto* edit = new QGridLayout(Frame1);
    for (int i = 0; i < 3; ++i) {
        edit->addWidget(labels_[2 + i], i, 0);
        edit->addWidget(Text1[2 + i], i, 1);
    }
    edit->addWidget(cmdSend, 2, 2);
    edit->setRowStretch(3, 1);

    auto* groups = new QHBoxLayout;
    groups->addWidget(Frame2, 3);
    groups->addWidget(Frame1, 2);
    auto* column = new QVBoxLayout(this);
    column->addLayout(groups, 1);
    column->addLayout(buttonRow({cmdCancel}));
    resize(620, 520);

    connect(cmdUpdate, &QPushButton::clicked, this, [this] { cmdUpdate_Click(); });
    connect(Text1[1], &QLineEdit::returnPressed, this, [this] { cmdUpdate_Click(); });
    connect(cmdSend, &QPushButton::clicked, this, [this] { cmdSend_Click(); });
    connect(Text1[4], &QLineEdit::returnPressed, this, [this] { cmdSend_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { reject(); });
}

void frmRimTalkDebug::load() {
    // The captions first: the scaling takes an empty label for a picture.
    fInitCaptions();
    VarnakForms().SetDeviceIndependentWindow(this);
    Text1[4]->clear();
    const QString address = QString::number(kDefaultDumpAddress, 16).toUpper();
    const QString segment = QString::number(kDefaultDumpSegment, 16).toUpper();
    Text1[1]->setText(address);
    Text1[3]->setText(address);
    Text1[0]->setText(segment);
    Text1[2]->setText(segment);
    session_ = MemoryDebugSession();
    RefreshDump();
}

void frmRimTalkDebug::fInitCaptions() {
    setWindowTitle(dialogText(kTxtDebugCaption));
    Frame2->setTitle(dialogText(kTxtDumpFrame));
    Frame1->setTitle(dialogText(kTxtEditFrame));
    for (int i : {0, 2}) labels_[static_cast<size_t>(i)]->setText(dialogText(kTxtStartSegment));
    for (int i : {1, 3}) labels_[static_cast<size_t>(i)]->setText(dialogText(kTxtStartAddress));
    labels_[4]->setText(dialogText(kTxtData));
    cmdUpdate->setText(dialogText(kTxtDialogRefresh));
    cmdSend->setText(dialogText(kTxtSendButton));
    cmdCancel->setText(dialogText(kTxtDialogCancel));
}

void frmRimTalkDebug::cmdUpdate_Click() {
    if (!session_.takeDumpTexts(Text1[0]->text().toStdString(), Text1[1]->text().toStdString()))
        return;
    RefreshDump();
}

void frmRimTalkDebug::cmdSend_Click() {
    BusyCursor busy;
    failureAlreadyShown(session_.send(Text1[2]->text().toStdString(),
                                      Text1[3]->text().toStdString(),
                                      Text1[4]->text().toStdString()));
}

void frmRimTalkDebug::RefreshDump() {
    ListView1->clear();
    std::vector<DumpRow> rows;
    {
        BusyCursor busy;
        rows = session_.RefreshDump();
    }
    for (const DumpRow& row : rows) {
        auto* item =
            new QTreeWidgetItem(ListView1, {qText(row.nr), qText(row.address), qText(row.value)});
        item->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
    }
    sizeColumns();
}

bool frmRimTalkDebug::eventFilter(QObject* watched, QEvent* event) {
    // The columns follow the list's own width, known only once the layout has placed it.
    if (watched == ListView1 && event->type() == QEvent::Resize) sizeColumns();
    return QDialog::eventFilter(watched, event);
}

void frmRimTalkDebug::sizeColumns() {
    const int quarter = ListView1->width() / 4;
    ListView1->setColumnWidth(0, kNrColumnWidth);
    ListView1->setColumnWidth(1, quarter);
    ListView1->setColumnWidth(2, quarter);
}

}  // namespace varnak
