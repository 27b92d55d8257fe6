#include "app/projects_folder.h"

#include <QStandardPaths>
#include <filesystem>
#include <system_error>

#include "model/clsProject.h"
#include "platform/paths.h"

namespace varnak {

namespace fs = std::filesystem;

std::string userProjectsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return (fs::path(documents.toStdString()) / "Varnak").string();
}

std::shared_ptr<clsProject> makeProgramProject() {
    return std::make_shared<clsProject>(userProjectsFolder(), platform::resourceDir().string());
}

std::string projectParentFolder() {
    const std::string folder = gfVarnakProject()->FullPathProjectFolder();
    std::error_code ec;
    // Made with the documents folder if need be; where that fails, the dialogs show the
    // folder all the same and creating a project there reports why.
    if (folder == userProjectsFolder() && !fs::exists(folder, ec))
        fs::create_directories(folder, ec);
    return folder;
}

}  // namespace varnak
