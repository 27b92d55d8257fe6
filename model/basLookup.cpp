#include "model/basLookup.h"

#include "model/app_context.h"
#include "model/clsColCouplers.h"
#include "model/clsCommon.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "model/device_description.h"
#include "model/project_store.h"
#include "model/text_util.h"
#include "platform/ini_file.h"
#include "platform/paths.h"

namespace varnak {
namespace {

bool hasIniExtension(const std::string& name) {
    return name.size() >= 4 && upperAscii(name.substr(name.size() - 4)) == ".INI";
}

}  // namespace

bool gfCheckAccessCode() {
    AppContext& context = varnak();
    if (context.AccessCodeText == kAccessCode) return true;
    auto answer = context.ui->inputBox("Enter key / Paßwort eingeben: ", "", "");
    if (answer && upperAscii(*answer) == kAccessCode) {
        context.AccessCodeText = kAccessCode;
        return true;
    }
    std::string title = context.text(682);
    context.ui->messageBox(title + "\n" + context.text(680) + "\n" + context.text(681), vbCritical,
                           title);
    return false;
}

std::string gfGetTypeFromListEntry(std::string& entry) {
    size_t first = entry.find_first_not_of(" \t");
    size_t last = entry.find_last_not_of(" \t");
    entry = first == std::string::npos ? std::string() : entry.substr(first, last - first + 1);
    size_t comma = entry.find(',');
    return comma == std::string::npos ? entry : entry.substr(0, comma);
}

bool gfGetActiveCoupler(std::shared_ptr<clsCoupler>& coupler) {
    AppContext& context = varnak();
    auto project = gfVarnakProject();
    if (project->Online()) {
        if (!context.VarnakOnlineCoupler)
            context.VarnakOnlineCoupler = std::make_shared<clsCoupler>();
        coupler = context.VarnakOnlineCoupler;
        return true;
    }
    auto couplers = project->clsColCouplers();
    if (couplers->Count() == 0) return false;
    coupler = *couplers->begin();
    return true;
}

CouplerTypeList gfInitCouplerTypeList() {
    CouplerTypeList list;
    std::string folder =
        platform::resolveCaseInsensitive(
            platform::joinPath({gfVarnakProject()->FullPathResourceFolder(), "Coupler"}))
            .string();
    std::vector<std::string> names = platform::listMatching(folder, "*");
    const std::vector<std::vector<std::string>> passes = {{"QZ", "QY"}, {"QL"}, {"QI", "QP"}};
    std::string key = descriptionKey();
    for (size_t pass = 0; pass < passes.size(); ++pass) {
        for (const std::string& name : names) {
            bool series = false;
            for (const auto& prefix : passes[pass]) series = series || name.starts_with(prefix);
            const std::string file = platform::joinPath({folder, name});
            // A damaged description would make a rail of type "0".
            if (!series || !hasIniExtension(name) || !usableDescription(file)) continue;
            std::string entry = name.substr(0, name.size() - 4);
            std::string text;
            if (ini::GetPrivateProfileString("Common", key, "", text, 100, file) > 1)
                entry += ",         " + trimBlanks(text);
            list.entries.push_back(entry);
        }
        if (pass == 0 && !list.entries.empty()) list.selected = 0;
    }
    return list;
}

}  // namespace varnak
