#include "windowkit/dialog_support.h"

#include <QApplication>
#include <QFileDialog>
#include <QFont>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cctype>

#include "model/app_context.h"
#include "windowkit/shared_texts.h"

namespace varnak {

QString qText(const std::string& s) {
    return QString::fromStdString(s);
}

QString dialogText(int id) {
    return qText(varnak().text(id));
}

void showNoCommunication() {
    AppContext& c = varnak();
    c.ui->messageBox(c.text(kTxtNoCommunication), vbCritical, "");
}

bool endsWithNoCase(const std::string& name, const std::string& suffix) {
    return name.size() >= suffix.size() &&
           upperAscii(name.substr(name.size() - suffix.size())) == upperAscii(suffix);
}

QString askForFolder(QWidget* parent, const QString& from) {
    return QFileDialog::getExistingDirectory(
        parent, QString(), from, QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
}

QPushButton* folderChooserButton(QWidget* dialog, QLineEdit* field) {
    auto* button = new QPushButton("...");
    button->setObjectName("cmdBrowse");
    button->setAutoDefault(false);
    button->setMaximumWidth(dialog->fontMetrics().horizontalAdvance("...") * 3);
    field->setMinimumWidth(dialog->fontMetrics().averageCharWidth() * 48);
    QObject::connect(button, &QPushButton::clicked, dialog, [dialog, field] {
        QString chosen = askForFolder(dialog, field->text());
        if (!chosen.isEmpty()) field->setText(chosen);
    });
    return button;
}

int widthForTitle(const QWidget* dialog) {
    QFont titleFont = dialog->font();
    titleFont.setBold(true);
    const QFontMetrics title(titleFont);
    return title.horizontalAdvance(dialog->windowTitle()) + title.averageCharWidth() * 24;
}

void widenForTitle(QWidget* dialog) {
    dialog->setMinimumWidth(std::max(dialog->minimumWidth(), widthForTitle(dialog)));
}

QHBoxLayout* buttonRow(std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* b : buttons) row->addWidget(b);
    return row;
}

BusyCursor::BusyCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyCursor::~BusyCursor() {
    QApplication::restoreOverrideCursor();
}

}  // namespace varnak
