#include "windowkit/dialog_openers.h"

namespace varnak {
namespace {

DialogOpeners* installed = nullptr;

}  // namespace

DialogOpeners& dialogOpeners() {
    static DialogOpeners nothing;
    return installed ? *installed : nothing;
}

bool hasDialogOpeners() {
    return installed != nullptr;
}

void setDialogOpeners(DialogOpeners* openers) {
    installed = openers;
}

DialogOpenersScope::DialogOpenersScope(DialogOpeners& openers) : previous_(installed) {
    installed = &openers;
}

DialogOpenersScope::~DialogOpenersScope() {
    installed = previous_;
}

}  // namespace varnak
