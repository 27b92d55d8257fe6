#include "fieldbus/frmCouplerConfigQY9000.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "fieldbus/coupler_settings_session.h"
#include "model/app_context.h"
#include "model/clsTable.h"
#include "model/device_register_model.h"
#include "settingsforms/register_image.h"
#include "settingsforms/settings_messages.h"
#include "windowkit/shared_texts.h"

namespace varnak {
namespace {

constexpr int kByteFieldWidth = 44;
constexpr int kTextFieldWidth = 4 * kByteFieldWidth + 3 * 6;
constexpr int kNameField = 3;
constexpr int kFrameInset = 11;  // from a frame's edge to its fields' captions

const char* const kDhcpPendingText =
    "DHCP still in process.\n\nPlease try again and click 'Refresh'";

// The captions of the label array by element.
const char* const kLabelCaptions[] = {"MAC-ID",      "IP Address", "YXM-Net-ID", "DNS Server",
                                      "SubNet Mask", "DHCP Name",  "IP Address", "SubNet Mask"};

// The widget named as the form names its control.
template <typename W>
W* named(const QString& name, W* widget) {
    widget->setObjectName(name);
    return widget;
}

QString indexed(const char* name, size_t i) {
    return QString("%1(%2)").arg(name).arg(i);
}

// The DHCP name holds single-byte codes; a character beyond them reads back as NUL, which
// OK refuses.
QString nameText(const std::string& codes) {
    return QString::fromLatin1(codes.data(), static_cast<qsizetype>(codes.size()));
}
std::string nameCodes(const QString& text) {
    std::string codes;
    for (QChar ch : text) codes += ch.unicode() <= 0xFF ? static_cast<char>(ch.unicode()) : '\0';
    return codes;
}

}  // namespace

frmCouplerConfigQY9000::frmCouplerConfigQY9000(CouplerSettingsSession& session,
                                               CouplerServices& services)
    : session_(session), services_(services) {
    build();
}

frmCouplerConfigQY9000::~frmCouplerConfigQY9000() {
    if (fraQZ8000_ && !fraQZ8000_->parent()) delete fraQZ8000_;
    if (cmdRefresh && !cmdRefresh->parent()) delete cmdRefresh;
}

QWidget* frmCouplerConfigQY9000::widget() {
    return fraQZ8000_;
}

void frmCouplerConfigQY9000::build() {
    fraQZ8000_ = named("fraQZ8000", new QGroupBox);
    for (size_t i = 0; i < lblQY9x00_.size(); ++i)
        lblQY9x00_[i] = named(indexed("lblQY9x00", i), new QLabel(kLabelCaptions[i]));
    for (size_t i : {0, 1, kNameField}) {
        txtQY9x00_[i] = named(indexed("txtQY9x00", i), new QLineEdit);
        txtQY9x00_[i]->setFixedWidth(kTextFieldWidth);
    }
    auto* byteEntry =
        new QRegularExpressionValidator(QRegularExpression(R"(\s*\d{0,3}\s*)"), fraQZ8000_);
    for (size_t i = 1; i < fpIQY9x00_.size(); ++i) {
        fpIQY9x00_[i] = named(indexed("fpIQY9x00", i), new QLineEdit);
        fpIQY9x00_[i]->setFixedWidth(kByteFieldWidth);
        fpIQY9x00_[i]->setAlignment(Qt::AlignRight);
        fpIQY9x00_[i]->setValidator(byteEntry);
    }
    // A caption and the four byte fields from `first` on, as one row of a frame's grid.
    auto byteRow = [this](QGridLayout* grid, int row, size_t label, size_t first) {
        grid->addWidget(lblQY9x00_[label], row, 0);
        auto* fields = new QHBoxLayout;
        for (size_t i = first; i < first + 4; ++i) fields->addWidget(fpIQY9x00_[i]);
        fields->addStretch(1);
        grid->addLayout(fields, row, 1);
    };

    auto* top = new QGridLayout(fraQZ8000_);
    top->addWidget(lblQY9x00_[0], 0, 0);
    top->addWidget(txtQY9x00_[0], 0, 1, Qt::AlignLeft);
    top->addWidget(lblQY9x00_[2], 1, 0);
    top->addWidget(txtQY9x00_[1], 1, 1, Qt::AlignLeft);

    chkDHCP_ = named("chkDHCP", new QCheckBox("Obtain an IP address from a DHCP server (DIP 10)"));
    optDip9_ClassB_ = named("optDip9_ClassB", new QRadioButton("Class B"));
    optDip9_ClassC_ = named("optDip9_ClassC", new QRadioButton("Class C"));
    auto* dip = new QHBoxLayout;
    dip->addWidget(chkDHCP_);
    dip->addSpacing(12);
    for (QRadioButton* option : {optDip9_ClassB_, optDip9_ClassC_}) {
        option->setAutoExclusive(false);  // the switch may be unknown: neither selected
        dip->addWidget(option);
    }
    dip->addStretch(1);
    top->addLayout(dip, 2, 0, 1, 2);
    for (QWidget* shown :
         std::initializer_list<QWidget*>{chkDHCP_, optDip9_ClassB_, optDip9_ClassC_, txtQY9x00_[0],
                                         txtQY9x00_[1], fpIQY9x00_[4]})
        shown->setEnabled(false);
    for (size_t i = 9; i <= 20; ++i) fpIQY9x00_[i]->setEnabled(false);

    fraDHCP_ = named("fraDHCP", new QGroupBox("DHCP IP address"));
    auto* dhcp = new QGridLayout(fraDHCP_);
    dhcp->addWidget(lblQY9x00_[5], 0, 0);
    dhcp->addWidget(txtQY9x00_[kNameField], 0, 1, Qt::AlignLeft);
    byteRow(dhcp, 1, 6, 9);
    byteRow(dhcp, 2, 7, 13);
    byteRow(dhcp, 3, 3, 17);
    top->addWidget(fraDHCP_, 3, 0, 1, 2);

    fraSpecIP_ = named("fraSpecIP", new QGroupBox("Specific IP address"));
    auto* specific = new QGridLayout(fraSpecIP_);
    byteRow(specific, 0, 1, 1);
    byteRow(specific, 1, 4, 5);
    top->addWidget(fraSpecIP_, 4, 0, 1, 2);
    // The fields of the frames and of the rows above them stand in one column.
    const int captions = lblQY9x00_[5]->sizeHint().width() + 24;
    for (QGridLayout* grid : {dhcp, specific}) grid->setColumnMinimumWidth(0, captions);
    top->setColumnMinimumWidth(0, captions + kFrameInset);
    top->setColumnStretch(1, 1);

    auto* frame1 = named("Frame1", new QGroupBox);
    auto* link = new QVBoxLayout(frame1);
    chkSpeed_ = named("chkSpeed", new QCheckBox("100 Mbps = checked  / 10 Mbps = unchecked"));
    chkANEG_ = named("chkANEG", new QCheckBox("ANEG enabled"));
    chkDuplex_ =
        named("chkDuplex", new QCheckBox("Full duplex = checked / Half duplex = unchecked"));
    for (QCheckBox* box : {chkSpeed_, chkANEG_, chkDuplex_}) link->addWidget(box);
    top->addWidget(frame1, 5, 0, 1, 2);

    cmdRefresh = named("cmdRefresh", new QPushButton("&Refresh"));
    QObject::connect(cmdRefresh, &QPushButton::clicked, fraQZ8000_, [this] { cmdRefresh_Click(); });
}

void frmCouplerConfigQY9000::load(const RegisterImage& registers, std::string_view) {
    if (!statusKnown_) {
        statusResult_ = session_.uploadResult(kEthernetStatusTable);
        statusKnown_ = true;
    }
    fLoadDialog(registers);
}

void frmCouplerConfigQY9000::cmdRefresh_Click() {
    runBusy([this] {
        std::shared_ptr<clsTable> status = session_.boundTable(kEthernetStatusTable);
        if (session_.online() && status)
            statusResult_ = status->ConfUpload(0, status->TableLen() + 1);
        fLoadDialog(imageOf(session_.table()));
        // Said once: a load in DHCP mode has said it already.
        if (statusResult_ != 0 && loaded_.notice != DhcpNotice::NoCommunication)
            showNoCommunication();
    });
}

void frmCouplerConfigQY9000::fLoadDialog(const RegisterImage& settings) {
    EthernetLoadSource source;
    source.coupler = askCoupler(services_, session_.online());
    if (std::shared_ptr<clsTable> general = session_.boundTable(kGeneralSettingsTable))
        source.general = imageOf(*general);
    std::shared_ptr<clsTable> status = session_.boundTable(kEthernetStatusTable);
    if (status && statusResult_ == 0) source.status = imageOf(*status);
    source.statusReadFailed = status && statusResult_ != 0;
    source.classBBefore = loaded_.classB;
    loaded_ = loadEthernetView(settings, source);
    show(loaded_);
    if (loaded_.notice == DhcpNotice::Pending)
        varnak().ui->messageBox(kDhcpPendingText, vbInformation, kProgramTitle);
    else if (loaded_.notice == DhcpNotice::NoCommunication)
        showNoCommunication();
}

void frmCouplerConfigQY9000::show(const EthernetView& view) {
    txtQY9x00_[0]->setText(QString::fromStdString(view.macText));
    txtQY9x00_[1]->setText(QString::fromStdString(view.netIdText));
    chkDHCP_->setChecked(view.dhcp);
    optDip9_ClassB_->setChecked(view.classB == true);
    optDip9_ClassC_->setChecked(view.classB == false);
    for (size_t i = 1; i < fpIQY9x00_.size(); ++i)
        fpIQY9x00_[i]->setText(QString::fromStdString(view.fields[i]));
    chkSpeed_->setChecked(view.speed100);
    chkANEG_->setChecked(view.autoNegotiation);
    chkDuplex_->setChecked(view.fullDuplex);
    txtQY9x00_[kNameField]->setText(nameText(view.name));
    txtQY9x00_[kNameField]->setCursorPosition(0);

    // The frame of the address mode the switches chose is the one the user edits.
    fraDHCP_->setEnabled(view.dhcp);
    for (size_t label : {3, 5, 6, 7}) lblQY9x00_[label]->setEnabled(view.dhcp);
    fraSpecIP_->setEnabled(!view.dhcp);
    for (size_t label : {1, 4}) lblQY9x00_[label]->setEnabled(!view.dhcp);
    for (size_t i = 1; i <= 8; ++i) fpIQY9x00_[i]->setEnabled(!view.dhcp && i != 4);
}

EthernetView frmCouplerConfigQY9000::read() const {
    EthernetView view = loaded_;
    for (size_t i = 1; i <= 8; ++i) view.fields[i] = fpIQY9x00_[i]->text().toStdString();
    view.speed100 = chkSpeed_->isChecked();
    view.autoNegotiation = chkANEG_->isChecked();
    view.fullDuplex = chkDuplex_->isChecked();
    view.name = nameCodes(txtQY9x00_[kNameField]->text());
    return view;
}

bool frmCouplerConfigQY9000::checkEntries() {
    const std::optional<EthernetRefusal> refused = firstRefusedEthernetEntry(read());
    if (!refused) return true;
    const bool name = refused->field == 0;
    QLineEdit* field = name ? txtQY9x00_[kNameField] : fpIQY9x00_[refused->field];
    const size_t label = name ? 5 : refused->field <= 4 ? 1 : 4;
    showRefusedEntry(kLabelCaptions[label], refused->range);
    field->setFocus();
    field->selectAll();
    return false;
}

void frmCouplerConfigQY9000::store(RegisterImage& registers) {
    storeEthernetView(read(), registers);
}

}  // namespace varnak
