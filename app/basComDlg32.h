#pragma once
// The file commands of the menus: each shows one open or save dialog, checks the chosen
// file's extension in capitals and hands the file on (project object, script windows,
// serial control), reporting the outcome in a message box.
#include <cstdint>
#include <optional>
#include <string>

namespace varnak {

struct FileDialogRequest {
    bool save = false;
    std::string title;
    std::string filterDescription;  // shown whole as the one filter entry
    std::string pattern;            // "*.GSD": matched in either letter case
    std::string initialFolder;
    std::string defaultExtension;  // "GSD": added to a name typed without extension
};

// Shows a file dialog; nullopt when it was cancelled.
class FileChooser {
  public:
    virtual ~FileChooser() = default;
    virtual std::optional<std::string> choose(const FileDialogRequest& request) = 0;
};

// The control's requests that the file commands make.
class FileCommandControl {
  public:
    virtual ~FileCommandControl() = default;
    [[nodiscard]] virtual int32_t QZxCreateGsdFile(const std::string& target,
                                                   const std::string& resourcePath);
    [[nodiscard]] virtual int32_t QZxFirmwareLoad(const std::string& file);
    [[nodiscard]] virtual int32_t QZxFirmwareUpdate1(int32_t multiPoint, const std::string& file);
};

// The dialogs and the control the commands use: by default the platform's dialogs and
// the program's control; tests install their own for the scope's lifetime.
struct FileCommandServices {
    FileChooser* chooser = nullptr;
    FileCommandControl* control = nullptr;
};
class FileCommandServicesScope {
  public:
    explicit FileCommandServicesScope(FileCommandServices services);
    ~FileCommandServicesScope();
    FileCommandServicesScope(const FileCommandServicesScope&) = delete;
    FileCommandServicesScope& operator=(const FileCommandServicesScope&) = delete;

  private:
    FileCommandServices previous_;
};

// The extension of a path in capitals ("" when it has none).
std::string upperExtension(const std::string& path);

void gfSaveGsdFile();
// True when a project was opened.
[[nodiscard]] bool gfOpenProjectFile();
void gfOpenTerminalScript();
void gfOpenCouplerScript();
void gfFirmwareLoad();
void gfFirmwareUpdate();

}  // namespace varnak
