// CManagerUI: the per-window manager of the UI framework.
//
// This part holds the manager's resources and the process-wide settings:
// default colours, fonts, images, per-class default attributes and language
// strings, each looked up in the manager's own ResourceSet first, then in the
// ResourceSet shared by the process, then a built-in default; and where skin
// files come from (module, resource module, skin folder, skin archive). The
// window binding and message handling build on this class.
//
// Everything here runs on the UI thread and nothing is locked.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/core/ptr_array.h"
#include "ui/core/resource_set.h"
#include "ui/core/ui_string.h"

namespace SkinUI {

class CSkinArchive;
struct ImageEntry;

// The window-wide hue, saturation and lightness shift (hue in degrees around
// 180, saturation and lightness in percent of 100).
struct WindowHslSetting {
    short hue = 180;
    short saturation = 100;
    short lightness = 100;
    bool enabled = false;
};

class CManagerUI {
public:
    CManagerUI();
    CManagerUI(const CManagerUI&) = delete;
    CManagerUI& operator=(const CManagerUI&) = delete;
    virtual ~CManagerUI();

    // The DC font metrics are measured on; none until the window is attached.
    HDC PaintDC() const { return paintDC_; }
    // Sets the DC used for metrics (the window attachment calls it with the
    // window's DC; the manager does not release it).
    void SetPaintDC(HDC dc) { paintDC_ = dc; }

    ResourceSet& OwnResources() { return own_; }
    static ResourceSet& SharedResources();

    // Colours: the getters give the manager's own values. With shared, the
    // own value follows the change while it equals the shared one, then the
    // shared value changes; other managers keep their copies.
    uint32_t DefaultDisabledColor() const { return own_.disabledTextColor; }
    uint32_t DefaultTextColor() const { return own_.textColor; }
    uint32_t DefaultLinkColor() const { return own_.linkColor; }
    uint32_t DefaultLinkHoverColor() const { return own_.linkHoverColor; }
    uint32_t DefaultSelectedBackColor() const { return own_.selectedBackColor; }
    void ChangeDefaultDisabledColor(uint32_t color, bool shared);
    void ChangeDefaultTextColor(uint32_t color, bool shared);
    void ChangeDefaultLinkColor(uint32_t color, bool shared);
    void ChangeDefaultLinkHoverColor(uint32_t color, bool shared);
    void ChangeDefaultSelectedBackColor(uint32_t color, bool shared);

    // Fonts. Every FontEntry returned has its metrics filled when a paint DC
    // exists.
    // The own default font when it has a face, else the shared one.
    FontEntry* DefaultFont();
    // Replaces the default font of the own or the shared set; nothing changes
    // when the font cannot be created.
    void ReplaceDefaultFont(const UiChar* face, int size, bool bold, bool underline, bool italic,
                            bool shared);
    // Creates a font and stores it under the decimal id, replacing (and
    // deleting) an earlier one. Returns the font, or null.
    HFONT StoreFont(int id, const UiChar* face, int size, bool bold, bool underline, bool italic,
                    bool shared);
    // Own entry, shared entry, else (also for a negative id) the default font.
    HFONT FontHandle(int id);
    FontEntry* FontInfo(int id);
    FontEntry* FontInfoOfHandle(HFONT font);
    // The first entry, own before shared, with this face (exact), size and flags.
    HFONT FindFontHandle(const UiChar* face, int size, bool bold, bool underline, bool italic);
    void DropAllFonts(bool shared);

    // Images, by the name written in the skin (exact).
    ImageEntry* FindImage(const UiChar* name) const;
    // Loads an image and stores it in the own or shared set, replacing an
    // entry of that name. With a resource type the name must be a decimal
    // resource id. Returns the stored entry, or null (nothing is stored).
    ImageEntry* LoadNamedImage(const UiChar* name, const UiChar* resourceType, uint32_t mask, bool useHSL,
                               bool shared);
    // FindImage, or on a miss LoadNamedImage into the own set.
    ImageEntry* FindOrLoadImage(const UiChar* name, const UiChar* resourceType, uint32_t mask, bool useHSL);
    void DropAllImages(bool shared);

    // Default attribute text per control class (skin element name).
    void SetClassDefaults(const UiChar* className, const UiChar* attributes, bool shared);
    // Own text, else shared text, else null.
    const UiChar* ClassDefaults(const UiChar* className) const;
    void DropAllClassDefaults(bool shared);

    // Language strings live in the shared set.
    static void AddLanguageString(int id, const UiChar* text);
    static const UiChar* GetLanguageString(int id);
    // Replaces "%{id}" tokens by their language strings.
    static void ExpandLanguageTokens(UiString& text);

    static WindowHslSetting WindowHsl();

    // Process settings.
    static void SetModuleInstance(HINSTANCE instance);
    static HINSTANCE ModuleInstance();
    static void SetResourceModule(HINSTANCE module);
    // The resource module when one was set, else the module instance.
    static HINSTANCE ResourceModule();
    // The module's folder up to and including the last backslash.
    static UiString ModuleFolder();
    static void SetSkinFolderPath(const UiChar* path);
    static const UiString& SkinFolderPath();
    static void UseSkinArchiveFile(const UiChar* name, bool keepOpen);
    static void UseSkinArchiveMemory(const void* bytes, size_t size);
    static const UiString& SkinArchiveName();
    static bool IsSkinArchiveKeptOpen();
    static CSkinArchive* OpenSkinArchive();
    // "CreateControl" functions of loaded control plug-ins.
    static const PtrArray& ControlPlugins();
    static bool LoadControlPlugin(const UiChar* file);

private:
    FontEntry* WithMetrics(FontEntry* entry);
    static HFONT CreateSkinFont(const UiChar* face, int size, bool bold, bool underline, bool italic,
                                bool proof);
    static void InitSharedResources();

    ResourceSet own_;
    HDC paintDC_ = nullptr;
};

}  // namespace SkinUI
