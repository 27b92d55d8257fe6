#include "comctl/QZcomOCX.h"

QZcomOCX::QZcomOCX() = default;
QZcomOCX::~QZcomOCX() = default;
