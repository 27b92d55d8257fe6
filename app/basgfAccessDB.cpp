#include "app/basgfAccessDB.h"

#include <filesystem>

#include "app/menu_texts.h"
#include "model/app_context.h"
#include "platform/paths.h"
#include "windowkit/dialog_support.h"

namespace varnak {

bool gfRailNameExists(const std::string& projectFolder, const std::string& name) {
    namespace fs = std::filesystem;
    const std::string wanted = upperAscii(name + ".CF");
    std::error_code ec;
    bool exists = false;
    for (fs::directory_iterator it(projectFolder, ec), end; !ec && it != end; it.increment(ec)) {
        if (upperAscii(it->path().filename().string()) == wanted) {
            exists = true;
            break;
        }
    }
    if (!exists) return false;
    AppContext& c = varnak();
    c.ui->messageBox(
        c.text(kTxtRailNameTaken) + "\r\nTry again, and ...\r\n" + c.text(kTxtRailNameOther),
        vbCritical, c.text(kTxtRailNewCaption));
    return true;
}

}  // namespace varnak
