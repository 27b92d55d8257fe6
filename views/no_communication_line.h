#pragma once
// The line a process-data view shows while its passes fail: "No communication with
// coupler!" (text 469 in the current language), hidden while the passes go through.
class QLabel;

namespace varnak {

class PassHealth;

// The line, hidden, named lblNoCommunication.
QLabel* newNoCommunicationLine();
// The line's caption in the current language.
void setNoCommunicationCaption(QLabel* line);
// Shown exactly while the passes do not reach the station.
void showPassHealth(QLabel* line, const PassHealth& health);

}  // namespace varnak
