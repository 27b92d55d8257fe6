#pragma once
// The two pickers that choose a settings dialog by the first six characters of a type
// name: the fieldbus-specific coupler dialog and the terminal dialog.
#include <cstdint>
#include <string>
#include <string_view>

#include "windowkit/dialog_openers.h"

namespace varnak {

using CouplerDialogOpener = void (DialogOpeners::*)();
using TerminalDialogOpener = void (DialogOpeners::*)(int32_t&, int32_t&);

struct CouplerDialogChoice {
    const char* form;  // e.g. "frmCouplerConfigQZ3000"
    CouplerDialogOpener open;
};
struct TerminalDialogChoice {
    const char* form;  // e.g. "frmTermConfigQT3002"
    TerminalDialogOpener open;
};

// nullptr when no dialog fits the type.
const CouplerDialogChoice* couplerDialogFor(std::string_view typeName);
const TerminalDialogChoice* terminalDialogFor(std::string_view typeName);

// fOpenCouplerConfig: the active rail's coupler dialog, or message 316 when its type has
// none. Without an active rail nothing happens. True when a dialog was opened.
[[nodiscard]] bool fOpenCouplerConfig(DialogOpeners& openers);
// fOpenTermConfig: the dialog of the terminal at the key's rail position on the active
// rail, with (rail position, channel table); message 316 when its type has none. Without
// a rail or a terminal at that position nothing happens.
[[nodiscard]] bool fOpenTermConfig(const std::string& key, DialogOpeners& openers);

}  // namespace varnak
