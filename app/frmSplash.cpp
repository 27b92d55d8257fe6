#include "app/frmSplash.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QVBoxLayout>

#include "app/edition_texts.h"
#include "app/resource_folder.h"
#include "model/app_context.h"
#include "model/clsCommon.h"

namespace varnak {

frmSplash::frmSplash(AppContext& context)
    : QWidget(nullptr, Qt::SplashScreen | Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    QApplication::setOverrideCursor(Qt::WaitCursor);  // the start-up restores it

    for (QLabel** l : {&Image1, &lblLicenseTo, &lblCompanyProduct, &lblProductName, &lblPlatform,
                       &lblVersion, &lblCopyright, &lblCompany, &lblWarning}) {
        *l = new QLabel(this);
    }
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setMinimumSize(160, 120);
    QFont big = lblProductName->font();
    big.setPointSizeF(big.pointSizeF() * 2);
    big.setBold(true);
    lblProductName->setFont(big);
    lblWarning->setWordWrap(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblLicenseTo, 0, 0, 1, 2);
    grid->addWidget(Image1, 1, 0, 5, 1);
    grid->addWidget(lblCompanyProduct, 1, 1);
    grid->addWidget(lblProductName, 2, 1);
    grid->addWidget(lblPlatform, 3, 1);
    grid->addWidget(lblVersion, 4, 1);
    grid->addWidget(lblCopyright, 5, 1);
    grid->addWidget(lblCompany, 6, 0, 1, 2);
    grid->addWidget(lblWarning, 7, 0, 1, 2);
    setStyleSheet("frmSplash { border: 2px solid palette(dark); }");

    int companyId = context.VarnakCommon ? context.VarnakCommon->CompanyID() : 0;
    if (auto picture = splashPicture(companyId, shellResourceFolder(context))) {
        QPixmap pixmap(QString::fromStdString(picture->string()));
        if (!pixmap.isNull())
            Image1->setPixmap(
                pixmap.scaled(240, 180, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    SplashTexts t = splashTexts(context);
    auto q = [](const std::string& s) { return QString::fromStdString(s); };
    lblLicenseTo->setText(q(t.licenseTo));
    lblCompanyProduct->setText(q(t.companyProduct));
    lblProductName->setText(q(t.productName));
    lblPlatform->setText(q(t.platform));
    lblVersion->setText(q(t.version));
    lblCopyright->setText(q(t.copyright));
    lblCompany->setText(q(t.company));
    lblWarning->setText(q(t.warning));

    adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

}  // namespace varnak
