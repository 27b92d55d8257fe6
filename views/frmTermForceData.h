#pragma once
// Monitoring and forcing one terminal channel: its image address on the "Info" tab, its
// bit every 10 ms and the button that forces an output on the "Online" tab (enabled only
// while online). The reads and writes live in views/channel_force.h.
#include <QDialog>
#include <QTimer>
#include <string>

#include "views/channel_force.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace varnak {

class frmTermForceData : public QDialog {
    Q_OBJECT
  public:
    explicit frmTermForceData(QWidget* parent = nullptr);

    // Opens the dialog for a channel key; without an active coupler message 469 instead.
    void fKonstruktor(std::string& szKey);
    // Everything fKonstruktor does before showing the dialog; false when it is not shown.
    [[nodiscard]] bool load(const std::string& key);
    ChannelForce& channel() { return force_; }

    QTabWidget* SSTab1 = nullptr;
    QLabel* lblAdress = nullptr;
    QLineEdit* txtAdress = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* txtMontiorValue = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* cmdWrite = nullptr;
    QPushButton* cmdExit = nullptr;
    // Shown while the monitor's reads fail: the value then is the last one read.
    QLabel* lblNoCommunication = nullptr;
    QTimer Timer1;

  public slots:
    void done(int result) override;

  private:
    void Timer1_Timer();
    void cmdWrite_Click();

    ChannelForce force_;
};

}  // namespace varnak
