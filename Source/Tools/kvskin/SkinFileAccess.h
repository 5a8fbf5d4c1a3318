// Reading a skin file on the host for the check, keys and render commands: the file's folder
// becomes the device's root, and layouts are parsed and their pictures decoded by the same
// functions the panel's loader uses.
#pragma once

#include <windows.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "skin/SkinLoader.h"

class CEBFFile;

// A screen size given as "WxH".
struct ScreenSize {
    int width = 0;
    int height = 0;
};
std::optional<ScreenSize> parseScreenSize(const std::string& text);

// Points the device at the folder of a host skin file. False (with a message) when it is not a
// readable file.
bool openHostSkin(const std::filesystem::path& hostFile, std::u16string& devicePath,
                  std::string& error);

struct LoadedLayout {
    std::unique_ptr<SkinLayout> layout = std::make_unique<SkinLayout>();
    LayoutLoad load = LayoutLoad::Missing;
    LayoutRejection rejection;
    DWORD pictureSize = 0;
};

// Parses layout n of the open dimension class the way the panel does (modifier keys into
// modSlot when given).
LoadedLayout loadLayoutFrom(CEBFFile& file, int n, KeyRecord** modSlot);

// Loads layout n of the dimension class for `screen` from a host skin file, as the panel
// parses it (without registering modifiers). False with a message when the file, its class
// or the layout cannot be used; a layout number beyond the class is an error here, not
// layout 0.
bool loadHostLayout(const std::filesystem::path& skinFile, ScreenSize screen, int n,
                    LoadedLayout& loaded, std::string& className, std::string& error);

// A memory device context for decoding pictures, deleted with the object.
class DecodeContext {
public:
    DecodeContext() : m_dc(CreateCompatibleDC(nullptr)) {}
    ~DecodeContext() {
        if (m_dc != nullptr)
            DeleteDC(m_dc);
    }
    DecodeContext(const DecodeContext&) = delete;
    DecodeContext& operator=(const DecodeContext&) = delete;
    HDC dc() const { return m_dc; }

private:
    HDC m_dc;
};

// Decodes the layout's picture as the panel does. The picture's decoded size, when it decodes.
std::optional<SIZE> decodeLayoutPicture(LoadedLayout& loaded, HDC dc);
