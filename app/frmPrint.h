#pragma once
// The report selection: the user picks reports of the open rail and where they go (the
// preview window or the printer); OK runs each chosen report in row order.
#include <QDialog>
#include <array>
#include <cstdint>
#include <functional>
#include <string>

class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace varnak {

struct AppContext;

inline constexpr int kReportRowCount = 8;

class frmPrint : public QDialog {
    Q_OBJECT
  public:
    explicit frmPrint(AppContext& context, QWidget* parent = nullptr);

    // Shows the dialog modally.
    void fKonstruktor();

    void Form_Activate();
    void ssradDestination_Click();
    void cmdPrintSetup_Click();
    void cmdCancel_Click();
    void cmdOk_Click();

    // What a report row runs: by default a preview form for (destination, row, path).
    using ReportRunner = std::function<void(int32_t destination, int32_t row, const std::string&)>;
    void setReportRunner(ReportRunner runner) { runReport_ = std::move(runner); }
    // What prints the rail picture: by default the rail view's image on the printer.
    void setRailPicturePrinter(std::function<void()> print) {
        printRailPicture_ = std::move(print);
    }

    QListWidget* lstPrint = nullptr;
    std::array<QRadioButton*, 2> ssradDestination{};
    QGroupBox* Frame1 = nullptr;
    QLabel* lblPrinter = nullptr;
    QLabel* lblSelectedPrinter = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdPrintSetup = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void Form_Load();

    AppContext& context_;
    ReportRunner runReport_;
    std::function<void()> printRailPicture_;
};

// The Project menu's print command: the report selection over the main window.
void fShowReportSelection(AppContext& context, QWidget* parent);
// The Project menu's printer set-up.
void fShowPrinterSetup(QWidget* parent);

}  // namespace varnak
