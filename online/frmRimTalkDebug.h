#pragma once
// The developer's memory window: 18 words of the coupler's memory from a segment and byte
// address typed in hexadecimal, listed as number, address and value, and the write of one
// word.
#include <QDialog>
#include <array>

#include "online/memory_debug.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace varnak {

class frmRimTalkDebug : public QDialog {
    Q_OBJECT
  public:
    explicit frmRimTalkDebug(QWidget* parent = nullptr);

    // Everything the window does when it loads, up to the first dump.
    void load();
    void fInitCaptions();
    MemoryDebugSession& session() { return session_; }

    QGroupBox* Frame2 = nullptr;  // Dump
    QGroupBox* Frame1 = nullptr;  // Edit
    // 0 and 1: the dump's segment and address; 2, 3 and 4: the write's segment, address and
    // word.
    std::array<QLineEdit*, 5> Text1{};
    QTreeWidget* ListView1 = nullptr;
    QPushButton* cmdUpdate = nullptr;
    QPushButton* cmdSend = nullptr;
    QPushButton* cmdCancel = nullptr;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void cmdUpdate_Click();
    void cmdSend_Click();
    void RefreshDump();
    void sizeColumns();

    std::array<QLabel*, 5> labels_{};
    MemoryDebugSession session_;
};

}  // namespace varnak
