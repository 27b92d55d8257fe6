#include "online/script_run.h"

#include <array>

#include "model/app_context.h"
#include "model/clsCoupler.h"
#include "model/clsTerminal.h"
#include "online/online_texts.h"
#include "online/transfer_run.h"
#include "windowkit/control_requests.h"
#include "windowkit/dialog_support.h"

namespace varnak {
namespace {

std::string terminalMismatch(int32_t position, int32_t channel, int32_t offset) {
    return "Klemme an Position: " + std::to_string(position) +
           "\n Signalkanal: " + std::to_string(channel + 1) +
           "\n Register: " + std::to_string(offset) +
           "\n\n Fehler !!!\n Datum wurde von Klemme nicht \xC3\xBC"
           "bernommen";
}

std::string couplerMismatch(const std::string& line) {
    return " Fehler !!!\n\n Datum " + line +
           " wurde von Koppler nicht \xC3\xBC"
           "bernommen";
}

}  // namespace

ScriptPlan terminalScriptPlan(const TerminalScript& script, clsCoupler& rail, int32_t first,
                              int32_t last) {
    ScriptPlan plan;
    int32_t done = 0;
    for (const auto& terminal : terminalsInRange(rail, {first, last})) {
        if (!terminal->InfoTermRegisterModell()) continue;
        ++done;
        const int32_t position = terminal->ConfRailPosition();
        for (const ScriptSetting& line : script.lines)
            for (int32_t ch = 0; ch < terminal->InfoNrLogSigChnl(); ++ch)
                plan.writes.push_back(
                    {position, ch, line.offset, line.value,
                     "Register " + std::to_string(line.offset) + "   Kanal " + std::to_string(ch),
                     done, terminalMismatch(position, ch, line.offset)});
    }
    plan.progressMax = done;
    return plan;
}

ScriptPlan couplerScriptPlan(const CouplerScript& script, bool reset) {
    ScriptPlan plan;
    plan.protection = true;
    plan.reset = reset;
    plan.progressMax = kCouplerScriptLastTable;
    for (const CouplerScriptSection& section : script.sections)
        for (const ScriptSetting& line : section.lines)
            plan.writes.push_back({0, section.table, line.offset, line.value,
                                   "Table " + std::to_string(section.table) + "   Register " +
                                       std::to_string(line.offset),
                                   section.table, couplerMismatch(line.text)});
    return plan;
}

ScriptRun::ScriptRun(ScriptPlan plan, Progress progress)
    : plan_(std::move(plan)), progress_(std::move(progress)) {
    phase_ = plan_.protection ? Phase::Lift : Phase::Write;
    if (!plan_.protection && plan_.writes.empty()) closeRun(Outcome::Completed);
}

void ScriptRun::next() {
    ++index_;
    phase_ = Phase::Write;
    if (index_ >= plan_.writes.size()) closeRun(Outcome::Completed);
}

void ScriptRun::closeRun(Outcome outcome) {
    outcome_ = outcome;
    phase_ = plan_.protection ? Phase::Set : Phase::Done;
}

void ScriptRun::noteFailure(int32_t code) {
    if (failure_) return;  // the first failure ended the run
    std::string request;
    switch (phase_) {
        case Phase::Lift:
            request = "lift of the write protection";
            break;
        case Phase::Set:
            request = "set of the write protection";
            break;
        case Phase::Reset:
            request = "software reset";
            break;
        default: {
            const ScriptWrite& w = plan_.writes[index_];
            request = std::string(phase_ == Phase::Write ? "write" : "read-back") +
                      " of position " + std::to_string(w.railPosition) + " table " +
                      std::to_string(w.table) + " register " + std::to_string(w.offset);
        }
    }
    failure_ = Failure{request, code};
}

bool ScriptRun::failed(int32_t code) {
    if (code == 0) return false;
    noteFailure(code);
    showNoCommunication();
    closeRun(Outcome::Failed);
    return true;
}

bool ScriptRun::step() {
    if (cancelRequested_ && outcome_ == Outcome::Running) {
        if (phase_ == Phase::Lift) {
            // Nothing was sent yet: nothing to close either.
            outcome_ = Outcome::Cancelled;
            phase_ = Phase::Done;
        } else {
            closeRun(Outcome::Cancelled);
        }
    }
    std::array<int32_t, 1> word{0};
    switch (phase_) {
        case Phase::Lift:
            if (failed(controlWriteProtection(false))) break;
            index_ = 0;
            phase_ = Phase::Write;
            if (plan_.writes.empty()) closeRun(Outcome::Completed);
            break;
        case Phase::Write: {
            const ScriptWrite& w = plan_.writes[index_];
            if (progress_) progress_(w.status, w.progress);
            word[0] = w.value;
            if (!failed(controlWriteRegisters(w.railPosition, w.table, w.offset, 1, word)))
                phase_ = Phase::ReadBack;
            break;
        }
        case Phase::ReadBack:
        case Phase::Compare: {
            // Read twice: the second reading counts.
            const ScriptWrite& w = plan_.writes[index_];
            if (failed(controlReadRegisters(w.railPosition, w.table, w.offset, 1, word))) break;
            if (phase_ == Phase::ReadBack) {
                phase_ = Phase::Compare;
                break;
            }
            if ((word[0] & 0xFFFF) != w.value) {
                AppContext& c = varnak();
                const int answer = c.ui->messageBox(w.mismatch + "\n\n" + c.text(kTxtScriptGoOn),
                                                    vbOKCancel | vbInformation, "");
                if (answer == vbCancel) {
                    closeRun(Outcome::Aborted);
                    break;
                }
            }
            next();
            break;
        }
        case Phase::Set: {
            const int32_t code = controlWriteProtection(true);
            if (code != 0 && outcome_ != Outcome::Failed) {
                noteFailure(code);
                showNoCommunication();
                outcome_ = Outcome::Failed;
            }
            phase_ = plan_.reset && outcome_ == Outcome::Completed ? Phase::Reset : Phase::Done;
            break;
        }
        case Phase::Reset:
            if (const int32_t code = controlSoftwareReset()) {
                noteFailure(code);
                showNoCommunication();
                outcome_ = Outcome::Failed;
            }
            phase_ = Phase::Done;
            break;
        case Phase::Done:
            break;
    }
    if (phase_ == Phase::Done && outcome_ == Outcome::Completed && plan_.writes.empty() &&
        !emptyTold_) {
        emptyTold_ = true;
        AppContext& c = varnak();
        c.ui->messageBox(c.text(kTxtScriptNothingToWrite), vbInformation, "");
    }
    return phase_ != Phase::Done;
}

}  // namespace varnak
