#pragma once
// A script initialisation as a run of single requests, so that its window can make one
// request at a time from the event loop and the user's Cancel gets through between them:
// each setting is written, read back twice and compared; a coupler script lifts the write
// protection first and sets it again at the end, then resets the coupler when asked.
//
// A failed request ends the run with the no-communication message (the protection is
// still set again, the coupler not reset). A value that does not come back asks the user
// whether to go on; Cancel there, or a cancel between two requests, ends the run after
// the current request, with the protection set again and no reset.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "online/script_lines.h"

namespace varnak {

class clsCoupler;

// One register setting to one device.
struct ScriptWrite {
    int32_t railPosition = 0;
    int32_t table = 0;  // coupler table, or the channel of a terminal
    int32_t offset = 0;
    int32_t value = 0;     // the register word
    std::string status;    // the progress text while it runs
    int32_t progress = 0;  // the progress bar's value while it runs
    std::string mismatch;  // the message when another value comes back
};

struct ScriptPlan {
    std::vector<ScriptWrite> writes;
    bool protection = false;  // lift before, set after
    bool reset = false;       // a software reset after a run that went through
    int32_t progressMax = 0;
};

// A terminal script's settings to every channel of each terminal with a register model
// at rail positions first..last of the rail (positions outside the rail hold none).
ScriptPlan terminalScriptPlan(const TerminalScript& script, clsCoupler& rail, int32_t first,
                              int32_t last);
// A coupler script's enabled sections, within the protection bracket.
ScriptPlan couplerScriptPlan(const CouplerScript& script, bool reset);

class ScriptRun {
  public:
    enum class Outcome { Running, Completed, Cancelled, Aborted, Failed };
    using Progress = std::function<void(const std::string& status, int32_t value)>;

    ScriptRun(ScriptPlan plan, Progress progress);

    // Makes the next request; false once the run is over and nothing more will be sent.
    bool step();
    // The run stops after the current request.
    void cancel() { cancelRequested_ = true; }
    bool over() const { return phase_ == Phase::Done; }
    Outcome outcome() const { return outcome_; }

    // The request that failed the run and the control's result code for it, so that a
    // failure can be told apart from a slow answer.
    struct Failure {
        std::string request;
        int32_t code = 0;
    };
    const std::optional<Failure>& failure() const { return failure_; }

  private:
    enum class Phase { Lift, Write, ReadBack, Compare, Set, Reset, Done };

    void next();
    void closeRun(Outcome outcome);
    [[nodiscard]] bool failed(int32_t code);
    void noteFailure(int32_t code);

    ScriptPlan plan_;
    Progress progress_;
    Phase phase_ = Phase::Lift;
    size_t index_ = 0;
    int32_t readBack_ = 0;
    bool cancelRequested_ = false;
    bool emptyTold_ = false;
    Outcome outcome_ = Outcome::Running;
    std::optional<Failure> failure_;
};

}  // namespace varnak
