// CManagerUI: process-wide settings. The skin locations live in SkinSources,
// which the portable skin loader reads; the manager is their public face.
#include "ui/core/manager_ui.h"
#include "ui/skin/skin_sources.h"

namespace SkinUI {

namespace {

struct ProcessSettings {
    HINSTANCE instance = nullptr;
    HINSTANCE resourceModule = nullptr;
    PtrArray plugins;
    WindowHslSetting hsl;
};

ProcessSettings& Settings() {
    static ProcessSettings settings;
    return settings;
}

void PublishResourceModule() {
    SkinSources::SetResourceModule(CManagerUI::ResourceModule());
}

}  // namespace

WindowHslSetting CManagerUI::WindowHsl() {
    return Settings().hsl;
}

void CManagerUI::SetModuleInstance(HINSTANCE instance) {
    Settings().instance = instance;
    PublishResourceModule();
}

HINSTANCE CManagerUI::ModuleInstance() {
    return Settings().instance;
}

void CManagerUI::SetResourceModule(HINSTANCE module) {
    Settings().resourceModule = module;
    PublishResourceModule();
}

HINSTANCE CManagerUI::ResourceModule() {
    return Settings().resourceModule != nullptr ? Settings().resourceModule : Settings().instance;
}

UiString CManagerUI::ModuleFolder() {
    if (Settings().instance == nullptr) return UiString();
    UiChar path[MAX_PATH + 1] = {};
    DWORD n = GetModuleFileNameW(Settings().instance, path, MAX_PATH);
    if (n == 0) return UiString();
    UiString folder(path, static_cast<int>(n < MAX_PATH ? n : MAX_PATH));
    const int slash = folder.ReverseFind('\\');
    return slash >= 0 ? folder.Left(slash + 1) : folder;
}

void CManagerUI::SetSkinFolderPath(const UiChar* path) {
    SkinSources::SetSkinFolderPath(path);
}

const UiString& CManagerUI::SkinFolderPath() {
    return SkinSources::SkinFolderPath();
}

void CManagerUI::UseSkinArchiveFile(const UiChar* name, bool keepOpen) {
    SkinSources::UseSkinArchiveFile(name, keepOpen);
}

void CManagerUI::UseSkinArchiveMemory(const void* bytes, size_t size) {
    SkinSources::UseSkinArchiveMemory(bytes, size);
}

const UiString& CManagerUI::SkinArchiveName() {
    return SkinSources::SkinArchiveName();
}

bool CManagerUI::IsSkinArchiveKeptOpen() {
    return SkinSources::IsSkinArchiveKeptOpen();
}

CSkinArchive* CManagerUI::OpenSkinArchive() {
    return SkinSources::OpenSkinArchive();
}

const PtrArray& CManagerUI::ControlPlugins() {
    return Settings().plugins;
}

bool CManagerUI::LoadControlPlugin(const UiChar* file) {
    if (file == nullptr) return false;
    HMODULE module = LoadLibraryW(file);
    if (module == nullptr) return false;
    FARPROC create = GetProcAddress(module, "CreateControl");
    if (create == nullptr) {
        FreeLibrary(module);
        return false;
    }
    void* function = reinterpret_cast<void*>(create);
    if (Settings().plugins.Find(function) < 0) Settings().plugins.Add(function);
    return true;
}

}  // namespace SkinUI
