#pragma once
// The serial settings' port list: one entry per port, "COM<n>   (<device>)". Device paths
// can be long (/dev/serial/by-id/usb-<maker>_<model>_<serial>-if00-port0), longer than the
// list is wide; cut at the right they lose their end, which is what tells two adapters
// apart, and the closing parenthesis.
#include <QString>

class QComboBox;
class QFontMetrics;

namespace varnak {

// The entry of a port for a list width pixels wide: a device path too long for it is
// elided in its middle; the text before it and the closing parenthesis always show.
QString portListEntry(int number, const QString& device, const QFontMetrics& metrics, int width);

// The width in pixels that a combo box shows its current text in.
int comboTextWidth(const QComboBox& box);

}  // namespace varnak
