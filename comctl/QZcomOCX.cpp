#include "comctl/QZcomOCX.h"

#include "comctl/gsd_control_reader.h"
#include "comctl/gsd_generator.h"
#include "comctl/register_telegrams.h"
#include "comctl/telegram_link.h"
#include "platform/com_port_map.h"
#include "platform/serial_port.h"

using varnak::comctl::RegisterAddress;
using varnak::comctl::TelegramLink;

QZcomOCX::QZcomOCX() : port_(std::make_unique<varnak::platform::SerialPort>()) {}

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
    TelegramLink link(*port_, typ_ == QZxType_RS485);
    return varnak::comctl::writeRegisters(
        link, RegisterAddress{RailPos, RegTable, RegOffset, RegSize, MultiPoint}, lpSendBuff);
}

int32_t QZcomOCX::QZxRegSyncReadReq(int32_t RailPos, int32_t RegTable, int32_t RegOffset,
                                    int32_t RegSize, int32_t MultiPoint,
                                    std::span<int32_t> lpRecBuff) {
    TelegramLink link(*port_, typ_ == QZxType_RS485);
    return varnak::comctl::readRegisters(
        link, RegisterAddress{RailPos, RegTable, RegOffset, RegSize, MultiPoint}, lpRecBuff);
}

void QZcomOCX::AboutBox() {
    if (AboutBoxHandler)
        AboutBoxHandler("About Pelmun ActiveX Control", "Pelmun ActiveX Control, Version 2.0.0.5");
}

// Requests whose telegram layers are still to come.

int32_t QZcomOCX::QZ8xProcSyncReadWriteReq(int32_t, int32_t&, int32_t, std::span<const int32_t>,
                                           int32_t&, std::span<int32_t>) {
    return ComErrNotImplemented;
}

int32_t QZcomOCX::QZ8xProcSyncReadReq(int32_t, int32_t&, int32_t&, std::span<int32_t>) {
    return ComErrNotImplemented;
}

int32_t QZcomOCX::QZ8xWatchDogReadReq(int32_t, int32_t&) {
    return ComErrNotImplemented;
}
int32_t QZcomOCX::QZ8xWatchDogWriteReq(int32_t, int32_t) {
    return ComErrNotImplemented;
}
int32_t QZcomOCX::QZxResetSoftwareReq(int32_t) {
    return ComErrNotImplemented;
}
int32_t QZcomOCX::QZxWriteProtection(int32_t, bool) {
    return ComErrNotImplemented;
}
int32_t QZcomOCX::QZxFactorySettingReq(int32_t) {
    return ComErrNotImplemented;
}
int32_t QZcomOCX::QZxChecksumReq(int32_t, int32_t&) {
    return ComErrNotImplemented;
}
int32_t QZcomOCX::QZxResetTerminalBusReq(int32_t) {
    return ComErrNotImplemented;
}

int32_t QZcomOCX::QZxDbgAdrReadReq(int32_t, int32_t, int32_t, int32_t, std::span<int32_t>) {
    return ComErrNotImplemented;
}

int32_t QZcomOCX::QZxDbgAdrWriteReq(int32_t, int32_t, int32_t, int32_t, std::span<const int32_t>) {
    return ComErrNotImplemented;
}

int32_t QZcomOCX::QZxFirmwareLoad(const std::string&) {
    return ComErrNotImplemented;
}
int32_t QZcomOCX::QZxFirmwareUpdate(const std::string&) {
    return ComErrNotImplemented;
}
int32_t QZcomOCX::QZxFirmwareUpdate1(int32_t, const std::string&) {
    return ComErrNotImplemented;
}
int32_t QZcomOCX::QZxEraseFlash(const std::string&) {
    return ComErrNotImplemented;
}
int32_t QZcomOCX::QZxFirmwareUpdate2(int32_t, const std::string&) {
    return ComErrNotImplemented;
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
