#pragma once
// One QApplication for the whole test executable, created on first use (offscreen unless
// QT_QPA_PLATFORM names another platform).
namespace varnak::test {
void ensureQtApp();
}
