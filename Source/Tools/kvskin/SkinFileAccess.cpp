// Host skin files through the device's file calls, and layout loads through the loader's own
// parsing and decoding.
#include "SkinFileAccess.h"

#include <device/FileSystem.h>

#include <cstdlib>
#include <system_error>

#include <wchar16.h>

#include "skin/EBFFile.h"

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
