// Host skin files through the device's file calls, and layout loads through the loader's own
// parsing and decoding.
#include "SkinFileAccess.h"

#include <device/FileSystem.h>

#include <cstdlib>
#include <system_error>

#include <wchar16.h>

#include "skin/EBFFile.h"
#include "skin/SkinSettings.h"

std::optional<ScreenSize> parseScreenSize(const std::string& text) {
    const size_t x = text.find('x');
    if (x == std::string::npos || x == 0 || x + 1 >= text.size() || x > 4 ||
        text.size() - x - 1 > 4)
        return std::nullopt;
    ScreenSize size;
    for (size_t i = 0; i < text.size(); ++i) {
        if (i == x)
            continue;
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
    }
    size.width = std::atoi(text.substr(0, x).c_str());
    size.height = std::atoi(text.substr(x + 1).c_str());
    if (size.width < 1 || size.height < 1 || size.width > kMaxLayoutSide ||
        size.height > kMaxLayoutSide)
        return std::nullopt;
    return size;
}

bool openHostSkin(const std::filesystem::path& hostFile, std::u16string& devicePath,
                  std::string& error) {
    std::error_code failure;
    auto file = std::filesystem::canonical(hostFile, failure);
    if (failure || !std::filesystem::is_regular_file(file, failure)) {
        error = "cannot open " + hostFile.string() + ": " +
                (failure ? failure.message() : std::string("not a file"));
        return false;
    }
    device::setDeviceRoot(file.parent_path());
    devicePath = u"\\" + platform::fromUtf8(file.filename().string());
    return true;
}

LoadedLayout loadLayoutFrom(CEBFFile& file, int n, KeyRecord** modSlot) {
    LoadedLayout loaded;
    LayoutRejection why;
    loaded.load = parseLayoutClass(file, n, *loaded.layout, modSlot, loaded.pictureSize, &why);
    loaded.rejection = why;
    return loaded;
}

bool loadHostLayout(const std::filesystem::path& skinFile, ScreenSize screen, int n,
                    LoadedLayout& loaded, std::string& className, std::string& error) {
    std::u16string devicePath;
    if (!openHostSkin(skinFile, devicePath, error))
        return false;
    CEBFFile file(u"KELVO_SKIN");
    if (!file.OpenRead(devicePath)) {
        file.Close();
        error = skinFile.string() + " is not a skin file (its first item is not KELVO_SKIN)";
        return false;
    }
    const std::u16string cls = dimensionClass(screen.width, screen.height);
    className.assign(cls.begin(), cls.end());
    if (!file.BeginClass(cls)) {
        file.Close();
        error = skinFile.string() + " has no class " + className + " for a " +
                std::to_string(screen.width) + "x" + std::to_string(screen.height) + " screen";
        return false;
    }
    const DWORD count = file.GetChildCount();
    if (n < 0 || static_cast<DWORD>(n) >= count) {
        file.Close();
        error = "class " + className + " has no layout " + std::to_string(n) + " (it has " +
                std::to_string(count) + ")";
        return false;
    }
    loaded = loadLayoutFrom(file, n, nullptr);
    file.Close();
    if (loaded.load != LayoutLoad::Loaded) {
        error = "class " + className + " layout " + std::to_string(n) +
                (loaded.load == LayoutLoad::Missing ? " is missing" : " cannot be loaded");
        return false;
    }
    return true;
}

std::optional<SIZE> decodeLayoutPicture(LoadedLayout& loaded, HDC dc) {
    if (loaded.load != LayoutLoad::Loaded || loaded.pictureSize == 0)
        return std::nullopt;
    SkinLayout& layout = *loaded.layout;
    if (!decodeImage(layout.image.data(), loaded.pictureSize, dc, layout, layout.width,
                     layout.height))
        return std::nullopt;
    BITMAP info{};
    if (GetObjectW(layout.bitmap, sizeof info, &info) == 0)
        return std::nullopt;
    return SIZE{info.bmWidth, info.bmHeight};
}
