// Host skin files through the device's file calls, and layout loads through the loader's own
// parsing and decoding.
#include "SkinFileAccess.h"

#include <device/FileSystem.h>

#include <cstdlib>
#include <system_error>

#include <wchar16.h>

#include "ContainerWalk.h"
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
        error = "it cannot be opened: " + (failure ? failure.message() : std::string("not a file"));
        return false;
    }
    device::setDeviceRoot(file.parent_path());
    devicePath = u"\\" + platform::fromUtf8(file.filename().string());
    return true;
}

std::string SkinProblem::where() const {
    std::string out = dimensionClass;
    if (layout >= 0)
        out += " layout " + std::to_string(layout);
    if (row >= 0)
        out += " row " + std::to_string(row) + " col " + std::to_string(col);
    return out;
}

std::string SkinProblem::text() const {
    return (dimensionClass.empty() ? std::string("file") : where()) + ": " + what;
}

std::string problemLine(const std::filesystem::path& skinFile, const SkinProblem& problem) {
    const std::string where = problem.where();
    return "kvskin: " + skinFile.string() + ": " + (where.empty() ? "" : where + ": ") +
           problem.what;
}

std::optional<std::string> skinFileProblem(const std::u16string& devicePath) {
    std::unique_ptr<FILE, EBFStreamCloser> stream(_wfopen(devicePath.c_str(), u"rb"));
    if (!stream || std::fseek(stream.get(), 0, SEEK_END) != 0)
        return "it cannot be read";
    const long length = std::ftell(stream.get());
    if (length < 0)
        return "it cannot be read";
    if (length == 0)
        return "it is empty";
    if (uint64_t(length) > 0xFFFFFFFFu)
        return "it is larger than a container can be (4 GiB)";
    if (const auto fault = walkContainer(stream.get(), DWORD(length), nullptr))
        return "it is not a well-formed container: " + fault->text();
    EBFItemHeader main;
    readEBFItemHeader(stream.get(), 0, DWORD(length), main);
    if (main.name != "KELVO_SKIN")
        return "its main class is " + printableName(main.name) + ", not KELVO_SKIN";
    return std::nullopt;
}

std::string layoutLoadProblem(const LoadedLayout& loaded, int n) {
    if (loaded.load == LayoutLoad::Missing)
        return "the layout is missing (no class \"" + std::to_string(n) + "\")";
    const LayoutRejection& why = loaded.rejection;
    switch (why.reason) {
        case LayoutReject::PictureTooLarge:
            return "its picture takes " + std::to_string(why.storedBytes) +
                   " bytes, more than the 50000 a layout holds";
        case LayoutReject::DataTooLarge:
            return "its layout data takes " + std::to_string(why.storedBytes) +
                   " bytes, more than the 4320 a layout holds";
        case LayoutReject::DataUnreadable:
            return "its layout data cannot be read";
        default:
            break;
    }
    switch (why.data) {
        case LayoutDataResult::TooLarge:
            return "its layout data is larger than the data area";
        case LayoutDataResult::Truncated:
            return "its layout data is shorter than the rows and keys it announces";
        case LayoutDataResult::TooManyRows:
            return "its layout data has a row count outside 0 to 6";
        case LayoutDataResult::TooManyKeys:
            return "its layout data has a row with a key count outside 0 to 30";
        case LayoutDataResult::BadSize:
            return "its layout data gives a width or height outside 0 to 4096";
        default:
            return "it cannot be loaded";
    }
}

LoadedLayout loadLayoutFrom(CEBFFile& file, int n, KeyRecord** modSlot) {
    LoadedLayout loaded;
    LayoutRejection why;
    loaded.load = parseLayoutClass(file, n, *loaded.layout, modSlot, loaded.pictureSize, &why);
    loaded.rejection = why;
    return loaded;
}

std::vector<SkinProblem> loadHostLayout(const std::filesystem::path& skinFile, ScreenSize screen,
                                        int n, LoadedLayout& loaded, std::string& className) {
    std::u16string devicePath;
    std::string error;
    if (!openHostSkin(skinFile, devicePath, error))
        return {SkinProblem{"", -1, -1, -1, error}};
    const std::u16string cls = dimensionClass(screen.width, screen.height);
    className.assign(cls.begin(), cls.end());
    // The file's own problem comes first: it may be why the class or the layout is not found.
    auto fail = [&](std::optional<SkinProblem> problem) {
        std::vector<SkinProblem> problems;
        if (auto why = skinFileProblem(devicePath))
            problems.push_back(SkinProblem{"", -1, -1, -1, *why});
        if (problem)
            problems.push_back(std::move(*problem));
        else if (problems.empty())
            problems.push_back(SkinProblem{"", -1, -1, -1, kCannotOpenAsSkin});
        return problems;
    };
    CEBFFile file(u"KELVO_SKIN");
    if (!file.OpenRead(devicePath)) {
        file.Close();
        return fail(std::nullopt);
    }
    if (!file.BeginClass(cls)) {
        file.Close();
        return fail(SkinProblem{className, -1, -1, -1,
                                std::string(kClassMissing) + " (a " + std::to_string(screen.width) +
                                    "x" + std::to_string(screen.height) + " screen uses it)"});
    }
    const DWORD count = file.GetChildCount();
    if (n < 0 || static_cast<DWORD>(n) >= count) {
        file.Close();
        return fail(
            SkinProblem{className, n, -1, -1,
                        "it does not exist (the class has " + std::to_string(count) + " layouts)"});
    }
    loaded = loadLayoutFrom(file, n, nullptr);
    file.Close();
    if (loaded.load != LayoutLoad::Loaded)
        return fail(SkinProblem{className, n, -1, -1, layoutLoadProblem(loaded, n)});
    return {};
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

std::string pictureProblem(const LoadedLayout& loaded) {
    if (loaded.pictureSize == 0)
        return "it has no picture";
    return "its picture does not decode to " + std::to_string(loaded.layout->width) + "x" +
           std::to_string(loaded.layout->height) + " (it is broken, or larger than the layout)";
}
