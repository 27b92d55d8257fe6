#include "comctl/QZcomOCX.h"

#include "comctl/command_blocks.h"
#include "comctl/firmware_download.h"
#include "comctl/gsd_control_reader.h"
#include "comctl/gsd_generator.h"
#include "comctl/loader_images.h"
#include "comctl/process_data_telegrams.h"
#include "comctl/register_telegrams.h"
#include "comctl/telegram_link.h"
#include "platform/com_port_map.h"
#include "platform/serial_port.h"

using namespace qzcom;

using varnak::comctl::CommandBlocks;
using varnak::comctl::RegisterAddress;
using varnak::comctl::TelegramLink;

QZcomOCX::QZcomOCX()
    : port_(std::make_unique<varnak::platform::SerialPort>()),
      line_(std::make_unique<varnak::comctl::LineState>()) {}

// The port closes with the serial port object.
QZcomOCX::~QZcomOCX() = default;

int32_t QZcomOCX::QZxCommPort() const {
    return commPort_;
}

void QZcomOCX::setQZxCommPort(int32_t value) {
    if (value < 1 || value > 8) return;
    commPort_ = value;
    modified_ = true;
}

int32_t QZcomOCX::QZxBaudrate() const {
    return baudrate_;
}

void QZcomOCX::setQZxBaudrate(int32_t value) {
    baudrate_ = (value == Baud_9600 || value == Baud_19200) ? value : Baud_38400;
    modified_ = true;
}

int32_t QZcomOCX::QZxTyp() const {
    return typ_;
}

void QZcomOCX::setQZxTyp(int32_t value) {
    typ_ = value;
    modified_ = true;
}

int32_t QZcomOCX::QZxTimeout() const {
    return timeout_;
}

void QZcomOCX::setQZxTimeout(int32_t value) {
    timeout_ = value;
    modified_ = true;
}

bool QZcomOCX::QZxPortOpen() const {
    return port_->isOpen();
}

void QZcomOCX::setQZxPortOpen(bool value) {
    port_->close();
    if (value && !port_->open(varnak::platform::comPortDevice(commPort_), baudrate_, timeout_))
        throw QZcomError(kQZcomErrInvalidPort, kQZcomErrInvalidPortText);
    modified_ = true;
}

int32_t QZcomOCX::QZxRegSyncWriteReq(int32_t RailPos, int32_t RegTable, int32_t RegOffset,
                                     int32_t RegSize, int32_t MultiPoint,
                                     std::span<const int32_t> lpSendBuff) {
    TelegramLink link(*port_, typ_ == QZxType_RS485, *line_, port_->timeoutMs());
    return varnak::comctl::writeRegisters(
        link, RegisterAddress{RailPos, RegTable, RegOffset, RegSize, MultiPoint}, lpSendBuff);
}

int32_t QZcomOCX::QZxRegSyncReadReq(int32_t RailPos, int32_t RegTable, int32_t RegOffset,
                                    int32_t RegSize, int32_t MultiPoint,
                                    std::span<int32_t> lpRecBuff) {
    TelegramLink link(*port_, typ_ == QZxType_RS485, *line_, port_->timeoutMs());
    return varnak::comctl::readRegisters(
        link, RegisterAddress{RailPos, RegTable, RegOffset, RegSize, MultiPoint}, lpRecBuff);
}

void QZcomOCX::AboutBox() {
    if (AboutBoxHandler)
        AboutBoxHandler("About Pelmun ActiveX Control", "Pelmun ActiveX Control, Version 2.0.0.5");
}

int32_t QZcomOCX::QZ8xProcSyncReadWriteReq(int32_t lMultiPoint, int32_t& lStatus,
                                           int32_t cwSendLength,
                                           std::span<const int32_t> lpSendBuff,
                                           int32_t& cwRecLength, std::span<int32_t> lpRecBuff) {
    TelegramLink link(*port_, typ_ == QZxType_RS485, *line_, port_->timeoutMs());
    return varnak::comctl::exchangeProcessData(link, lMultiPoint, lStatus, cwSendLength, lpSendBuff,
                                               cwRecLength, lpRecBuff);
}

int32_t QZcomOCX::QZ8xProcSyncReadReq(int32_t lMultiPoint, int32_t& lStatus, int32_t& cwRecLength,
                                      std::span<int32_t> lpRecBuff) {
    return QZ8xProcSyncReadWriteReq(lMultiPoint, lStatus, 0, {}, cwRecLength, lpRecBuff);
}

namespace {

// Command blocks of one station on the open port.
template <typename Service>
[[nodiscard]] int32_t onStation(varnak::platform::SerialPort& port, varnak::comctl::LineState& line,
                                int32_t typ, int32_t station, Service service) {
    TelegramLink link(port, typ == QZxType_RS485, line, port.timeoutMs());
    CommandBlocks blocks(link, station);
    return service(blocks);
}

}  // namespace

int32_t QZcomOCX::QZ8xWatchDogReadReq(int32_t MultiPoint, int32_t& WatchDog) {
    return onStation(*port_, *line_, typ_, MultiPoint,
                     [&](CommandBlocks& b) { return b.watchdogRead(WatchDog); });
}

