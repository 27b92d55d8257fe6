#include "app/basComDlg32.h"

#include <QApplication>
#include <QFileDialog>
#include <filesystem>

#include "app/gsd_export_message.h"
#include "app/menu_texts.h"
#include "app/projects_folder.h"
#include "app/unsaved_rail.h"
#include "comctl/QZcomOCX.h"
#include "model/app_context.h"
#include "model/clsProject.h"
#include "model/project_store.h"
#include "platform/paths.h"
#include "windowkit/dialog_openers.h"
#include "windowkit/dialog_support.h"
#include "windowkit/shared_texts.h"

namespace varnak {
namespace {

namespace fs = std::filesystem;

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

class QtFileChooser : public FileChooser {
  public:
    std::optional<std::string> choose(const FileDialogRequest& r) override {
        QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(r.title),
                           QString::fromStdString(r.initialFolder));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        // The description is shown whole; the patterns behind it match both letter cases.
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        dialog.setNameFilter(QString::fromStdString(
            r.filterDescription + " (" + upperAscii(r.pattern) + " " + lower(r.pattern) + ")"));
        dialog.setDefaultSuffix(QString::fromStdString(r.defaultExtension));
        if (r.save) {
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setFileMode(QFileDialog::AnyFile);
            // Choosing an existing file is not questioned.
            dialog.setOption(QFileDialog::DontConfirmOverwrite);
        } else {
            dialog.setAcceptMode(QFileDialog::AcceptOpen);
            dialog.setFileMode(QFileDialog::ExistingFile);
        }
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().front().toStdString();
    }
};

FileCommandServices current;

FileChooser& chooser() {
    static QtFileChooser platformChooser;
    return current.chooser ? *current.chooser : platformChooser;
}

FileCommandControl& control() {
    static FileCommandControl programControl;
    return current.control ? *current.control : programControl;
}

std::string resourceSubfolder(const char* name) {
    const std::string resources = gfVarnakProject()->FullPathResourceFolder();
    return platform::resolveCaseInsensitive(platform::joinPath({resources, name})).string();
}

std::optional<std::string> chooseFile(bool save, int filterId, const std::string& pattern,
                                      int titleId, const std::string& folder,
                                      const std::string& extension) {
    AppContext& c = varnak();
    FileDialogRequest r;
    r.save = save;
    r.title = c.text(titleId);
    r.filterDescription = c.text(filterId);
    r.pattern = pattern;
    r.initialFolder = folder;
    r.defaultExtension = extension;
    return chooser().choose(r);
}

// Restores the normal pointer however the command ends.
struct BusyPointer {
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
};

void openScript(int filterId, const char* pattern, const char* extension, bool coupler) {
    AppContext& c = varnak();
    auto path = chooseFile(false, filterId, pattern, kTxtScriptTitle, resourceSubfolder("Script"),
                           extension);
    if (!path) return;
    if (upperExtension(*path) != extension) {
        c.ui->messageBox(c.text(kTxtNoScriptFile), vbCritical, c.text(kTxtScriptTitle));
        return;
    }
    try {
        if (coupler)
            dialogOpeners().frmScriptCoupler_fKonstruktor(*path);
        else
            dialogOpeners().frmScriptTerm_fKonstruktor(*path);
    } catch (...) {
        // A script window that fails ends the command without a message.
    }
}

// What a control request answers while the program has no control.
constexpr int32_t kNoControl = qzcom::ComErrNotImplemented;

}  // namespace

int32_t FileCommandControl::QZxCreateGsdFile(const std::string& target,
                                             const std::string& resourcePath) {
    QZcomOCX* ocx = varnak().VarnakComOCX;
    return ocx ? ocx->QZxCreateGsdFile(target, resourcePath) : kNoControl;
}

int32_t FileCommandControl::QZxFirmwareLoad(const std::string& file) {
    QZcomOCX* ocx = varnak().VarnakComOCX;
    return ocx ? ocx->QZxFirmwareLoad(file) : kNoControl;
}

int32_t FileCommandControl::QZxFirmwareUpdate1(int32_t multiPoint, const std::string& file) {
    QZcomOCX* ocx = varnak().VarnakComOCX;
    return ocx ? ocx->QZxFirmwareUpdate1(multiPoint, file) : kNoControl;
}

FileCommandServicesScope::FileCommandServicesScope(FileCommandServices services)
    : previous_(current) {
    current = services;
}

