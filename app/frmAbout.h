#pragma once
// The about window of the Help menu: edition, version, contact lines and the way to the
// system-information program.
#include <QDialog>
#include <functional>
#include <string>

class QLabel;
class QPushButton;

namespace varnak {

struct AppContext;

class frmAbout : public QDialog {
    Q_OBJECT
  public:
    explicit frmAbout(AppContext& context, QWidget* parent = nullptr);

    void fSetLanguageTexts();
    // Starts the system-information program, or says that there is none.
    void fStartSysInfo();
    // For tests: how a program is started (true when it started).
    void setProgramStarter(std::function<bool(const std::string&)> starter) {
        starter_ = std::move(starter);
    }

    QLabel* picLogo = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdSysInfo = nullptr;

  private:
    AppContext& context_;
    std::function<bool(const std::string&)> starter_;
};

}  // namespace varnak
