#pragma once
// The serial communication control QZCOMOCX: owns one serial port and speaks the coupler
// wire protocol. The program reaches every device only through this class. All calls are
// synchronous on the caller's thread and return a QZcomComErr value (or a firmware step
// code); opening a port that cannot be opened is the only call that throws.
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>

// The library exports this interface and nothing else; a host needs no other symbol.
#define QZCOMOCX_EXPORT __attribute__((visibility("default")))

// The control's enumerations live in their own namespace, so that their short names
// ("Baud_9600", "ComErrNo") do not land in every includer's global namespace.
namespace qzcom {

// Result of every request.
enum QZcomComErr : int32_t {
    ComErrNotImplemented = -1,
    ComErrNo = 0,
    ComErrTimeout1 = 1,
    ComErrTimeout2 = 2,
    ComErrCRC = 3,
    ComErrTargetNr = 4,
    ComErrTableNr = 5,
    ComErrOffset = 6,
    ComErrDataLength = 7,
    ComErrMultipoint = 8,
    ComErrDataBuff = 9,
    ComErrStartPattern = 10,
    ComErrSendTel = 11,
    ComErrIdent = 12,
    ComErrRegResponse = 13,
    ComErrHexFileFault = 14,
    ComErrChecksumFault = 15,
    ComErrAddressMappingFault = 16,
    ComErrFaultInByte = 17,
    ComErrWrongAck = 18,
    ComErrWrongBtlAck = 19,
    ComErrReadBackFault = 20,
};

enum QZcomFlashType : int32_t {
    FlashType_ATMEL128k = 0,
    FlashType_ATMEL1m = 1,
    FlashType_AMD1m = 2,
    FlashType_ATMEL512k = 3,
};

enum QZcomBaud : int32_t {
    Baud_9600 = 9600,
    Baud_19200 = 19200,
    Baud_38400 = 38400,
};

enum QZcomQZxType : int32_t {
    QZxType_RS485 = 1,
    QZxType_RS232 = 2,
};

// Dispatch ids of the control's properties and methods.
enum QZcomDispId : int32_t {
    DISPID_QZxCommPort = 1,
    DISPID_QZxBaudrate = 2,
    DISPID_QZxTyp = 3,
    DISPID_QZxPortOpen = 4,
    DISPID_QZxTimeout = 6,
    DISPID_QZ8xProcSyncReadWriteReq = 7,
    DISPID_QZ8xProcSyncReadReq = 8,
    DISPID_QZxRegSyncWriteReq = 9,
    DISPID_QZxRegSyncReadReq = 10,
    DISPID_QZ8xWatchDogReadReq = 11,
    DISPID_QZ8xWatchDogWriteReq = 12,
    DISPID_QZxResetSoftwareReq = 13,
    DISPID_QZxWriteProtection = 14,
    DISPID_QZxFactorySettingReq = 15,
    DISPID_QZxChecksumReq = 16,
    DISPID_QZxResetTerminalBusReq = 17,
    DISPID_QZxDbgAdrReadReq = 18,
    DISPID_QZxDbgAdrWriteReq = 19,
    DISPID_QZxFirmwareLoad = 20,
    DISPID_QZxFirmwareUpdate = 21,
    DISPID_QZxFirmwareUpdate1 = 22,
    DISPID_QZxCreateGsdFile = 23,
    DISPID_QZxEraseFlash = 24,
    DISPID_QZxFirmwareUpdate2 = 25,
    DISPID_AboutBox = -552,
};

// Dispatch ids of the control's events.
enum QZcomEventDispId : int32_t {
    DISPID_DownloadState = 1,
    DISPID_DownloadStart = 2,
};

}  // namespace qzcom

// The error a property put raises; what() is the description.
class QZCOMOCX_EXPORT QZcomError : public std::runtime_error {
  public:
    QZcomError(uint32_t code, const std::string& description)
        : std::runtime_error(description), code_(code) {}
    uint32_t code() const { return code_; }

  private:
    uint32_t code_;
};

// Raised when the port cannot be opened.
inline constexpr uint32_t kQZcomErrInvalidPort = 0x800A1F42;
inline constexpr const char* kQZcomErrInvalidPortText = "8002 Invalid port number QZcom";

namespace varnak::platform {
class SerialPort;
}
namespace varnak::comctl {
struct LineState;
}

class QZCOMOCX_EXPORT QZcomOCX {
  public:
    QZcomOCX();
    ~QZcomOCX();
    QZcomOCX(const QZcomOCX&) = delete;
    QZcomOCX& operator=(const QZcomOCX&) = delete;

    // Properties. Settings take effect at the next open of the port.
    int32_t QZxCommPort() const;
    void setQZxCommPort(int32_t value);  // 1 to 8, anything else is ignored
    int32_t QZxBaudrate() const;
    void setQZxBaudrate(int32_t value);  // 9600 and 19200 kept, anything else is 38400
    int32_t QZxTyp() const;
    void setQZxTyp(int32_t value);  // 1 = RS485, any other value RS232
    int32_t QZxTimeout() const;
    void setQZxTimeout(int32_t value);  // reply time-out in ms
    bool QZxPortOpen() const;
    // True (re)opens the port and throws QZcomError when it cannot; false closes it.
    void setQZxPortOpen(bool value);

