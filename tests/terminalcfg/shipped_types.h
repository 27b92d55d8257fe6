#pragma once
// The shipped description types the program's pickers open a settings form for.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/dialog_pickers.h"
#include "platform/paths.h"

namespace varnak::test {

inline std::vector<std::string> shippedTypesOpening(const std::string& form, bool coupler) {
    std::vector<std::string> types;
    const auto folder = platform::resourceDir() / (coupler ? "Coupler" : "Terminal");
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string type = entry.path().stem().string();
        const char* picked = nullptr;
        if (coupler) {
            if (const CouplerDialogChoice* c = couplerDialogFor(type)) picked = c->form;
        } else if (const TerminalDialogChoice* t = terminalDialogFor(type)) {
            picked = t->form;
        }
        if (picked && form == picked) types.push_back(type);
    }
    std::sort(types.begin(), types.end());
    return types;
}

// The shipped types a form is for: those the pickers open it for, or for a form no picker
// opens, those that carry the six letters its name ends in.
inline std::vector<std::string> shippedTypesOfForm(const std::string& form, bool coupler) {
    std::vector<std::string> types = shippedTypesOpening(form, coupler);
    if (!types.empty() || form.size() < 6) return types;
    const std::string six = form.substr(form.size() - 6);
    const auto folder = platform::resourceDir() / (coupler ? "Coupler" : "Terminal");
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string type = entry.path().stem().string();
        if (type.rfind(six, 0) == 0) types.push_back(type);
    }
    std::sort(types.begin(), types.end());
    return types;
}

}  // namespace varnak::test
