#pragma once
// What the program's own dialogs share: their texts in the current language, names in
// capitals as the users' file systems compare them, and the folder chooser.
#include <QString>
#include <initializer_list>
#include <string>

#include "model/text_util.h"

class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QWidget;

namespace varnak {

QString qText(const std::string& s);
// The string-table text of id in the current language.
QString dialogText(int id);
// True when name ends in suffix, letter case ignored (".PF", ".CF").
bool endsWithNoCase(const std::string& name, const std::string& suffix);
// A folder chosen with Qt's own chooser; empty when cancelled.
QString askForFolder(QWidget* parent, const QString& from);
// The small "..." button beside a folder field: it puts the folder the user chooses into
// the field, which gets room for a path.
QPushButton* folderChooserButton(QWidget* dialog, QLineEdit* field);
// The width a small dialog needs so that the window manager does not cut its title short:
// the title in the frame's bold face and room for the frame's icon and buttons.
int widthForTitle(const QWidget* dialog);
// Makes the dialog at least that wide.
void widenForTitle(QWidget* dialog);
// The dialog's buttons, right-aligned in one row.
QHBoxLayout* buttonRow(std::initializer_list<QPushButton*> buttons);

// "Keine Kommunikation mit Koppler!" / "No communication with coupler!" with the stop icon
// and an empty title: a window that could not reach the device.
void showNoCommunication();

// The hourglass over the whole program for its lifetime (message boxes show the normal
// pointer meanwhile).
class BusyCursor {
  public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace varnak
