#include "tools/skin-check/skin_check.h"

#include <algorithm>
#include <filesystem>
#include <new>
#include <string>
#include <vector>

#include "tools/skin-check/archive_source.h"
#include "ui/core/text_convert.h"
#include "ui/core/ui_string.h"
#include "ui/skin/skin_image_pixels.h"
#include "ui/skin/skin_sources.h"
#include "ui/skin/skin_xml.h"

namespace skin_check {

namespace {

using SkinUI::SkinFileStatus;
using SkinUI::UiChar;
using SkinUI::UiString;

enum class FileKind { kXml, kImage, kOther };

FileKind KindOf(const UiString& name) {
    const int dot = name.ReverseFind('.');
    if (dot < 0) return FileKind::kOther;
    UiString ext = name.Mid(dot + 1);
    ext.MakeLower();
    if (ext == UI_TEXT("xml")) return FileKind::kXml;
    for (const SkinUI::UiChar* image :
         {UI_TEXT("png"), UI_TEXT("jpg"), UI_TEXT("jpeg"), UI_TEXT("bmp"), UI_TEXT("gif")}) {
        if (ext == image) return FileKind::kImage;
    }
    return FileKind::kOther;
}

// Control characters would break the one-line-per-file output.
std::string Printable(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else if (static_cast<unsigned char>(c) < 32)
            out += '?';
        else
            out += c;
    }
    return out;
}

std::string StatusText(SkinFileStatus status, bool fromArchive) {
    switch (status) {
        case SkinFileStatus::kOk:
            return "ok";
        case SkinFileStatus::kOpenFailed:
            return fromArchive ? "Error opening zip file" : "Error opening file";
        case SkinFileStatus::kNotFound:
            return "Could not find ziped file";
        case SkinFileStatus::kEmpty:
            return "File is empty";
        case SkinFileStatus::kTooLarge:
            return "File too large";
        case SkinFileStatus::kReadFailed:
            return fromArchive ? "Could not unzip file" : "Could not read file";
    }
    return "unknown error";
}

// Loads one file through the skin-location settings; returns "" when it
// loads, else the message.
std::string CheckFile(const UiString& name, FileKind kind) {
    if (kind == FileKind::kXml) {
        SkinUI::CSkinXml doc;
        if (doc.ParseFile(name.Data())) return "";
        std::string message = SkinUI::UiToUtf8(doc.ErrorMessageText());
        const std::string location = SkinUI::UiToUtf8(doc.ErrorLocationText());
        if (!location.empty()) message += " at \"" + location + "\"";
        return message;
    }
    std::vector<unsigned char> bytes;
    bool fromArchive = false;
    const SkinFileStatus status = SkinUI::ReadSkinFile(name.Data(), 0, &bytes, &fromArchive);
    if (status != SkinFileStatus::kOk) return StatusText(status, fromArchive);
    SkinUI::RgbaImage image;
    if (!SkinUI::DecodeImageRgba(bytes.data(), bytes.size(), &image)) return "Could not decode image";
    return "";
}

struct Result {
    int files = 0;
    int failures = 0;
};

void Report(FILE* out, const UiString& name, const std::string& error, Result* result) {
    ++result->files;
    if (!error.empty()) ++result->failures;
    const std::string line = Printable(SkinUI::UiToUtf8(name.Data())) + ": " +
                             (error.empty() ? std::string("ok") : Printable(error)) + "\n";
    std::fwrite(line.data(), 1, line.size(), out);
}

UiString FromPath(const std::filesystem::path& path) {
#ifdef _WIN32
    return UiString(path.generic_wstring().c_str());
#else
    return UiString(path.generic_u16string().c_str());
#endif
}

void CheckFolder(const std::filesystem::path& root, FILE* out, Result* result) {
    // The folder setting appends a backslash, which only Windows reads as a
    // separator; a slash works everywhere.
    UiString folder = FromPath(root);
    if (folder.At(folder.Length() - 1) != '/') folder += UiChar('/');
    SkinUI::SkinSources::SetSkinFolderPath(folder.Data());
    std::vector<UiString> names;
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(root, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        UiString name = FromPath(std::filesystem::relative(it->path(), root, ec));
        if (KindOf(name) != FileKind::kOther) names.push_back(name);
    }
    std::sort(names.begin(), names.end(),
              [](const UiString& a, const UiString& b) { return a.Compare(b) < 0; });
    for (const UiString& name : names) Report(out, name, CheckFile(name, KindOf(name)), result);
}

void CheckArchive(FILE* out, Result* result) {
    SkinUI::CSkinArchive* archive = SkinUI::SkinSources::OpenSkinArchive();
    for (int i = 0; i < archive->EntryCount(); ++i) {
        SkinUI::SkinArchiveEntry entry;
        if (archive->GetEntry(i, &entry) != SkinUI::kArchiveOk) continue;
        UiString name(entry.name);
        if (name.IsEmpty() || name.At(name.Length() - 1) == '/') continue;  // folders
        const FileKind kind = KindOf(name);
        if (kind != FileKind::kOther) Report(out, name, CheckFile(name, kind), result);
    }
}

}  // namespace

int CheckSkinSource(const SkinUI::UiChar* source, FILE* out) {
    const std::string sourceText = Printable(SkinUI::UiToUtf8(source));
    try {
        Result result;
        std::error_code ec;
#ifdef _WIN32
        const std::filesystem::path path(source);
#else
        const std::filesystem::path path{std::u16string(source)};
#endif
        if (std::filesystem::is_directory(path, ec)) {
            CheckFolder(path, out, &result);
        } else {
            std::vector<unsigned char> archive;
            std::string error;
            if (!LoadArchiveBytes(source, &archive, &error)) {
                std::fprintf(out, "%s: %s\n", sourceText.c_str(), error.c_str());
                return 1;
            }
            uint32_t code = 0;
            SkinUI::SkinArchivePtr probe(
                SkinUI::CSkinArchive::OpenMemory(archive.data(), archive.size(), &code));
            if (!probe) {
                std::fprintf(out, "%s: %s (0x%X)\n", sourceText.c_str(),
                             code == SkinUI::kArchiveCorrupt ? "not a ZIP archive, or a corrupt one"
                                                             : "the archive cannot be read",
                             static_cast<unsigned>(code));
                return 1;
            }
            probe.reset();
            SkinUI::SkinSources::UseSkinArchiveMemory(archive.data(), archive.size());
            CheckArchive(out, &result);
            SkinUI::SkinSources::Reset();
        }
        if (result.files == 0) {
            std::fprintf(out, "%s: no skin files (XML or images) found\n", sourceText.c_str());
            return 1;
        }
        return result.failures == 0 ? 0 : 1;
    } catch (const std::bad_alloc&) {
        SkinUI::SkinSources::Reset();
        std::fprintf(out, "%s: out of memory\n", sourceText.c_str());
        return 1;
    }
}

}  // namespace skin_check
