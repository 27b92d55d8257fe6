#pragma once
// The serial settings dialog: port, baud rate, interface type, reply time-out, station
// address and the terminal-bus current check, with a connection test. One instance
// lives as long as the main window; every opening re-reads the stored settings.
#include <QDialog>
#include <array>
#include <functional>

#include "app/com_settings.h"

class QCheckBox;
class QLabel;
class QMovie;
class QTabWidget;
class QComboBox;
class QPushButton;
class QSpinBox;

namespace varnak {

struct AppContext;

class frmComParam : public QDialog {
    Q_OBJECT
  public:
    explicit frmComParam(AppContext& context, QWidget* parent = nullptr);

    // Configures and opens the control's port from the stored settings.
    void InitComPort();

    // Fills the dialog from the store and the port probe; runs on every opening.
    void fLoad();
    // The settings as the dialog shows them; what OK and Test store.
    ComSettings fShownSettings() const;

    // For tests: how a port other than the open one is tried.
    void setPortProbe(std::function<bool(int)> probe) { probe_ = std::move(probe); }

    enum List { kPort = 0, kBaud, kDataBits, kParity, kStopBits, kType };
    std::array<QComboBox*, 6> comboSelPort{};
    QSpinBox* fpLITimeOut = nullptr;
    QSpinBox* fpLImultiPoint = nullptr;
    QCheckBox* chkCheckCurrentKBUS = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdTest = nullptr;
    QLabel* Animation1 = nullptr;  // plays while the connection test runs

    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdTest_Click();

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The port list is as wide as this many characters (more when the dialog is wider).
    static constexpr int kPortListChars = 24;

    void fFillComLists();
    // Fits the port list's entries to its width.
    void fitPortEntries();
    void fInitCurrentCheck();
    void fInitComCaptions();
    void setButtonsEnabled(bool enabled);

    AppContext& context_;
    ComSettings loaded_;
    std::function<bool(int)> probe_;
    std::array<QLabel*, 8> lblSelectedPort_{};
    QTabWidget* SSTab1_ = nullptr;
    QMovie* clip_ = nullptr;
};

}  // namespace varnak
