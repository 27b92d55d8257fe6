#pragma once
// The preview of one report of the active rail: writes the report, shows it in a modal
// window or prints it, and when it closes keeps the report as an RTF file in the project
// folder.
#include <QDialog>
#include <cstdint>
#include <functional>
#include <string>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace varnak {

struct AppContext;

// Destinations of a report run.
inline constexpr int32_t kDestinationWindow = 0;
inline constexpr int32_t kDestinationPrinter = 1;

class frmPreView : public QDialog {
    Q_OBJECT
  public:
    explicit frmPreView(AppContext& context, QWidget* parent = nullptr);

    // Writes the report of a row (1, 4, 5 or 6) for the active rail, shows it (window) or
    // prints it (printer), then saves it to the file path. Without an active rail nothing
    // happens; without an open project (or with an empty path) nothing is saved and the
    // window names no file.
    void fConstructor(int32_t destination, int32_t row, const std::string& path);

    void cmdPrint_Click();

    // How the window is shown modally; tests replace it (default: exec).
    void setShowModal(std::function<void(frmPreView&)> show) { showModal_ = std::move(show); }
    // The moment written into the report head; by default now in the system's format.
    void setDateTimeText(std::string text) { dateTime_ = std::move(text); }

    QPlainTextEdit* rtfView = nullptr;
    QLabel* lblFileName = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdOk = nullptr;

    // The report as written (CR LF line ends).
    const std::string& reportText() const { return text_; }

  private:
    void Form_Load();
    bool savesReport() const;
    void saveReport();

    AppContext& context_;
    int32_t destination_ = kDestinationWindow;
    int32_t row_ = 0;
    std::string path_;
    std::string text_;
    std::string dateTime_;
    std::function<void(frmPreView&)> showModal_;
};

}  // namespace varnak
