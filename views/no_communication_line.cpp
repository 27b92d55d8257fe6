#include "views/no_communication_line.h"

#include <QLabel>

#include "views/pass_health.h"
#include "windowkit/dialog_support.h"
#include "windowkit/shared_texts.h"

namespace varnak {

QLabel* newNoCommunicationLine() {
    auto* line = new QLabel;
    line->setObjectName("lblNoCommunication");
    line->setStyleSheet("color: #C00000; font-weight: bold;");
    setNoCommunicationCaption(line);
    line->hide();
    return line;
}

void setNoCommunicationCaption(QLabel* line) {
    line->setText(dialogText(kTxtNoCommunication));
}

void showPassHealth(QLabel* line, const PassHealth& health) {
    line->setVisible(!health.communicating());
}

}  // namespace varnak
