#include "couplercfg/cycle_time_measurement.h"

#include <cstdio>

#include "comctl/QZcomOCX.h"
#include "couplercfg/coupler_settings_support.h"
#include "couplerservices/coupler_services.h"
#include "model/app_context.h"
#include "model/clsColTables.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "model/clsTable.h"
#include "model/device_register_model.h"
#include "settingsforms/settings_messages.h"

namespace varnak {
namespace {

constexpr float kUnitsPerMs = 125.0f;
constexpr std::array<int32_t, kCycleTimeValueCount> kRestartValues{65535, 0, 0, 0};

}  // namespace

std::string cycleTimeText(int32_t units) {
    const float ms = static_cast<float>(units) / kUnitsPerMs;
    char text[32];
    std::snprintf(text, sizeof text, "%08.3f", static_cast<double>(ms));
    return text;
}

CycleTimeMeasurement::CycleTimeMeasurement(Evaluation evaluation)
    : evaluation_(std::move(evaluation)) {
    if (!evaluation_)
        evaluation_ = [](bool on) {
            return VarnakCouplerServices().fCouplerCycleTimeEvaluation(on);
        };
    timerCycleTime_.setSingleShot(true);
    timerCycleTime_.setTimerType(Qt::PreciseTimer);
    timerCycleTime_.setInterval(kCycleTimePollMs);
    QObject::connect(&timerCycleTime_, &QTimer::timeout, [this] { tick(); });
}

CycleTimeMeasurement::~CycleTimeMeasurement() = default;

bool CycleTimeMeasurement::open() {
    CouplerTable settings = activeCouplerTable(kControllerSettingsTable);
    online_ = gfVarnakProject()->Online();
    if (settings.coupler) results_ = settings.coupler->clsColTables()->Item(kCycleTimeTable);
    settings_ = settings.table;
    if (settings_ && results_ && online_)
        lastResult_ = results_->ConfUpload(0, kCycleTimeValueCount);
    if (!settings_ || !results_ || (online_ && lastResult_ != 0)) {
        settings_.reset();
        results_.reset();
        showNoCommunication();
        return false;
    }
    return true;
}

bool CycleTimeMeasurement::evaluationRuns() {
    if (!settings_) return false;
    if (online_) lastResult_ = settings_->ConfUpload(kControllerFlagsRegister, 1);
    return (settings_->ConfRegisterValue(kControllerFlagsRegister) & kCycleTimeEvaluationBit) != 0;
}

void CycleTimeMeasurement::setActive(bool on) {
    if (!results_) return;
    active_ = on;
    // No poll may run while the command waits or reads its echo.
    timerCycleTime_.stop();
    if (on) {
        for (int i = 0; i < kCycleTimeValueCount; ++i)
            results_->setConfRegisterValue(i, kRestartValues[static_cast<size_t>(i)]);
        if (online_) lastResult_ = results_->ConfDownload(0, kCycleTimeValueCount);
    }
    if (!online_) return;
    evaluationConfirmed_ = evaluation_(on);
    if (active_) timerCycleTime_.start();
}

void CycleTimeMeasurement::tick() {
    if (!online_ || !active_ || !results_) return;
    lastResult_ = results_->ConfUpload(0, kCycleTimeValueCount);
    if (lastResult_ == 0) {
        std::array<std::string, kCycleTimeValueCount> texts;
        for (int i = 0; i < kCycleTimeValueCount; ++i)
            texts[static_cast<size_t>(i)] = cycleTimeText(results_->ConfRegisterValue(i));
        if (shown_) shown_(texts);
    } else if (failed_) {
        failed_();
    }
    // The period runs from the end of one read to the start of the next.
    if (active_) timerCycleTime_.start();
}

void CycleTimeMeasurement::close() {
    active_ = false;
    timerCycleTime_.stop();
    AppContext& c = varnak();
    if (c.VarnakComOCX) lastResult_ = c.VarnakComOCX->QZxWriteProtection(c.MultiPointAdr, true);
}

}  // namespace varnak
