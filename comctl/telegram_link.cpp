#include "comctl/telegram_link.h"

#include "comctl/QZcomOCX.h"

using namespace qzcom;

namespace varnak::comctl {

int32_t TelegramLink::sendTelegram(std::span<const uint8_t> telegram) {
    // A pseudo-terminal or a plain RS232 adapter has no RTS to switch; the telegram still
    // goes out.
    if (rs485_) line_.setRts(true);
    line_.purge();
    const size_t written = line_.write(telegram);
    line_.drain();
    // RTS goes off also after a short write: a transmitter left keyed jams the bus for
    // every station until the next successful telegram.
    if (rs485_) line_.setRts(false);
    return written == telegram.size() ? ComErrNo : ComErrSendTel;
}

}  // namespace varnak::comctl
