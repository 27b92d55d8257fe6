#include "app/qt_ui_services.h"

#include <QApplication>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>

#include "model/text_util.h"
#include "windowkit/dialog_support.h"

namespace varnak {

int messageBoxButtons(int style) {
    switch (style & 7) {
        case vbOKCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case vbAbortRetryIgnore:
            return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
        case vbYesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case vbYesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case vbRetryCancel:
            return QMessageBox::Retry | QMessageBox::Cancel;
        default:
            return QMessageBox::Ok;
    }
}

int messageBoxAnswer(int button) {
    switch (button) {
        case QMessageBox::Cancel:
            return vbCancel;
        case QMessageBox::Abort:
            return vbAbort;
        case QMessageBox::Retry:
            return vbRetry;
        case QMessageBox::Ignore:
            return vbIgnore;
        case QMessageBox::Yes:
            return vbYes;
        case QMessageBox::No:
            return vbNo;
        default:
            return vbOK;
    }
}

namespace {

QMessageBox::Icon iconOf(int style) {
    switch (style & 0x70) {
        case vbCritical:
            return QMessageBox::Critical;
        case vbQuestion:
            return QMessageBox::Question;
        case vbExclamation:
            return QMessageBox::Warning;
        case vbInformation:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

// The buttons in the order they show, for the second-button default.
std::vector<QMessageBox::StandardButton> orderedButtons(int style) {
    switch (style & 7) {
        case vbOKCancel:
            return {QMessageBox::Ok, QMessageBox::Cancel};
        case vbAbortRetryIgnore:
            return {QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore};
        case vbYesNoCancel:
            return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
        case vbYesNo:
            return {QMessageBox::Yes, QMessageBox::No};
        case vbRetryCancel:
            return {QMessageBox::Retry, QMessageBox::Cancel};
        default:
            return {QMessageBox::Ok};
    }
}

// A box that waits for the user shows the normal pointer, also when it comes up while a
// window works under the hourglass; the hourglass is back when the box closes.
class NormalPointerWhileWaiting {
  public:
    NormalPointerWhileWaiting() : busy_(QApplication::overrideCursor() != nullptr) {
        if (busy_) QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~NormalPointerWhileWaiting() {
        if (busy_) QApplication::restoreOverrideCursor();
    }
    NormalPointerWhileWaiting(const NormalPointerWhileWaiting&) = delete;
    NormalPointerWhileWaiting& operator=(const NormalPointerWhileWaiting&) = delete;

  private:
    bool busy_;
};

}  // namespace

QtUiServices::QtUiServices() = default;

QtUiServices::~QtUiServices() {
    if (installed_ && german_) QCoreApplication::removeTranslator(german_.get());
}

void QtUiServices::statusText(const std::string& text) {
    if (sink_) sink_(text);
}

int QtUiServices::messageBox(const std::string& text, int style, const std::string& title) {
    QMessageBox box(iconOf(style), QString::fromStdString(title), QString::fromStdString(text),
                    QMessageBox::StandardButtons(messageBoxButtons(style)), parent_);
    auto buttons = orderedButtons(style);
    size_t defaultIndex = (style & vbDefaultButton2) ? 1 : 0;
    if (defaultIndex < buttons.size()) box.setDefaultButton(buttons[defaultIndex]);
    NormalPointerWhileWaiting pointer;
    return messageBoxAnswer(box.exec());
}

std::optional<std::string> QtUiServices::inputBox(const std::string& prompt,
                                                  const std::string& title,
                                                  const std::string& defaultText) {
    NormalPointerWhileWaiting pointer;
    QInputDialog dialog(parent_);
    // Titles come from menu captions too: a window title shows no accelerator marks.
    dialog.setWindowTitle(QString::fromStdString(withoutAccelerators(title)));
    dialog.setLabelText(QString::fromStdString(prompt));
    dialog.setTextValue(QString::fromStdString(defaultText));
    // The input dialog sizes itself to its contents: the field carries the title's width.
    if (auto* field = dialog.findChild<QLineEdit*>())
        field->setMinimumWidth(widthForTitle(&dialog));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue().toStdString();
}

void QtUiServices::pumpEvents() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtUiServices::setUiLanguage(int primaryLanguage, int) {
    if (!QCoreApplication::instance()) return;
    const bool german = primaryLanguage == 7;
    if (german && !installed_) {
        if (!german_) {
            german_ = std::make_unique<QTranslator>();
            if (!german_->load("qtbase_de", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
                return;  // no translation installed: Qt's own texts stay English
        }
        installed_ = QCoreApplication::installTranslator(german_.get());
    } else if (!german && installed_) {
        QCoreApplication::removeTranslator(german_.get());
        installed_ = false;
    }
}

}  // namespace varnak
