#include "model/app_context.h"

#include <stdexcept>

#include "model/string_table.h"
#include "platform/registry_store.h"

namespace varnak {
namespace {
AppContext* currentContext = nullptr;
}

AppContext::AppContext()
    : defaultUi_(std::make_unique<SilentUi>()),
      defaultRegistry_(std::make_unique<platform::RegistryStore>()),
      defaultSettings_(std::make_unique<platform::UserSettings>()) {
    ui = defaultUi_.get();
    registry = defaultRegistry_.get();
    settings = defaultSettings_.get();
}

AppContext::~AppContext() = default;

std::string AppContext::text(int k) const { return LoadResString(LanguageBase + k); }

AppContext& varnak() {
    if (!currentContext) throw std::logic_error("no program context is current");
    return *currentContext;
}

ContextScope::ContextScope(AppContext& context) : previous_(currentContext) {
    currentContext = &context;
}

ContextScope::~ContextScope() { currentContext = previous_; }

}  // namespace varnak