FileCommandServicesScope::~FileCommandServicesScope() {
    current = previous_;
}

std::string upperExtension(const std::string& path) {
    std::string ext = fs::path(path).extension().string();
    return ext.empty() ? ext : upperAscii(ext.substr(1));
}

void gfSaveGsdFile() {
    AppContext& c = varnak();
    auto path =
        chooseFile(true, kTxtGsdFilter, "*.GSD", kTxtGsdTitle, projectParentFolder(), "GSD");
    if (!path) return;
    // The control writes its log into the current folder, replacing an earlier one; only a
    // log this run wrote is quoted.
    const fs::path log = fs::absolute(kGsdLogName);
    const auto before = lastWritten(log);
    // The control strips the extension itself: the chosen path goes as it is.
    int32_t result = control().QZxCreateGsdFile(*path, gfVarnakProject()->FullPathResourceFolder());
    const auto after = lastWritten(log);
    const std::string logText = after && after != before ? wholeText(log) : std::string();
    c.ui->messageBox(gsdExportMessage(result, logText, log), vbOKOnly, kProgramTitle);
}

bool gfOpenProjectFile() {
    AppContext& c = varnak();
    auto project = gfVarnakProject();
    auto path = chooseFile(false, kTxtProjectFilter, "*.VMT", kTxtProjectOpenTitle,
                           projectParentFolder(), "VMT");
    if (!path) return false;
    if (upperExtension(*path) != "VMT") {
        c.ui->messageBox(c.text(kTxtNoProjectFile), vbCritical,
                         c.text(kTxtProjectOpenMessageTitle));
        return false;
    }
    const fs::path file(*path);
    const fs::path folder = file.parent_path();
    const std::string name = file.stem().string();
    // The folder that holds the project folder, whatever the project folder is called.
    const std::string title = c.text(kTxtProjectOpenMessageTitle);
    const auto result = takeRoadDroppingLoadedRail(
        [&] { return project->fOpenProject(name, folder.string(), folder.parent_path().string()); },
        title);
    if (!result) return false;
    if (*result != kStoreOk) {
        c.ui->messageBox(storeResultMessage(*result), vbCritical, title);
        return false;
    }
    return true;
}

void gfOpenTerminalScript() {
    openScript(kTxtTerminalScriptFilter, "*.TSI", "TSI", false);
}

void gfOpenCouplerScript() {
    openScript(kTxtCouplerScriptFilter, "*.CSI", "CSI", true);
}

void gfFirmwareLoad() {
    AppContext& c = varnak();
    auto path = chooseFile(false, kTxtFirmwareFilter, "*.HEX", kTxtFirmwareTitle,
                           resourceSubfolder("Firmware"), "HEX");
    if (!path) return;
    const std::string title = c.text(kTxtFirmwareLoad);
    if (upperExtension(*path) != "HEX") {
        c.ui->messageBox(c.text(kTxtNoFirmwareFile), vbCritical, title);
        return;
    }
    if (c.ui->messageBox(c.text(kTxtBootstrapQuestion), vbYesNo | vbInformation, title) != vbYes)
        return;
    int32_t result;
    {
        BusyPointer busy;
        result = control().QZxFirmwareLoad(*path);
    }
    if (result != 0)
        c.ui->messageBox(c.text(kTxtErrorCode) + std::to_string(result), vbCritical, title);
    else
        c.ui->messageBox(c.text(kTxtFinishedWithoutError), vbInformation, title);
}

void gfFirmwareUpdate() {
    AppContext& c = varnak();
    auto path = chooseFile(false, kTxtFirmwareFilter, "*.HEX", kTxtFirmwareTitle,
                           resourceSubfolder("Firmware"), "HEX");
    if (!path) return;
    if (upperExtension(*path) != "HEX") {
        c.ui->messageBox(c.text(kTxtNoFirmwareFile), vbCritical, c.text(kTxtFirmwareUpdate));
        return;
    }
    int32_t result;
    {
        BusyPointer busy;
        result = control().QZxFirmwareUpdate1(c.MultiPointAdr, *path);
    }
    const std::string title = c.text(kTxtFirmwareLoad);
    if (result != 0)
        c.ui->messageBox(c.text(kTxtErrorCode) + std::to_string(result), vbCritical, title);
    else
        c.ui->messageBox(c.text(kTxtFinishedWithoutError) + "\r\n" + c.text(kTxtRebootCoupler),
                         vbInformation, title);
}

}  // namespace varnak
