#pragma once
// A terminal settings dialog without its window: the channel table of a terminal of the
// active rail, read from the device when online; the header line; Default from the
// terminal's own description; and OK's road: the stored registers copied to every channel
// on request and, online, written behind the terminal's code word, one channel after the
// other. Messages go through the context's UiServices.
#include <cstdint>
#include <memory>
#include <string>

#include "settingsforms/settings_session.h"

namespace varnak {

class clsCoupler;
class clsTable;
class clsTerminal;

class TerminalSettingsSession : public SettingsSession {
  public:
    enum class [[nodiscard]] OpenResult{
        Opened,
        NothingToOpen,    // no terminal or no such channel table at that rail position
        NoCommunication,  // no active rail, or the online read failed (message 469 shown)
    };

    // Binds channel table `channel` of the terminal at the rail position; online reads its
    // registers 32..62 from the device.
    OpenResult open(int32_t railPosition, int32_t channel);

    clsTable& table() const override { return *table_; }
    clsTerminal& terminal() const { return *terminal_; }
    const std::string& type() const override;
    bool online() const { return online_; }
    // "Position: 3      Typ: QT1501-0000      Kanal: 1" in the current language.
    std::string header() const;
    // The all-channels box is offered for terminals of more than one channel.
    bool offersAllChannels() const;

    // Registers 32..63 from the terminal type's description.
    [[nodiscard]] bool loadDefaults() override;
    // Takes what the form stored into registers 32..63.
    void apply(const RegisterImage& image) override;
    // OK after apply: copies registers 32..63 to every other channel when allChannels, and
    // online runs the code-word sequence on the bound table or on every channel in order,
    // sending no table after one that failed. 0, or the first failure's code (shown with
    // message 469); the tables keep what was stored either way.
    [[nodiscard]] int32_t transfer(bool allChannels);

  private:
    [[nodiscard]] int32_t codeWordSequence(clsTable& t);

    std::shared_ptr<clsCoupler> rail_;
    std::shared_ptr<clsTerminal> terminal_;
    std::shared_ptr<clsTable> table_;
    int32_t railPosition_ = 0;
    int32_t channel_ = 0;
    bool online_ = false;
};

}  // namespace varnak
