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

}  // namespace varnak::test
