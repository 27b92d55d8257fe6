#pragma once
// The splash window: who made the program and which version runs. Shown top-most by the
// start-up while the main window loads; it has no input of its own and is closed only
// by the start-up.
#include <QWidget>

class QLabel;

namespace varnak {

struct AppContext;

class frmSplash : public QWidget {
    Q_OBJECT
  public:
    explicit frmSplash(AppContext& context);

    QLabel* Image1 = nullptr;
    QLabel* lblLicenseTo = nullptr;
    QLabel* lblCompanyProduct = nullptr;
    QLabel* lblProductName = nullptr;
    QLabel* lblPlatform = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblCopyright = nullptr;
    QLabel* lblCompany = nullptr;
    QLabel* lblWarning = nullptr;
};

}  // namespace varnak
