#pragma once
// The frame every settings dialog shares: lines above the body (the terminal dialogs'
// header), the body, and the Default, OK and Cancel buttons. Default copies the factory
// values and shows them; OK refuses bad entries first, then stores, transfers and closes,
// or stays open after a failed transfer. While Default or OK runs the
// buttons are disabled and the pointer is busy, so a click cannot start either twice.
#include <QDialog>
#include <memory>
#include <utility>
#include <vector>

#include "settingsforms/settings_body.h"
#include "settingsforms/settings_session.h"
#include "windowkit/dialog_support.h"

class QPushButton;
class QHBoxLayout;
class QVBoxLayout;

namespace varnak {

class SettingsDialog : public QDialog {
    Q_OBJECT
  public:
    explicit SettingsDialog(QWidget* parent);
    ~SettingsDialog() override;

    SettingsBody& body() const { return *body_; }
    QPushButton* cmdDefault = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

  public slots:
    // Closing by any road saves an offline change of the project's rail.
    void done(int result) override;

  protected:
    // The session the dialog works on, and OK's road to the device after the store.
    virtual SettingsSession& settingsSession() = 0;
    [[nodiscard]] virtual int32_t transfer() = 0;

    // fInit_Language's common part: the title, the three buttons and the body's captions.
    void initCaptions(int title, int defaultButton, int okButton, int cancelButton);
    // fLoadDialog: the body from the bound table.
    void fLoadDialog();
    // The dialog opened: closing it now closes the session.
    void opened() { open_ = true; }
    void cmdDefault_Click();
    void cmdOK_Click();

    // The form's name and body: the entry's own, or one built from its declaration.
    template <typename Entry, typename Session>
    void setForm(const Entry& form, Session& session) {
        setObjectName(QString::fromStdString(form.name));
        setBody(form.makeBody ? form.makeBody(session) : specBody(*form.spec));
    }
    // Puts the body between the lines above and the buttons (its own buttons after Default).
    void setBody(std::unique_ptr<SettingsBody> body);
    // Above the body, top to bottom.
    QVBoxLayout* topLines() const { return top_; }

    // The buttons disabled and the busy pointer for its lifetime.
    class Busy {
      public:
        explicit Busy(SettingsDialog& dialog);
        ~Busy();
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;

      private:
        BusyCursor cursor_;
        std::vector<std::pair<QPushButton*, bool>> buttons_;
    };

  private:
    static std::unique_ptr<SettingsBody> specBody(const FormSpec& spec);

    std::unique_ptr<SettingsBody> body_;
    QVBoxLayout* top_ = nullptr;
    QVBoxLayout* middle_ = nullptr;
    QHBoxLayout* buttonRow_ = nullptr;
    std::vector<QPushButton*> buttons_;
    bool open_ = false;
};

}  // namespace varnak
