#pragma once
// The body of a settings dialog built from its declaration: a frame per group (on tab pages when
// the form declares pages), a widget per binding named as the binding (check box, option group,
// drop-down list, number or text field, label), the codec's states shown and read back,
// and the form's hooks run when the user changes a control.
#include <QString>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "settingsforms/settings_body.h"
#include "settingsforms/settings_form_spec.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTabWidget;

namespace varnak {

class SpecBody : public SettingsBody {
  public:
    explicit SpecBody(const FormSpec& spec);
    ~SpecBody() override;

    QWidget* widget() override { return root_; }
    void initLanguage() override;
    void load(const RegisterImage& registers, std::string_view type) override;
    [[nodiscard]] bool checkEntries() override;
    void store(RegisterImage& registers) override;

    const FormSpec& spec() const { return spec_; }
    // The controls' states as the widgets hold them now.
    const FormState& state();
    // The widget named as binding i (an option group's frame of buttons).
    QWidget* control(size_t i) const;
    // The widget the user types into or clicks for binding i (an option group: item k).
    QWidget* input(size_t i, int item = 0) const;
    QTabWidget* tabs() const { return tabs_; }

  private:
    struct Control {
        QWidget* row = nullptr;  // what is shown or hidden
        QLabel* label = nullptr;
        QCheckBox* check = nullptr;
        QComboBox* combo = nullptr;
        QLineEdit* edit = nullptr;
        QWidget* optionFrame = nullptr;
        QButtonGroup* options = nullptr;
        std::vector<QRadioButton*> radios;
    };

    void build();
    QWidget* buildControl(size_t i, QWidget* parent);
    void setItems(size_t i);
    void show();
    void applyLook();
    void read();
    void userChanged(size_t i);
    std::string fieldCaption(size_t i) const;

    const FormSpec& spec_;
    QWidget* root_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    std::vector<QGroupBox*> groups_;
    std::vector<Control> controls_;
    FormState state_;
    bool loaded_ = false;
};

}  // namespace varnak
