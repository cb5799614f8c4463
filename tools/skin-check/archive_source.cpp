#include "tools/skin-check/archive_source.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include "tools/skin-check/pe_resource.h"
#include "ui/skin/skin_sources.h"

namespace skin_check {

namespace {

#ifdef _WIN32
// The resource API reads the program as the installer itself would.
bool ReadProgramResource(const SkinUI::UiChar* path, std::vector<unsigned char>* bytes, std::string* error) {
    HMODULE module = LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr) return *error = "cannot be loaded as a Windows program", false;
    bool ok = false;
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(200), L"ZIP");
    HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    const DWORD size = resource != nullptr ? SizeofResource(module, resource) : 0;
    const unsigned char* data =
        loaded != nullptr ? static_cast<const unsigned char*>(LockResource(loaded)) : nullptr;
    if (data != nullptr && size != 0) {
        bytes->assign(data, data + size);
        ok = true;
    } else {
        *error = "no \"ZIP\" resource 200 in the program";
    }
    FreeLibrary(module);
    return ok;
}
#endif

}  // namespace

bool LoadArchiveBytes(const SkinUI::UiChar* path, std::vector<unsigned char>* bytes, std::string* error) {
    switch (SkinUI::ReadFileBytes(path, kMaxSourceSize, bytes)) {
        case SkinUI::SkinFileStatus::kOk:
            break;
        case SkinUI::SkinFileStatus::kOpenFailed:
            return *error = "cannot open the file", false;
        case SkinUI::SkinFileStatus::kEmpty:
            return *error = "the file is empty", false;
        case SkinUI::SkinFileStatus::kTooLarge:
            return *error = "the file is too large", false;
        default:
            return *error = "cannot read the file", false;
    }
    if (bytes->size() < 2 || (*bytes)[0] != 'M' || (*bytes)[1] != 'Z') return true;  // a ZIP file
#ifdef _WIN32
    return ReadProgramResource(path, bytes, error);
#else
    size_t offset = 0, size = 0;
    std::string why;
    if (!FindPeResource(bytes->data(), bytes->size(), u"ZIP", 200, &offset, &size, &why)) {
        *error = "no \"ZIP\" resource 200 in the program (" + why + ")";
        return false;
    }
    std::vector<unsigned char> resource(bytes->begin() + static_cast<std::ptrdiff_t>(offset),
                                        bytes->begin() + static_cast<std::ptrdiff_t>(offset + size));
    bytes->swap(resource);
    return true;
#endif
}

}  // namespace skin_check
