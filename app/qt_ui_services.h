#pragma once
// The program's user-interface services for the model: message and input boxes (with the
// normal pointer while they wait, whatever hourglass a window has set), the main window's
// status text, the event pump and Qt's own texts in the user's language.
#include <QTranslator>
#include <functional>
#include <memory>

#include "model/ui_services.h"

class QWidget;

namespace varnak {

class QtUiServices : public UiServices {
  public:
    QtUiServices();
    ~QtUiServices() override;

    // Where status texts go (the main window's first panel); none until it exists.
    void setStatusSink(std::function<void(const std::string&)> sink) { sink_ = std::move(sink); }
    // The owner of message and input boxes.
    void setDialogParent(QWidget* parent) { parent_ = parent; }

    void statusText(const std::string& text) override;
    int messageBox(const std::string& text, int style, const std::string& title) override;
    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) override;
    // Runs pending window events but holds user input back: a handler waiting for a
    // device must not see clicks that would start another request.
    void pumpEvents() override;
    void setUiLanguage(int primaryLanguage, int subLanguage) override;

  private:
    std::function<void(const std::string&)> sink_;
    QWidget* parent_ = nullptr;
    std::unique_ptr<QTranslator> german_;
    bool installed_ = false;
};

// The message-box answer for a standard button, and the buttons of a style.
int messageBoxAnswer(int standardButton);
int messageBoxButtons(int style);

}  // namespace varnak
