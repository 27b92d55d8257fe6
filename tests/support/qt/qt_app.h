#pragma once
// One QApplication for the whole test executable, created on first use (offscreen).
namespace varnak::test {
void ensureQtApp();
}
