#include "railview/QzTerm.h"

#include <QLabel>
#include <cmath>

#include "model/app_context.h"
#include "model/clsCommon.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "model/clsTerminal.h"
#include "railview/cell_texts.h"
#include "railview/picture_file.h"

namespace varnak {
namespace {

constexpr double kTwipsPerInch = 1440;
constexpr double kLabelHeight = 375;
constexpr double kGap = 200;
constexpr double kDesignPictureHeight = 5000;
constexpr double kFontPoints = 8.25;

// The texts are built with CR LF line ends; a label breaks its lines at LF.
QString shown(const std::string& text) {
    return QString::fromStdString(text).replace("\r\n", "\n");
}

QLabel* label(const char* name, const char* text, Qt::Alignment alignment, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setAlignment(alignment);
    return l;
}

}  // namespace

double railTwipsPerPixel(const QWidget& widget) {
    const int dpi = widget.logicalDpiX();
    return dpi > 0 ? kTwipsPerInch / dpi : 15.0;
}

QzTerm::QzTerm(QWidget* parent) : QWidget(parent) {
    setObjectName("QzTerm");
    Font = parent ? parent->font() : font();
    QFont f = font();
    f.setPointSizeF(kFontPoints);
    setFont(f);
    PosNrViewLayer = label("PosNrViewLayer", "ViewLayer", Qt::AlignHCenter | Qt::AlignTop, this);
    PosNrHardwareLayer =
        label("PosNrHardwareLayer", "HardwareLayer", Qt::AlignHCenter | Qt::AlignTop, this);
    TermPic = new TermPicture(this);
    QzType = label("QzType", "Type", Qt::AlignHCenter | Qt::AlignTop, this);
    QZInfo = label("QZInfo", "", Qt::AlignLeft | Qt::AlignTop, this);
    const double t = railTwipsPerPixel(*this);
    const int labelHeight = static_cast<int>(std::lround(kLabelHeight / t));
    for (QLabel* l : {PosNrViewLayer, PosNrHardwareLayer, QzType})
        l->resize(l->width(), labelHeight);
    TermPic->resize(TermPic->width(), static_cast<int>(std::lround(kDesignPictureHeight / t)));
}

void QzTerm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fLayout();
}

void QzTerm::fLayout() {
    const int gap = static_cast<int>(std::lround(kGap / railTwipsPerPixel(*this)));
    const int w = width();
    int top = gap;
    for (QWidget* child :
         {static_cast<QWidget*>(PosNrViewLayer), static_cast<QWidget*>(PosNrHardwareLayer),
          static_cast<QWidget*>(TermPic)}) {
        child->setGeometry(0, top, w, child->height());
        top += child->height();
    }
    top += gap;
    QzType->setGeometry(0, top, w, QzType->height());
    top += QzType->height() + gap;
    QZInfo->setGeometry(0, top, w, height());
}

void QzTerm::showPicture(const std::string& pictureName, bool coupler,
                         const std::string& typeName) {
    const std::string resources = gfVarnakProject()->FullPathResourceFolder();
    const auto file =
        fPictureFile(resources, pictureName, coupler ? DeviceKind::Coupler : DeviceKind::Terminal);
    if (file)
        TermPic->loadPicture(QString::fromStdString(file->string()), shown(typeName));
    else
        TermPic->showPlaceholder(shown(typeName));
}

void QzTerm::setQzObjTermItem(const std::shared_ptr<clsTerminal>& objTermItem) {
    terminal_ = objTermItem;
    if (!objTermItem) {
        // Nothing of the terminal that stood here before stays on the screen.
        PosNrViewLayer->clear();
        PosNrHardwareLayer->clear();
        TermPic->clear();
        QzType->clear();
        return;
    }
    showPicture(objTermItem->InfoBitmap(), false, objTermItem->InfoName());
    QzType->setText(shown(fTerminalTypeText(objTermItem->InfoName())));
    PosNrViewLayer->setText(QString::number(objTermItem->ConfRailPosition()));
    PosNrHardwareLayer->clear();
}

void QzTerm::setQzObjCouplerItem(const std::shared_ptr<clsCoupler>& objCoupler,
                                 CouplerInfoQueries& queries) {
    if (!objCoupler) return;
    showPicture(objCoupler->InfoBitmap(), true, objCoupler->InfoName());
    QzType->setText(shown(objCoupler->InfoName()));
    PosNrViewLayer->setText("0");
    PosNrHardwareLayer->clear();
    AppContext& c = varnak();
    const std::string company = c.VarnakCommon ? c.VarnakCommon->CompanyName() : "";
    if (fCouplerInfoShown(company, gfVarnakProject()->Online()))
        QZInfo->setText(shown(fCouplerInfoText(objCoupler->InfoName(), queries)));
    else
        QZInfo->clear();
}

}  // namespace varnak
