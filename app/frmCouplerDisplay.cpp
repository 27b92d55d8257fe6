#include "app/frmCouplerDisplay.h"

namespace varnak {

frmCouplerDisplay::frmCouplerDisplay(QWidget* parent) : QWidget(parent) {
    setObjectName("frmCouplerDisplay");
    setAutoFillBackground(true);
    setMinimumSize(200, 120);
}

}  // namespace varnak
