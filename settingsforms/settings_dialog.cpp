#include "settingsforms/settings_dialog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "settingsforms/register_image.h"
#include "settingsforms/settings_binder.h"

namespace varnak {

SettingsDialog::Busy::Busy(SettingsDialog& dialog) {
    for (QPushButton* b : dialog.buttons_) {
        buttons_.emplace_back(b, b->isEnabled());
        b->setEnabled(false);
    }
}

SettingsDialog::Busy::~Busy() {
    for (auto& [button, enabled] : buttons_) button->setEnabled(enabled);
}

SettingsDialog::SettingsDialog(QWidget* parent) : QDialog(parent) {
    setModal(true);
    cmdDefault = new QPushButton;
    cmdDefault->setObjectName("cmdDefault");
    cmdOK = new QPushButton;
    cmdOK->setObjectName("cmdOK");
    cmdCancel = new QPushButton;
    cmdCancel->setObjectName("cmdCancel");
    cmdOK->setDefault(true);

    auto* column = new QVBoxLayout(this);
    top_ = new QVBoxLayout;
    column->addLayout(top_);
    middle_ = new QVBoxLayout;
    column->addLayout(middle_, 1);
    buttonRow_ = new QHBoxLayout;
    buttonRow_->addWidget(cmdDefault);
    buttonRow_->addStretch(1);
    buttonRow_->addWidget(cmdOK);
    buttonRow_->addWidget(cmdCancel);
    column->addLayout(buttonRow_);
    buttons_ = {cmdDefault, cmdOK, cmdCancel};

    connect(cmdDefault, &QPushButton::clicked, this, [this] { cmdDefault_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { reject(); });
}

SettingsDialog::~SettingsDialog() = default;

std::unique_ptr<SettingsBody> SettingsDialog::specBody(const FormSpec& spec) {
    return std::make_unique<SpecBody>(spec);
}

void SettingsDialog::setBody(std::unique_ptr<SettingsBody> body) {
    body_ = std::move(body);
    body_->runBusy = [this](const std::function<void()>& action) {
        Busy busy(*this);
        action();
    };
    middle_->addWidget(body_->widget());
    int at = 1;
    for (QPushButton* extra : body_->extraButtons()) {
        buttonRow_->insertWidget(at++, extra);
        buttons_.push_back(extra);
    }
}

}  // namespace varnak

namespace varnak {

void SettingsDialog::initCaptions(int title, int defaultButton, int okButton, int cancelButton) {
    setWindowTitle(dialogText(title));
    cmdDefault->setText(dialogText(defaultButton));
    cmdOK->setText(dialogText(okButton));
    cmdCancel->setText(dialogText(cancelButton));
    body_->initLanguage();
}

void SettingsDialog::fLoadDialog() {
    SettingsSession& session = settingsSession();
    body_->load(imageOf(session.table()), session.type());
}

void SettingsDialog::cmdDefault_Click() {
    Busy busy(*this);
    if (settingsSession().loadDefaults()) fLoadDialog();
}

void SettingsDialog::cmdOK_Click() {
    if (!body_->checkEntries()) return;
    int32_t failure;
    {
        Busy busy(*this);
        SettingsSession& session = settingsSession();
        RegisterImage image = imageOf(session.table());
        body_->store(image);
        session.apply(image);
        failure = transfer();
    }
    if (failure == 0) accept();
}

void SettingsDialog::done(int result) {
    if (open_) settingsSession().close();
    open_ = false;
    QDialog::done(result);
}

}  // namespace varnak
