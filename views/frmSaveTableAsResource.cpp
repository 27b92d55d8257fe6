#include "views/frmSaveTableAsResource.h"

#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "windowkit/clsForms.h"
#include "windowkit/dialog_support.h"

namespace varnak {
namespace {

constexpr int kTxtOk = 872;
constexpr int kTxtCancel = 873;

}  // namespace

frmSaveTableAsResource::frmSaveTableAsResource(QWidget* parent) : QDialog(parent) {
    setObjectName("frmSaveTableAsResource");
    setWindowTitle("Klemme als Resource");
    setModal(true);
    Label1 = new QLabel("Label1");
    Label1->setObjectName("Label1");
    Frame1 = new QGroupBox("Ziel Resource-Datei");
    Dir1 = new QLineEdit;
    Dir1->setObjectName("Dir1");
    File1 = new QListWidget;
    File1->setObjectName("File1");
    Label2 = new QLabel("Label2");
    Label2->setObjectName("Label2");
    txtFileName = new QLineEdit;
    txtFileName->setObjectName("txtFileName");
    cmdOk = new QPushButton;
    cmdOk->setObjectName("cmdOk");
    cmdCancel = new QPushButton;
    cmdCancel->setObjectName("cmdCancel");
    cmdOk->setDefault(true);
    cmdCancel->setAutoDefault(false);

    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(Dir1, 1);
    folderRow->addWidget(folderChooserButton(this, Dir1));
    auto* frame = new QVBoxLayout(Frame1);
    frame->addLayout(folderRow);
    frame->addWidget(File1, 1);
    frame->addWidget(Label2);
    frame->addWidget(txtFileName);
    auto* column = new QVBoxLayout(this);
    column->addWidget(Label1);
    column->addWidget(Frame1, 1);
    column->addLayout(buttonRow({cmdOk, cmdCancel}));
    resize(560, 420);

    connect(Dir1, &QLineEdit::textChanged, this, [this] { Dir1_Change(); });
    // Enter in the folder field would reach the dialog's default button and save.
    Dir1->installEventFilter(this);
    connect(File1, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { File1_Click(item->text()); });
    connect(cmdOk, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { reject(); });
}

bool frmSaveTableAsResource::load(int32_t lTermPos, int32_t lSignalChannel) {
    if (!session_.open(lTermPos, lSignalChannel)) return false;
    BusyCursor busy;
    fInit_Language();
    Label1->setText(qText(session_.label()));
    session_.loadFromDevice();
    // Before the target empties Label2: the scaling takes an empty label for a picture.
    VarnakForms().SetDeviceIndependentWindow(this);
    fInitTargetFile();
    return true;
}

void frmSaveTableAsResource::fKonstruktor(int32_t& lTermPos, int32_t& lSignalChannel) {
    if (!load(lTermPos, lSignalChannel)) return;
    exec();
}

void frmSaveTableAsResource::fInit_Language() {
    cmdOk->setText(dialogText(kTxtOk));
    cmdCancel->setText(dialogText(kTxtCancel));
}

void frmSaveTableAsResource::fInitTargetFile() {
    Label2->clear();
    Dir1->setText(qText(session_.proposedFolder()));
    txtFileName->setText(qText(session_.proposedFileName()));
}

void frmSaveTableAsResource::Dir1_Change() {
    File1->clear();
    // A folder that is no full path lists nothing: OK refuses it, and the program's current
    // folder is not the target.
    if (!QDir::isAbsolutePath(Dir1->text())) return;
    const QDir folder(Dir1->text());
    File1->addItems(folder.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase));
}

bool frmSaveTableAsResource::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Dir1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Dir1_Open();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmSaveTableAsResource::Dir1_Open() {
    const QString folder = Dir1->text();
    if (QDir::isAbsolutePath(folder) && QDir::cleanPath(folder) != folder)
        Dir1->setText(QDir::cleanPath(folder));
    else
        Dir1_Change();  // the folder's files as they are now
}

void frmSaveTableAsResource::File1_Click(const QString& name) {
    Label2->setText(QDir(Dir1->text()).filePath(name));
    txtFileName->setText(name);
}

void frmSaveTableAsResource::cmdOk_Click() {
    TableResourceSave::Outcome outcome;
    {
        BusyCursor busy;
        outcome = session_.save(Dir1->text().toStdString(), txtFileName->text().toStdString());
    }
    // A target that was refused or could not be written leaves the dialog open for another
    // choice.
    if (outcome == TableResourceSave::Outcome::Saved ||
        outcome == TableResourceSave::Outcome::UploadFailed)
        accept();
}

}  // namespace varnak
