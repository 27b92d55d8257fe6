// Class registration: the registry layer records the control's type library, class and
// program id with the path of this library, so that a host can find it by name.
#include <dlfcn.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "comctl/QZcomOCX.h"
#include "platform/registry_store.h"

namespace {

constexpr const char* kLibId = "{4A6DD54E-CC6B-4B36-B59A-9968E5D08046}";
constexpr const char* kClsId = "{1472EF02-467F-43ED-B73D-5A8274008D3A}";
constexpr const char* kTypeName = "Harvenor Pelmun ActiveX Control";
// Recompose on resize, can't link inside, inside-out, activate when visible, invisible
// at run time, set client site first.
constexpr const char* kMiscStatus = "132497";  // 0x20591

struct Value {
    std::string key;
    std::string name;
    std::string data;
};

std::string libraryPath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&DllRegisterServer), &info) == 0 || !info.dli_fname)
        return {};
    // The loader reports the name it was given, which may be relative to the start folder.
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(info.dli_fname, ec);
    return ec ? std::string(info.dli_fname) : absolute.string();
}

std::vector<Value> typeLibraryValues(const std::string& path) {
    const std::string key = std::string("TypeLib\\") + kLibId + "\\2.4";
    return {{key, "Name", "QZCOMOCXLib"}, {key, "Path", path}};
}

std::vector<Value> classValues(const std::string& path) {
    const std::string key = std::string("CLSID\\") + kClsId;
    return {{key, "Name", kTypeName},
            {key, "ProgID", kQZcomProgId},
            {key, "InprocServer32", path},
            {key, "ThreadingModel", "Apartment"},
            {key, "ToolboxBitmap32", path + ", 1"},
            {key, "MiscStatus", kMiscStatus},
            {key, "Insertable", "1"},
            {key, "TypeLib", kLibId},
            {key, "Version", "2.4"},
            {kQZcomProgId, "Name", kTypeName},
            {kQZcomProgId, "CLSID", kClsId}};
}

bool writeAll(varnak::platform::RegistryStore& store, const std::vector<Value>& values) {
    for (const Value& v : values)
        if (!store.writeValue(v.key, v.name, v.data)) return false;
    return true;
}

bool removeAll(varnak::platform::RegistryStore& store, const std::vector<Value>& values) {
    for (const Value& v : values) {
        std::string old;
        if (store.readValue(v.key, v.name, old) && !store.deleteValue(v.key, v.name)) return false;
    }
    return true;
}

}  // namespace

extern "C" int32_t DllRegisterServer() {
    varnak::platform::RegistryStore store;
    const std::string path = libraryPath();
    if (path.empty() || !writeAll(store, typeLibraryValues(path))) return kSelfRegErrTypeLib;
    if (!writeAll(store, classValues(path))) return kSelfRegErrClass;
    return 0;
}

extern "C" int32_t DllUnregisterServer() {
    varnak::platform::RegistryStore store;
    if (!removeAll(store, typeLibraryValues({}))) return kSelfRegErrTypeLib;
    if (!removeAll(store, classValues({}))) return kSelfRegErrClass;
    return 0;
}
