#pragma once
// The one place where the program configures and opens the serial port of the control,
// and the connection test of the serial settings dialog.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace varnak {

struct AppContext;
struct ComSettings;

// The application name of the serial settings: the edition's company name.
std::string comSettingsAppName(const AppContext& context);

// Reloads the stored serial settings, reopens the control's port with them, sets the
// station address and the terminal-bus current check. Shows nothing: a step that fails
// is skipped. Returns 0 when the port is open afterwards (or there is no control), else
// the code of the error the control raised, so that going online can refuse a dead port.
[[nodiscard]] int32_t InitComPort(AppContext& context);

// InitComPort where nobody is told: the main window's load and the serial settings dialog.
// A port that does not open shows in the result codes of the requests, which their
// callers report; only going online looks at the answer.
void InitComPortUnreported(AppContext& context);

// Stores the settings, then InitComPort (unreported).
void storeComSettingsAndReopen(AppContext& context, const ComSettings& settings);

// A message about a port failure, followed (after a blank line) by the control's port, its
// device and why it does not open, in the current language, for example "COM3
// (/dev/ttyUSB0): there is no such device (is the adapter plugged in?)."; the message alone
// while the port is open or without a control.
std::string withPortFailure(const AppContext& context, std::string message);

// Four reads of the coupler's terminal list; the last one's result code decides. Events
// are pumped after each read.
[[nodiscard]] int fTestConnection(AppContext& context);
// The test's message box: text, style and title in the current language; a port that did
// not open is named with the cause.
void showConnectionTestResult(AppContext& context, int resultCode);

// One entry of the port list: the port number and the device it maps to.
struct PortEntry {
    int number;
    std::string device;
};
// Ports 1 to 8 that can be opened. The port that the control has open is listed without
// touching it; the others are tried through canOpen (by default a separate control).
std::vector<PortEntry> fProbePorts(const AppContext& context,
                                   const std::function<bool(int)>& canOpen = {});

}  // namespace varnak
