#include <QString>

#include "app/basStartup.h"
#include "model/app_context.h"
#include "model/clsCommon.h"

namespace varnak {

namespace {
constexpr int32_t kDeveloperMode = 1;
constexpr int32_t kProductionMode = 2;
}  // namespace

std::string commandLineArguments(int argc, char** argv) {
    std::string text;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) text += ' ';
        text += argv[i];
    }
    return text;
}

bool gfReadCommandLine(const std::string& arguments, AppContext& context) {
    const std::string upper = QString::fromStdString(arguments).toUpper().toStdString();
    auto has = [&](const char* sw) { return upper.find(sw) != std::string::npos; };
    if (has("-P=TIDAL-GATE")) context.AccessCodeText = kAccessCode;
    if (context.VarnakCommon) {
        int32_t level = has("-D=RIM_TALK") ? kDeveloperMode : 0;
        if (has("-D=LANTERNING")) level |= kProductionMode;
        context.VarnakCommon->setAccessLevel(level);
    }
    return true;
}

}  // namespace varnak
