#include "app/port_list_entry.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <algorithm>

namespace varnak {

QString portListEntry(int number, const QString& device, const QFontMetrics& metrics, int width) {
    const QString head = QString("COM%1   (").arg(number);
    const QString tail = ")";
    const QString whole = head + device + tail;
    if (metrics.horizontalAdvance(whole) <= width) return whole;
    const int room = std::max(0, width - metrics.horizontalAdvance(head + tail));
    QString elided = metrics.elidedText(device, Qt::ElideMiddle, room);
    // Too narrow for any of it: the ellipsis still says that there is a path.
    if (elided.isEmpty()) elided = QString(QChar(0x2026));
    return head + elided + tail;
}

int comboTextWidth(const QComboBox& box) {
    QStyleOptionComboBox option;
    option.initFrom(&box);
    option.editable = box.isEditable();
    option.frame = box.hasFrame();
    const QRect field = box.style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                    QStyle::SC_ComboBoxEditField, &box);
    // The styles draw the label a pixel in from either side of the field.
    return std::max(0, field.width() - 2);
}

}  // namespace varnak
