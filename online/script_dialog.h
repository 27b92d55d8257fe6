#pragma once
// What both script dialogs share: the run made one request at a time from the event loop
// by a timer that re-arms itself after each request (so that the dialog repaints and the
// user's Cancel gets through), the progress frame showing the run, and the rule that
// Cancel, Escape or closing the window during a run stops it after its current request and
// closes the dialog once the run is over.
#include <QDialog>
#include <QObject>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "online/script_run.h"

class QPushButton;
class QVBoxLayout;

namespace varnak {

class TransferProgressFrame;

class ScriptStepper : public QObject {
    Q_OBJECT
  public:
    ScriptStepper(QDialog* dialog, QPushButton* start, TransferProgressFrame* frame);
    ~ScriptStepper() override;

    // Starts the run: the start button disabled, the frame shown at 0 of the plan's
    // maximum with "Init...", the first request from the event loop.
    void start(ScriptPlan plan);
    bool running() const { return run_ != nullptr; }
    // The dialog is asked to close (Cancel, Escape, the window's close button): true when
    // a run takes the request and closes the dialog itself once it stopped.
    bool closeRequested();
    // The outcome of the last run, and the request that failed it.
    ScriptRun::Outcome outcome() const { return outcome_; }
    const std::optional<ScriptRun::Failure>& failure() const { return failure_; }

  private:
    void nextRequest();

    QDialog* dialog_;
    QPushButton* start_;
    TransferProgressFrame* frame_;
    std::unique_ptr<ScriptRun> run_;
    QTimer timer_;
    ScriptRun::Outcome outcome_ = ScriptRun::Outcome::Running;
    std::optional<ScriptRun::Failure> failure_;
};

// The dialog both scripts are: the script's own frame on top, the progress frame, OK and
// Cancel; OK starts a run, Cancel (Escape, the window's close button) stops a running one
// after its current request or closes the dialog.
class ScriptDialog : public QDialog {
    Q_OBJECT
  public:
    ScriptDialog(const char* name, QWidget* parent);
    ~ScriptDialog() override;
    ScriptStepper& stepper() { return *stepper_; }

    QPushButton* cmdPrjOk = nullptr;
    QPushButton* cmdPrjCancel = nullptr;
    TransferProgressFrame* fraProgessBar = nullptr;

  public slots:
    void reject() override;

  protected:
    // The script's own frame, above the progress frame.
    void addFrame(QWidget* frame);
    // The end of the load: the dialog scaled, the progress frame hidden.
    void finishLoad();
    virtual void cmdPrjOk_Click() = 0;

  private:
    QVBoxLayout* column_ = nullptr;
    ScriptStepper* stepper_ = nullptr;
};

// The one-time checks of a script window's opening: online, and the file read and valid.
// False after the message that says why (nothing is sent).
bool scriptMayRun();
bool scriptFileUsable(bool readable, const std::vector<std::string>& invalid,
                      const std::string& path);

}  // namespace varnak
