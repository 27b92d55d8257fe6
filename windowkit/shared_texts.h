#pragma once
// String-table ids of the texts the windows of every folder share (German id; the English
// text is id + 2000).

namespace varnak {

inline constexpr int kTxtNoCommunication = 469;
inline constexpr int kTxtUseRegisterDialog = 316;
inline constexpr int kTxtCancel = 1971;
inline constexpr int kTxtCode = 1983;  // followed by the result code

// The program's title: the application name of its own per-user settings and the title
// of its plain messages.
inline constexpr const char* kProgramTitle = "Varnak";

}  // namespace varnak