int32_t QZcomOCX::QZ8xWatchDogWriteReq(int32_t MultiPoint, int32_t WatchDog) {
    return onStation(*port_, *line_, typ_, MultiPoint,
                     [&](CommandBlocks& b) { return b.watchdogWrite(WatchDog); });
}

int32_t QZcomOCX::QZxResetSoftwareReq(int32_t MultiPoint) {
    return onStation(*port_, *line_, typ_, MultiPoint,
                     [](CommandBlocks& b) { return b.resetSoftware(); });
}

int32_t QZcomOCX::QZxWriteProtection(int32_t MultiPoint, bool bFlag) {
    return onStation(*port_, *line_, typ_, MultiPoint,
                     [&](CommandBlocks& b) { return b.writeProtection(bFlag); });
}

int32_t QZcomOCX::QZxFactorySettingReq(int32_t MultiPoint) {
    return onStation(*port_, *line_, typ_, MultiPoint,
                     [](CommandBlocks& b) { return b.factorySetting(); });
}

int32_t QZcomOCX::QZxChecksumReq(int32_t MultiPoint, int32_t& Checksum) {
    return onStation(*port_, *line_, typ_, MultiPoint,
                     [&](CommandBlocks& b) { return b.checksum(Checksum); });
}

int32_t QZcomOCX::QZxResetTerminalBusReq(int32_t MultiPoint) {
    return onStation(*port_, *line_, typ_, MultiPoint,
                     [](CommandBlocks& b) { return b.resetTerminalBus(); });
}

int32_t QZcomOCX::QZxDbgAdrReadReq(int32_t lMultiPoint, int32_t lSeg, int32_t lAdr, int32_t lSize,
                                   std::span<int32_t> lpData) {
    return onStation(*port_, *line_, typ_, lMultiPoint,
                     [&](CommandBlocks& b) { return b.debugRead(lSeg, lAdr, lSize, lpData); });
}

int32_t QZcomOCX::QZxDbgAdrWriteReq(int32_t lMultiPoint, int32_t lSeg, int32_t lAdr, int32_t lSize,
                                    std::span<const int32_t> lpData) {
    return onStation(*port_, *line_, typ_, lMultiPoint,
                     [&](CommandBlocks& b) { return b.debugWrite(lSeg, lAdr, lSize, lpData); });
}

namespace {

// Both firmware roads on the open port; the load road switches its line settings and
// always brings back the kept ones.
[[nodiscard]] int32_t firmware(QZcomOCX& control, varnak::platform::SerialPort& port,
                               varnak::comctl::LineState& line, varnak::comctl::FirmwareRoad road,
                               bool everySector, int32_t station, const std::string& file) {
    using namespace varnak::comctl;
    FirmwareRequest request;
    request.road = road;
    request.everySector = everySector;
    request.station = station;
    request.file = file;
    request.rs485 = control.QZxTyp() == QZxType_RS485;
    request.timeoutMs = control.QZxTimeout();
    request.line = &line;
    request.loaderFolder = loaderFolder();
    const FirmwareEvents events{control.DownloadStart, control.DownloadState};
    const BootLineSettings settings{[&] { return port.useBootLoaderSettings(); },
                                    [&] { return port.restoreLineSettings(); }};
    return downloadFirmware(port, request, events, settings);
}

}  // namespace

int32_t QZcomOCX::QZxFirmwareLoad(const std::string& szFileName) {
    return firmware(*this, *port_, *line_, varnak::comctl::FirmwareRoad::Load, false, 0,
                    szFileName);
}

int32_t QZcomOCX::QZxFirmwareUpdate(const std::string& szFileName) {
    return firmware(*this, *port_, *line_, varnak::comctl::FirmwareRoad::Update, false, 1,
                    szFileName);
}

int32_t QZcomOCX::QZxFirmwareUpdate1(int32_t lMultiPoint, const std::string& szFileName) {
    return firmware(*this, *port_, *line_, varnak::comctl::FirmwareRoad::Update, false, lMultiPoint,
                    szFileName);
}

int32_t QZcomOCX::QZxEraseFlash(const std::string& szFileName) {
    return firmware(*this, *port_, *line_, varnak::comctl::FirmwareRoad::Load, true, 0, szFileName);
}

int32_t QZcomOCX::QZxFirmwareUpdate2(int32_t lMultiPoint, const std::string& szFileName) {
    return firmware(*this, *port_, *line_, varnak::comctl::FirmwareRoad::Update, true, lMultiPoint,
                    szFileName);
}

int32_t QZcomOCX::QZxCreateGsdFile(const std::string& GsdTargetFile,
                                   const std::string& GsdResourcePath) {
    varnak::gsd::GsdControlReader reader(*this);
    return varnak::gsd::createGsdFiles(reader, GsdTargetFile, GsdResourcePath);
}

extern "C" QZcomOCX* QZcomOCX_Create() {
    return new QZcomOCX();
}

extern "C" void QZcomOCX_Destroy(QZcomOCX* control) {
    delete control;
}
