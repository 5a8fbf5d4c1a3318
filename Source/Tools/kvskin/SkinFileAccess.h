// Reading a skin file on the host for the check, keys and render commands: the file's folder
// becomes the device's root, and layouts are parsed and their pictures decoded by the same
// functions the panel's loader uses.
#pragma once

#include <windows.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "skin/SkinLoader.h"

class CEBFFile;

// A screen size given as "WxH".
struct ScreenSize {
    int width = 0;
    int height = 0;
};
std::optional<ScreenSize> parseScreenSize(const std::string& text);

// Points the device at the folder of a host skin file. False (with what is wrong, for
// problemLine) when it is not a readable file.
bool openHostSkin(const std::filesystem::path& hostFile, std::u16string& devicePath,
                  std::string& error);

// A problem of a skin file, where it lies and what it is; every command says it in these words.
struct SkinProblem {
    std::string dimensionClass;  // empty: the file as a whole
    int layout = -1;             // -1: the class as a whole
    int row = -1;                // -1: the layout as a whole
    int col = -1;
    std::string what;

    // "P layout 3 row 1 col 4", with the parts that apply; empty for the file as a whole.
    std::string where() const;
    // "P layout 3 row 1 col 4: what", or "file: what".
    std::string text() const;
};

// What a dimension class that is not in the file is.
inline constexpr char kClassMissing[] = "the class is missing";
// A file the reader refuses although skinFileProblem finds nothing wrong with it.
inline constexpr char kCannotOpenAsSkin[] = "it cannot be opened as a skin file";

// Why the file at a device path cannot be read as a skin file (it cannot be read, it is not a
// well-formed container, or its main class is not KELVO_SKIN); nothing when it can.
std::optional<std::string> skinFileProblem(const std::u16string& devicePath);

struct LoadedLayout {
    std::unique_ptr<SkinLayout> layout = std::make_unique<SkinLayout>();
    LayoutLoad load = LayoutLoad::Missing;
    LayoutRejection rejection;
    DWORD pictureSize = 0;
};

// Parses layout n of the open dimension class the way the panel does (modifier keys into
// modSlot when given).
LoadedLayout loadLayoutFrom(CEBFFile& file, int n, KeyRecord** modSlot);

// What is wrong with layout n that did not load: missing, or why it was rejected.
std::string layoutLoadProblem(const LoadedLayout& loaded, int n);

// Loads layout n of the dimension class for `screen` from a host skin file, as the panel
// parses it (without registering modifiers). When the file, its class or the layout cannot be
// used, returns the problems: the file's own first (when it is not well formed), then the one
// that stopped the load. A layout number beyond the class is a problem here, not layout 0.
std::vector<SkinProblem> loadHostLayout(const std::filesystem::path& skinFile, ScreenSize screen,
                                        int n, LoadedLayout& loaded, std::string& className);

// The line a command prints on standard error for a problem of a host skin file:
// "kvskin: FILE: P layout 3: what".
std::string problemLine(const std::filesystem::path& skinFile, const SkinProblem& problem);

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
// Why decodeLayoutPicture gave nothing for a loaded layout.
std::string pictureProblem(const LoadedLayout& loaded);
