#pragma once
#include <QDialog>
#include <cstdint>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;

namespace varnak {

// Opens one of the project's rails; the list follows the project folder each time the
// dialog is shown.
class frmRailOpen : public QDialog {
    Q_OBJECT
  public:
    explicit frmRailOpen(QWidget* parent = nullptr);

    void fillRailList();
    void cmdSelect_Click();
    void cmdCancel_Click();

    QLabel* fraSelectRail = nullptr;
    QComboBox* comboRailName = nullptr;
    QWidget* Animation1 = nullptr;  // busy indicator while the rail loads
    QPushButton* cmdSelect = nullptr;
    QPushButton* cmdCancel = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;
};

// The rail folders of a project folder: entries whose name ends in ".CF" in any letter
// case, with their whole names, in the order of the name.
std::vector<std::string> railFoldersOf(const std::string& projectFolder);

// Tells the user why a rail did not open, naming the rail file where that helps to find
// it; after an open, which of its terminal files the rail could not use.
void showRailOpenResult(int32_t result, const std::string& file);

}  // namespace varnak
