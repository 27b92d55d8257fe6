#pragma once
// What the upload and download dialogs share: the progress frame (a bar of 60 steps that
// stays full beyond them and the status text, the dialog repainted after each text) and
// the terminal range (first and last rail position with the word between them).
#include <QGroupBox>
#include <array>
#include <functional>

#include "online/transfer_run.h"

class QCheckBox;
class QDialog;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace varnak {

class clsCoupler;

class TransferProgressFrame : public QGroupBox {
    Q_OBJECT
  public:
    TransferProgressFrame();

    // Shows the frame with the bar at 0 of 60.
    void start();
    // Room for the longest status text in the label's font; after the window was scaled.
    void fitToFont();
    // The transfer's progress bound to the bar and text.
    TransferProgress progress(std::function<bool()> aborted, std::function<void(int)> boxDone);

    QProgressBar* proBar = nullptr;
    QLabel* lblProgBar = nullptr;

  private:
    void showText(const std::string& text);
};

// The range fields: both enabled with "1" and the terminal count when the rail has
// terminals, else disabled and empty (together with the box that uses them).
struct TerminalRangeFields {
    TerminalRangeFields();
    QHBoxLayout* layout() const { return layout_; }
    void bind(clsCoupler& rail, QWidget* box);

    QLineEdit* MaskEdBoxStartKlemme = nullptr;
    QLineEdit* MaskEdBoxEndKlemme = nullptr;
    QLabel* Label1 = nullptr;

  private:
    QHBoxLayout* layout_ = nullptr;
};

using TransferBoxes = std::array<QCheckBox*, kTransferBoxes>;
using TransferFunction =
    std::function<TransferReport(const TransferChoice&, const TransferProgress&)>;

// The dialog's part of a transfer: the choice taken from the boxes and the range, the
// hourglass, the start button disabled and the progress shown while it runs, each processed
// box unticked; then the dialog hides and a report with failures is shown under the
// heading (a string id), a clean one with notes under the notes' heading.
struct TransferDialogRun {
    QDialog* dialog;
    QPushButton* start;
    TransferProgressFrame* frame;
    const TransferBoxes& boxes;
    const TerminalRangeFields& range;
    std::function<bool()> aborted;
    int headingTextId;
    // A clean run's notes under this heading: what was passed over or sent unchecked.
    int notesHeadingTextId;

    TransferReport operator()(const TransferFunction& transfer) const;
};

}  // namespace varnak
