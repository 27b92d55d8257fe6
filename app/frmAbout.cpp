#include "app/frmAbout.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QProcess>
#include <QPushButton>

#include "app/edition_texts.h"
#include "app/resource_folder.h"
#include "app/shell_texts.h"
#include "model/app_context.h"
#include "model/clsCommon.h"
#include "windowkit/clsForms.h"
#include "windowkit/shared_texts.h"

namespace varnak {
namespace {

bool startDetached(const std::string& program) {
    return QProcess::startDetached(QString::fromStdString(program), {});
}

}  // namespace

frmAbout::frmAbout(AppContext& context, QWidget* parent)
    : QDialog(parent), context_(context), starter_(startDetached) {
    setModal(true);
    picLogo = new QLabel;
    picLogo->setFixedSize(96, 96);
    picLogo->setAlignment(Qt::AlignCenter);
    lblTitle = new QLabel;
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    lblTitle->setFont(titleFont);
    lblVersion = new QLabel;
    lblDescription = new QLabel;
    cmdOk = new QPushButton("OK");
    cmdOk->setDefault(true);
    cmdSysInfo = new QPushButton;

    auto* grid = new QGridLayout(this);
    grid->addWidget(picLogo, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(lblTitle, 0, 1);
    grid->addWidget(lblVersion, 1, 1);
    grid->addWidget(lblDescription, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdSysInfo);
    grid->addLayout(buttons, 3, 0, 1, 2);

    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::fStartSysInfo);

    resize(460, 240);
    VarnakForms().SetDeviceIndependentWindow(this);
    fSetLanguageTexts();
    int companyId = context.VarnakCommon ? context.VarnakCommon->CompanyID() : 0;
    if (auto logo = aboutLogo(companyId, shellResourceFolder(context))) {
        QPixmap pixmap(QString::fromStdString(logo->string()));
        if (!pixmap.isNull())
            picLogo->setPixmap(
                pixmap.scaled(picLogo->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
}

void frmAbout::fSetLanguageTexts() {
    AboutTexts t = aboutTexts(context_);
    setWindowTitle(QString::fromStdString(t.caption));
    lblVersion->setText(QString::fromStdString(t.version));
    lblTitle->setText(QString::fromStdString(t.title));
    lblDescription->setText(QString::fromStdString(t.description));
    cmdSysInfo->setText(QString::fromStdString(context_.text(kTxtSysInfoButton)));
}

void frmAbout::fStartSysInfo() {
    auto program = systemInfoProgram(*context_.registry);
    if (program && starter_ && starter_(*program)) return;
    context_.ui->messageBox(context_.text(kTxtNoSysInfo), vbInformation | vbOKOnly, kProgramTitle);
}

}  // namespace varnak
