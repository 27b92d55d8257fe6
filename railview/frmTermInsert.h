#pragma once
// Inserts terminals of one type into the project's rail, one or more times, at the position
// that follows from the tree node it was called on. One instance serves every call: OK only
// hides it, so its tree keeps expansion and selection for the next call; Cancel closes it,
// and the next call builds the tree afresh from the resource folder.
#include <QDialog>
#include <string>

#include "railview/terminal_catalog.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QTreeWidget;

namespace varnak {

class frmTermInsert : public QDialog {
    Q_OBJECT
  public:
    explicit frmTermInsert(QWidget* parent = nullptr);

    // Works out the rail and position from a coupler or terminal key and shows the dialog
    // modally; nothing opens for other keys or a rail that is not loaded.
    void fTerminalInsert(std::string& key);
    // Loads the dialog for a key as fTerminalInsert does, without showing it; false when
    // nothing would open.
    [[nodiscard]] bool prepare(const std::string& key);
    void fFillTerminalTree();
    void fInitInsertCaptions();
    const InsertTarget& target() const { return target_; }
    // The number field after a step of the up-down control.
    void spinInsertNr_Change(bool up);

    void cmdNew_Click();
    void cmdCancel_Click();

    QGroupBox* fraInsertTerm = nullptr;
    QTreeWidget* tvTerminalTree = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* txtMultipleTerm = nullptr;
    QToolButton* spinUp = nullptr;
    QToolButton* spinDown = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* txtTermName = nullptr;
    QPushButton* cmdNew = nullptr;
    QPushButton* cmdCancel = nullptr;

  public slots:
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    InsertTarget target_;
    bool loaded_ = false;
};

}  // namespace varnak
