#pragma once
// The rail view's window in the main window's child area. It shows nothing yet: the
// drawing of the rail comes with the rail view itself.
#include <QWidget>

namespace varnak {

class frmCouplerDisplay : public QWidget {
    Q_OBJECT
  public:
    explicit frmCouplerDisplay(QWidget* parent = nullptr);
};

}  // namespace varnak
