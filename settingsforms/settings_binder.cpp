#include "settingsforms/settings_binder.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>
#include <map>

#include "settingsforms/settings_codec.h"
#include "settingsforms/settings_messages.h"
#include "windowkit/dialog_support.h"

namespace varnak {
namespace {

constexpr int kFieldWidth = 110;

QString captionOf(const Caption& c) {
    return qText(captionText(c));
}

const Caption& bindingCaption(const Binding& b, const ControlState& c) {
    return c.caption ? *c.caption : b.caption;
}

}  // namespace

SpecBody::SpecBody(const FormSpec& spec) : spec_(spec) {
    build();
}

SpecBody::~SpecBody() {
    if (root_ && !root_->parent()) delete root_;
}

void SpecBody::build() {
    root_ = new QWidget;
    root_->setObjectName(QString::fromStdString(spec_.name));
    auto* rootLayout = new QVBoxLayout(root_);
    rootLayout->setContentsMargins(0, 0, 0, 0);

    // One page per tab (or the root alone), holding columns of frames.
    std::vector<QWidget*> pages;
    if (spec_.pages.empty()) {
        pages.push_back(new QWidget);
        rootLayout->addWidget(pages.back());
    } else {
        tabs_ = new QTabWidget;
        tabs_->setObjectName("SSTab1");
        for (size_t p = 0; p < spec_.pages.size(); ++p) {
            pages.push_back(new QWidget);
            tabs_->addTab(pages.back(), QString());
        }
        rootLayout->addWidget(tabs_);
    }
    std::map<std::pair<size_t, int>, QVBoxLayout*> columns;
    for (size_t p = 0; p < pages.size(); ++p) {
        auto* row = new QHBoxLayout(pages[p]);
        row->setContentsMargins(0, 0, 0, 0);
        int last = 0;
        for (const Group& g : spec_.groups)
            if (g.page == p) last = std::max(last, g.column);
        for (int c = 0; c <= last; ++c) {
            auto* column = new QVBoxLayout;
            row->addLayout(column, 1);
            columns[{p, c}] = column;
        }
    }
    for (const Group& g : spec_.groups) {
        auto* frame = new QGroupBox;
        if (g.inRow)
            new QHBoxLayout(frame);
        else
            new QVBoxLayout(frame);
        auto it = columns.find({std::min(g.page, pages.size() - 1), g.column});
        if (it != columns.end()) it->second->addWidget(frame);
        groups_.push_back(frame);
    }
    for (auto& [key, column] : columns) column->addStretch(1);

    controls_.resize(spec_.bindings.size());
    for (size_t i = 0; i < spec_.bindings.size(); ++i) {
        const Binding& b = spec_.bindings[i];
        if (b.group >= groups_.size()) continue;
        QGroupBox* frame = groups_[b.group];
        frame->layout()->addWidget(buildControl(i, frame));
    }
    // Before the first load the controls show the declared items and captions.
    state_ = loadForm(spec_, RegisterImage{}, "");
}

QWidget* SpecBody::buildControl(size_t i, QWidget* parent) {
    const Binding& b = spec_.bindings[i];
    Control& c = controls_[i];
    const QString name = QString::fromStdString(b.name);
    if (b.kind == BindingKind::Check) {
        c.check = new QCheckBox(parent);
        c.check->setObjectName(name);
        c.row = c.check;
        QObject::connect(c.check, &QCheckBox::toggled, root_, [this, i] { userChanged(i); });
        return c.row;
    }
    c.row = new QWidget(parent);
    auto* line = new QHBoxLayout(c.row);
    line->setContentsMargins(0, 0, 0, 0);
    c.label = new QLabel(c.row);
    c.label->setObjectName(name + "_label");
    line->addWidget(c.label);
    switch (b.kind) {
        case BindingKind::Options: {
            c.optionFrame = new QWidget(c.row);
            c.optionFrame->setObjectName(name);
            const bool inRow = b.group < spec_.groups.size() && spec_.groups[b.group].inRow;
            if (inRow)
                new QHBoxLayout(c.optionFrame);
            else
                new QVBoxLayout(c.optionFrame);
            c.optionFrame->layout()->setContentsMargins(0, 0, 0, 0);
            c.options = new QButtonGroup(c.optionFrame);
            QObject::connect(c.options, &QButtonGroup::idToggled, root_, [this, i](int, bool on) {
                if (on) userChanged(i);
            });
            line->addWidget(c.optionFrame, 1);
            break;
        }
        case BindingKind::List:
            c.combo = new QComboBox(c.row);
            c.combo->setObjectName(name);
            c.combo->setMinimumWidth(kFieldWidth);
            QObject::connect(c.combo, &QComboBox::activated, root_, [this, i] { userChanged(i); });
            line->addStretch(1);
            line->addWidget(c.combo);
            break;
        case BindingKind::Number:
        case BindingKind::Text:
            if (b.kind == BindingKind::Text && b.text && !b.text->suggestions.empty()) {
                c.combo = new QComboBox(c.row);
                c.combo->setEditable(true);
                // The list only offers values: what the user types is stored as typed, so
                // no completion turns "6" into "64" and no typed text joins the list.
                c.combo->setCompleter(nullptr);
                c.combo->setInsertPolicy(QComboBox::NoInsert);
                c.combo->setObjectName(name);
                c.combo->setMinimumWidth(kFieldWidth);
                for (const std::string& s : b.text->suggestions) c.combo->addItem(qText(s));
                line->addStretch(1);
                line->addWidget(c.combo);
                break;
            }
            c.edit = new QLineEdit(c.row);
            c.edit->setObjectName(name);
            c.edit->setFixedWidth(kFieldWidth);
            if (b.kind == BindingKind::Number)
                c.edit->setValidator(new QRegularExpressionValidator(
                    QRegularExpression(R"(\s*[-+]?\d{0,10}\s*)"), c.edit));
            line->addStretch(1);
            line->addWidget(c.edit);
            break;
        case BindingKind::Label:
        case BindingKind::Check:
            c.label->setObjectName(name);
            break;
    }
    return c.row;
}

// The option buttons or list entries of a choice, as its state offers them.
void SpecBody::setItems(size_t i) {
    Control& c = controls_[i];
    const std::vector<ChoiceItem>& items = state_.controls[i].items;
    if (c.options) {
        while (c.radios.size() > items.size()) {
            delete c.radios.back();
            c.radios.pop_back();
        }
        while (c.radios.size() < items.size()) {
            auto* radio = new QRadioButton(c.optionFrame);
            radio->setObjectName(QString::fromStdString(spec_.bindings[i].name) +
                                 QString::number(c.radios.size()));
            c.options->addButton(radio, static_cast<int>(c.radios.size()));
            c.optionFrame->layout()->addWidget(radio);
            c.radios.push_back(radio);
        }
        for (size_t k = 0; k < items.size(); ++k) {
            c.radios[k]->setText(captionOf(items[k].caption));
            c.radios[k]->setVisible(!items[k].hidden);
        }
    } else if (c.combo && spec_.bindings[i].kind == BindingKind::List) {
        QStringList texts;
        for (const ChoiceItem& item : items) texts.append(captionOf(item.caption));
        QStringList shown;
        for (int k = 0; k < c.combo->count(); ++k) shown.append(c.combo->itemText(k));
        if (shown != texts) {
            c.combo->clear();
            c.combo->addItems(texts);
        }
        if (auto* view = qobject_cast<QListView*>(c.combo->view()))
            for (size_t k = 0; k < items.size(); ++k)
                view->setRowHidden(static_cast<int>(k), items[k].hidden);
    }
}

void SpecBody::initLanguage() {
    for (size_t g = 0; g < spec_.groups.size(); ++g)
        groups_[g]->setTitle(captionOf(spec_.groups[g].caption));
    if (tabs_)
        for (size_t p = 0; p < spec_.pages.size(); ++p)
            tabs_->setTabText(static_cast<int>(p), captionOf(spec_.pages[p]));
    applyLook();
}

void SpecBody::load(const RegisterImage& registers, std::string_view type) {
    state_ = loadForm(spec_, registers, type);
    loaded_ = true;
    show();
}

// Captions, items, visibility and enabling as the state has them.
void SpecBody::applyLook() {
    for (size_t i = 0; i < controls_.size(); ++i) {
        const Binding& b = spec_.bindings[i];
        const ControlState& s = state_.controls[i];
        Control& c = controls_[i];
        if (!c.row) continue;
        const QString caption = captionOf(bindingCaption(b, s));
        if (c.check) c.check->setText(caption);
        if (c.label) {
            c.label->setText(caption);
            c.label->setVisible(!caption.isEmpty());
        }
        {
            const QSignalBlocker block(c.combo);
            setItems(i);
        }
        c.row->setVisible(s.visible);
        c.row->setEnabled(s.enabled);
    }
    // A frame whose every control is hidden goes with them: no empty frame for a type that
    // lacks that group.
    for (size_t g = 0; g < groups_.size(); ++g) {
        bool holds = false;
        bool shows = false;
        for (size_t i = 0; i < spec_.bindings.size(); ++i) {
            if (spec_.bindings[i].group != g) continue;
            holds = true;
            shows = shows || state_.controls[i].visible;
        }
        groups_[g]->setVisible(!holds || shows);
    }
}

void SpecBody::show() {
    applyLook();
    for (size_t i = 0; i < controls_.size(); ++i) {
        const ControlState& s = state_.controls[i];
        Control& c = controls_[i];
        if (c.check) {
            const QSignalBlocker block(c.check);
            c.check->setChecked(s.checked);
        }
        if (c.options) {
            const QSignalBlocker block(c.options);
            c.options->setExclusive(false);
            for (size_t k = 0; k < c.radios.size(); ++k)
                c.radios[k]->setChecked(static_cast<int>(k) == s.selected);
            c.options->setExclusive(true);
        }
        if (c.combo) {
            const QSignalBlocker block(c.combo);
            if (spec_.bindings[i].kind == BindingKind::List)
                c.combo->setCurrentIndex(s.selected);
            else
                c.combo->setCurrentText(qText(s.text));
        }
        if (c.edit) c.edit->setText(qText(s.text));
    }
}

void SpecBody::read() {
    for (size_t i = 0; i < controls_.size(); ++i) {
        ControlState& s = state_.controls[i];
        const Control& c = controls_[i];
        if (c.check && spec_.bindings[i].reg >= 0) s.checked = c.check->isChecked();
        if (c.options) s.selected = c.options->checkedId();
        if (c.combo) {
            if (spec_.bindings[i].kind == BindingKind::List)
                s.selected = c.combo->currentIndex();
            else
                s.text = c.combo->currentText().toStdString();
        }
        if (c.edit) s.text = c.edit->text().toStdString();
    }
}

void SpecBody::userChanged(size_t i) {
    if (!loaded_) return;
    read();
    controlChanged(spec_, state_, i);
    applyLook();
}

const FormState& SpecBody::state() {
    read();
    return state_;
}

bool SpecBody::checkEntries() {
    read();
    const std::optional<RefusedEntry> refused = firstRefusedEntry(spec_, state_);
    if (!refused) return true;
    const size_t i = refused->control;
    showRefusedEntry(fieldCaption(i), refused->range);
    if (QWidget* field = input(i)) {
        field->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->selectAll();
    }
    return false;
}

// A field without a label of its own is named by what stands before it in its frame (the
// check box that switches it).
std::string SpecBody::fieldCaption(size_t i) const {
    const size_t group = spec_.bindings[i].group;
    for (size_t k = i + 1; k-- > 0;) {
        if (spec_.bindings[k].group != group) continue;
        const std::string text = captionText(bindingCaption(spec_.bindings[k], state_.controls[k]));
        if (!text.empty()) return text;
    }
    return {};
}

void SpecBody::store(RegisterImage& registers) {
    read();
    storeForm(spec_, state_, registers);
}

QWidget* SpecBody::control(size_t i) const {
    if (i >= controls_.size()) return nullptr;
    const Control& c = controls_[i];
    if (c.check) return c.check;
    if (c.optionFrame) return c.optionFrame;
    if (c.combo) return c.combo;
    if (c.edit) return c.edit;
    return c.label;
}

QWidget* SpecBody::input(size_t i, int item) const {
    if (i >= controls_.size()) return nullptr;
    const Control& c = controls_[i];
    if (c.options)
        return item >= 0 && item < static_cast<int>(c.radios.size()) ? c.radios[item] : nullptr;
    return control(i);
}

}  // namespace varnak
