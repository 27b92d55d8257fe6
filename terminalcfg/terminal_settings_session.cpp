#include "terminalcfg/terminal_settings_session.h"

#include <vector>

#include "model/app_context.h"
#include "model/basLookup.h"
#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "model/clsTable.h"
#include "model/clsTerminal.h"
#include "model/device_register_model.h"
#include "settingsforms/description_defaults.h"
#include "settingsforms/register_image.h"
#include "settingsforms/settings_messages.h"

namespace varnak {
namespace {

constexpr int kTxtPosition = 740;
constexpr int kTxtChannel = 741;
constexpr int kTxtType = 742;
// Registers 32..62 go to and come from the device; 63 only moves within the project.
constexpr int32_t kDeviceUserRegisters = kLastUserRegister - kFirstUserRegister;

}  // namespace

TerminalSettingsSession::OpenResult TerminalSettingsSession::open(int32_t railPosition,
                                                                  int32_t channel) {
    std::shared_ptr<clsCoupler> rail;
    if (!gfGetActiveCoupler(rail) || !rail) {
        showNoCommunication();
        return OpenResult::NoCommunication;
    }
    std::shared_ptr<clsTerminal> terminal = rail->clsColTerminals()->ItemPos(railPosition);
    std::shared_ptr<clsTable> table = terminal ? terminal->clsColTables()->Item(channel) : nullptr;
    if (!table) return OpenResult::NothingToOpen;
    rail_ = rail;
    terminal_ = terminal;
    table_ = table;
    railPosition_ = railPosition;
    channel_ = channel;
    online_ = gfVarnakProject()->Online();
    bindRail(rail);
    if (online_) {
        if (table_->ConfUpload(kFirstUserRegister, kDeviceUserRegisters) != 0) {
            showNoCommunication();
            return OpenResult::NoCommunication;
        }
    }
    return OpenResult::Opened;
}

const std::string& TerminalSettingsSession::type() const {
    return terminal_->InfoName();
}

std::string TerminalSettingsSession::header() const {
    AppContext& c = varnak();
    const std::string gap(6, ' ');
    return c.text(kTxtPosition) + std::to_string(railPosition_) + gap + c.text(kTxtType) + type() +
           gap + c.text(kTxtChannel) + std::to_string(channel_ + 1);
}

bool TerminalSettingsSession::offersAllChannels() const {
    return terminal_->InfoNrLogSigChnl() > 1;
}

bool TerminalSettingsSession::loadDefaults() {
    const std::string file = descriptionPath("Terminal", type());
    // Online the terminal came from the device, not from a file of the project.
    const std::string own =
        online_ ? "" : terminal_->FileName(rail_->RailFolder(gfVarnakProject()->FullPathProject()));
    return takeDefaults(file, terminalDescriptionChannel(file, channel_, own));
}

void TerminalSettingsSession::apply(const RegisterImage& image) {
    write(image, *table_, kFirstUserRegister, kLastUserRegister);
}

int32_t TerminalSettingsSession::codeWordSequence(clsTable& t) {
    // Every step runs whatever the one before it answered; the first failure counts.
    int32_t first = 0;
    auto step = [&](int32_t result) {
        if (first == 0) first = result;
    };
    t.setConfRegisterValue(kCodeWordRegister, kCodeWordUnlock);
    step(t.ConfDownload(kCodeWordRegister, 1));
    step(t.ConfUpload(kCodeWordRegister, 1));
    step(t.ConfDownload(kFirstUserRegister, kDeviceUserRegisters));
    t.setConfRegisterValue(kCodeWordRegister, 0);
    step(t.ConfDownload(kCodeWordRegister, 1));
    step(t.ConfUpload(kCodeWordRegister, 1));
    return first;
}

int32_t TerminalSettingsSession::transfer(bool allChannels) {
    const bool online = gfVarnakProject()->Online();
    int32_t failure = 0;
    auto send = [&](clsTable& t) {
        if (online && failure == 0) failure = codeWordSequence(t);
    };
    if (!allChannels) {
        send(*table_);
    } else {
        // The channels as they are now: a transfer lets window events run.
        std::vector<std::shared_ptr<clsTable>> channels;
        for (const std::shared_ptr<clsTable>& t : *terminal_->clsColTables()) channels.push_back(t);
        for (const std::shared_ptr<clsTable>& t : channels) {
            if (t->TableNr() != table_->TableNr())
                write(imageOf(*table_), *t, kFirstUserRegister, kLastUserRegister);
            send(*t);
        }
    }
    if (failure != 0) showTransferFailed(failure);
    return failure;
}

}  // namespace varnak
