#pragma once
// The serial communication control. Filled by the control's own work; the program
// reaches the devices only through this class.
class QZcomOCX {
public:
    QZcomOCX();
    ~QZcomOCX();
};
