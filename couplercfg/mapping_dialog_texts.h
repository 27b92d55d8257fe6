#pragma once
// The texts of the mapping dialogs themselves: their captions and the download's messages
// (German id; the English text is id + 2000).

namespace varnak {

inline constexpr int kTxtMappingType = 277;
inline constexpr int kTxtMappingChannel = 279;
inline constexpr int kTxtMappingImage = 280;
inline constexpr int kTxtMappingCS = 281;
inline constexpr int kTxtMappingRef = 282;
inline constexpr int kTxtMappingOk = 342;
inline constexpr int kTxtMappingCancel = 343;
inline constexpr int kTxtProgrammedConfiguration = 1154;
inline constexpr int kTxtAutomaticConfiguration = 1881;
inline constexpr int kTxtLiftRefused = 1893;
inline constexpr int kTxtDownloadFailed = 1894;

// The reboot question after an online download (the same English text in both languages).
inline constexpr const char* kRebootQuestion = "Reboot to run with new settings ?";

}  // namespace varnak