    // Process-data telegrams.
    [[nodiscard]] int32_t QZ8xProcSyncReadWriteReq(int32_t lMultiPoint, int32_t& lStatus,
                                                   int32_t cwSendLength,
                                                   std::span<const int32_t> lpSendBuff,
                                                   int32_t& cwRecLength,
                                                   std::span<int32_t> lpRecBuff);
    [[nodiscard]] int32_t QZ8xProcSyncReadReq(int32_t lMultiPoint, int32_t& lStatus,
                                              int32_t& cwRecLength, std::span<int32_t> lpRecBuff);

    // Register telegrams: one register per element (low 16 bits sent, reads zero-extended).
    [[nodiscard]] int32_t QZxRegSyncWriteReq(int32_t RailPos, int32_t RegTable, int32_t RegOffset,
                                             int32_t RegSize, int32_t MultiPoint,
                                             std::span<const int32_t> lpSendBuff);
    [[nodiscard]] int32_t QZxRegSyncReadReq(int32_t RailPos, int32_t RegTable, int32_t RegOffset,
                                            int32_t RegSize, int32_t MultiPoint,
                                            std::span<int32_t> lpRecBuff);

    // Coupler command blocks.
    [[nodiscard]] int32_t QZ8xWatchDogReadReq(int32_t MultiPoint, int32_t& WatchDog);
    [[nodiscard]] int32_t QZ8xWatchDogWriteReq(int32_t MultiPoint, int32_t WatchDog);
    [[nodiscard]] int32_t QZxResetSoftwareReq(int32_t MultiPoint);
    [[nodiscard]] int32_t QZxWriteProtection(int32_t MultiPoint, bool bFlag);
    [[nodiscard]] int32_t QZxFactorySettingReq(int32_t MultiPoint);
    [[nodiscard]] int32_t QZxChecksumReq(int32_t MultiPoint, int32_t& Checksum);
    [[nodiscard]] int32_t QZxResetTerminalBusReq(int32_t MultiPoint);
    [[nodiscard]] int32_t QZxDbgAdrReadReq(int32_t lMultiPoint, int32_t lSeg, int32_t lAdr,
                                           int32_t lSize, std::span<int32_t> lpData);
    [[nodiscard]] int32_t QZxDbgAdrWriteReq(int32_t lMultiPoint, int32_t lSeg, int32_t lAdr,
                                            int32_t lSize, std::span<const int32_t> lpData);

    // Firmware download.
    [[nodiscard]] int32_t QZxFirmwareLoad(const std::string& szFileName);
    [[nodiscard]] int32_t QZxFirmwareUpdate(const std::string& szFileName);
    [[nodiscard]] int32_t QZxFirmwareUpdate1(int32_t lMultiPoint, const std::string& szFileName);
    [[nodiscard]] int32_t QZxEraseFlash(const std::string& szFileName);
    [[nodiscard]] int32_t QZxFirmwareUpdate2(int32_t lMultiPoint, const std::string& szFileName);

    // GSD file generation.
    [[nodiscard]] int32_t QZxCreateGsdFile(const std::string& GsdTargetFile,
                                           const std::string& GsdResourcePath);

    // Asks the host to show the control's about text (through AboutBoxHandler).
    void AboutBox();

    // Events, fired only during a firmware download; a host may leave them unset.
    std::function<void(int32_t nSector, int32_t nTotalSectors)> DownloadState;
    std::function<void(int32_t nTotalSectors)> DownloadStart;
    // Host service that shows a modal message with a caption and an OK button.
    std::function<void(const std::string& caption, const std::string& text)> AboutBoxHandler;

    // Set by every property put that stores a value (the host's "dirty" state).
    bool modified() const { return modified_; }

  private:
    int32_t commPort_ = 2;
    int32_t baudrate_ = qzcom::Baud_38400;
    int32_t typ_ = qzcom::QZxType_RS485;
    int32_t timeout_ = 10;
    bool modified_ = false;
    std::unique_ptr<varnak::platform::SerialPort> port_;
    // What the last request left on the line (a reply that may still be coming).
    std::unique_ptr<varnak::comctl::LineState> line_;
};

// C entry points in place of the class-factory and registration exports.
extern "C" {
QZCOMOCX_EXPORT QZcomOCX* QZcomOCX_Create();
QZCOMOCX_EXPORT void QZcomOCX_Destroy(QZcomOCX* control);
// 0 on success, 0x80040200 when the type library cannot be recorded, 0x80040201 when
// the class cannot.
[[nodiscard]] QZCOMOCX_EXPORT int32_t DllRegisterServer();
[[nodiscard]] QZCOMOCX_EXPORT int32_t DllUnregisterServer();
}

inline constexpr const char* kQZcomProgId = "QZCOMOCX.QZcomOCXCtrl.1";
inline constexpr int32_t kSelfRegErrTypeLib = static_cast<int32_t>(0x80040200);
inline constexpr int32_t kSelfRegErrClass = static_cast<int32_t>(0x80040201);
