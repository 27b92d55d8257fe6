#include "app/InitComPort.h"

#include <QString>
#include <cmath>
#include <optional>

#include "app/com_settings.h"
#include "app/shell_texts.h"
#include "comctl/QZcomOCX.h"
#include "model/app_context.h"
#include "model/clsCommon.h"
#include "platform/com_port_map.h"
#include "platform/registry_store.h"
#include "platform/serial_port.h"
#include "platform/unexamined_result.h"
#include "windowkit/shared_texts.h"

using namespace qzcom;

namespace varnak {
namespace {

constexpr int kPortCount = 8;

// Text ids of the causes of a port that does not open.
constexpr int kTxtPortMissing = 1960;
constexpr int kTxtPortNoPermission = 1961;  // "{group}" stands for the group to join
constexpr int kTxtPortInUse = 1962;
constexpr int kTxtPortNotSerial = 1963;
constexpr int kTxtPortOpensNow = 1964;
constexpr int kTestReads = 4;
constexpr int kTerminalListTable = 9;

// A stored number as the control's Long properties take it: a text without a number is
// refused (the step is skipped), a fraction rounds half to even.
std::optional<int32_t> longOf(const std::string& text) {
    bool ok = false;
    double n = QString::fromStdString(text).trimmed().toDouble(&ok);
    if (!ok || std::fabs(n) > 2147483647.0) return std::nullopt;
    return static_cast<int32_t>(std::nearbyint(n));
}

template <typename Step>
void skipOnFailure(Step step) {
    try {
        step();
    } catch (...) {
    }
}

bool openWithSeparateControl(int n) {
    try {
        QZcomOCX probe;
        probe.setQZxCommPort(n);
        probe.setQZxPortOpen(true);
        probe.setQZxPortOpen(false);
        return true;
    } catch (...) {
        return false;
    }
}

std::string causeText(const AppContext& context, const platform::SerialDeviceDiagnosis& d) {
    using F = platform::SerialDeviceFault;
    switch (d.fault) {
        case F::None:
            return context.text(kTxtPortOpensNow);
        case F::Missing:
            return context.text(kTxtPortMissing);
        case F::NoPermission: {
            std::string text = context.text(kTxtPortNoPermission);
            if (const size_t at = text.find("{group}"); at != std::string::npos)
                text.replace(at, 7, d.group);
            return text;
        }
        case F::InUse:
            return context.text(kTxtPortInUse);
        case F::NotSerial:
            return context.text(kTxtPortNotSerial);
        case F::Other:
            break;
    }
    return d.detail + ".";
}

}  // namespace

std::string withPortFailure(const AppContext& context, std::string message) {
    QZcomOCX* c = context.VarnakComOCX;
    if (!c || c->QZxPortOpen()) return message;
    const int32_t n = c->QZxCommPort();
    const std::string device = platform::comPortDevice(n);
    return message + "\n\nCOM" + std::to_string(n) + " (" + device +
           "): " + causeText(context, platform::diagnoseSerialDevice(device));
}

std::string comSettingsAppName(const AppContext& context) {
    return context.VarnakCommon ? context.VarnakCommon->CompanyName() : "Harvenor";
}

int32_t InitComPort(AppContext& context) {
    ComSettings s = fLoadComSettings(*context.settings, comSettingsAppName(context));
    int32_t result = 0;
    if (QZcomOCX* c = context.VarnakComOCX) {
        skipOnFailure([&] {
            if (c->QZxPortOpen()) c->setQZxPortOpen(false);
        });
        if (auto v = longOf(s.Baud)) skipOnFailure([&] { c->setQZxBaudrate(*v); });
        if (auto v = longOf(s.Port)) skipOnFailure([&] { c->setQZxCommPort(*v); });
        skipOnFailure([&] { c->setQZxTyp(s.QZxType == "RS232" ? QZxType_RS232 : QZxType_RS485); });
        if (auto v = longOf(s.Timeout)) skipOnFailure([&] { c->setQZxTimeout(*v); });
        try {
            c->setQZxPortOpen(true);
        } catch (const QZcomError& e) {
            result = static_cast<int32_t>(e.code());
        } catch (...) {
            result = static_cast<int32_t>(kQZcomErrInvalidPort);
        }
    }
    context.MultiPointAdr = stationAddressOf(s.MultiPoint);
    // The rail view reads the check; it must follow the store from the start, not only
    // after the settings dialog was opened once.
    if (context.VarnakCommon) context.VarnakCommon->setCheckCurrentKBus(s.CheckCurrentKBus);
    return result;
}

void InitComPortUnreported(AppContext& context) {
    resultNotExamined(InitComPort(context));
}

void storeComSettingsAndReopen(AppContext& context, const ComSettings& settings) {
    fSaveComSettings(*context.settings, comSettingsAppName(context), settings);
    InitComPortUnreported(context);
}

int fTestConnection(AppContext& context) {
    int result = ComErrSendTel;
    std::vector<int32_t> buffer(256, 0);
    for (int i = 0; i < kTestReads; ++i) {
        if (QZcomOCX* c = context.VarnakComOCX) {
            try {
                result = c->QZxRegSyncReadReq(0, kTerminalListTable, 0, 2, context.MultiPointAdr,
                                              buffer);
            } catch (...) {
                result = ComErrSendTel;
            }
        }
        context.ui->pumpEvents();
    }
    return result;
}

void showConnectionTestResult(AppContext& context, int code) {
    const std::string title = context.text(kTxtTestCommunicationTitle);
    if (code != ComErrNo) {
        context.ui->messageBox(
            withPortFailure(context, context.text(kTxtNoCommunication) + "\n\n" +
                                         context.text(kTxtCode) + std::to_string(code)),
            vbCritical, title);
    } else {
        context.ui->messageBox(context.text(kTxtCommunicationOk), vbInformation, title);
    }
}

std::vector<PortEntry> fProbePorts(const AppContext& context,
                                   const std::function<bool(int)>& canOpen) {
    int openPort = 0;
    if (QZcomOCX* c = context.VarnakComOCX) {
        skipOnFailure([&] {
            if (c->QZxPortOpen()) openPort = c->QZxCommPort();
        });
    }
    std::vector<PortEntry> ports;
    for (int n = 1; n <= kPortCount; ++n) {
        bool available = n == openPort || (canOpen ? canOpen(n) : openWithSeparateControl(n));
        if (available) ports.push_back({n, platform::comPortDevice(n)});
    }
    return ports;
}

}  // namespace varnak
