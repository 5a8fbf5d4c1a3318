// The build: parse, compile the classes, draw (or read) every layout's picture, then write the
// container through the device's file calls into the output's folder. A failed write leaves no
// file behind.
#include "BuildCommand.h"

#include <device/FileSystem.h>

#include <fstream>
#include <iterator>
#include <system_error>

#include <wchar16.h>

#include "LayoutPicture.h"
#include "SkinCompiler.h"
#include "skin/SkinLayout.h"

namespace {

constexpr BYTE kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint32_t bigEndian32(const std::vector<BYTE>& bytes, size_t at) {
    return (uint32_t(bytes[at]) << 24) | (uint32_t(bytes[at + 1]) << 16) |
           (uint32_t(bytes[at + 2]) << 8) | uint32_t(bytes[at + 3]);
}

// A picture the source names: a PNG file inside the source folder, of the panel's size.
bool readPictureFile(const std::filesystem::path& sourceDir, const std::string& name, int width,
                     int height, std::vector<BYTE>& bytes, std::string& error) {
    std::filesystem::path relative(name);
    relative = relative.lexically_normal();
    if (relative.is_absolute() || relative.empty() || *relative.begin() == "..") {
        error = "the picture \"" + name + "\" must be a file inside the skin's folder";
        return false;
    }
    std::ifstream in(sourceDir / relative, std::ios::binary);
    if (!in) {
        error = "the picture \"" + name + "\" cannot be read";
        return false;
    }
    bytes.clear();
    char chunk[4096];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        bytes.insert(bytes.end(), chunk, chunk + in.gcount());
        if (bytes.size() > kImageCapacity) {
            error = "the picture \"" + name + "\" is larger than 50000 bytes";
            return false;
        }
    }
    if (bytes.size() < 24 ||
        !std::equal(std::begin(kPngSignature), std::end(kPngSignature), bytes.begin())) {
        error = "the picture \"" + name + "\" is not a PNG file";
        return false;
    }
    const uint32_t w = bigEndian32(bytes, 16);
    const uint32_t h = bigEndian32(bytes, 20);
    if (w != uint32_t(width) || h != uint32_t(height)) {
        error = "the picture \"" + name + "\" is " + std::to_string(w) + "x" + std::to_string(h) +
                ", the panel is " + std::to_string(width) + "x" + std::to_string(height);
        return false;
    }
    return true;
}

std::u16string classNameOf(const std::string& name) {
    return std::u16string(name.begin(), name.end());
}

}  // namespace

bool buildSkinContents(std::string_view json, const std::string& fileName,
                       const std::filesystem::path& sourceDir, SkinFileContents& skin,
                       std::string& error) {
    SkinSource source;
    if (!parseSkinSource(json, fileName, source, error))
        return false;
    std::vector<CompiledClass> classes;
    if (!compileLayouts(source, fileName, classes, error))
        return false;
    skin = SkinFileContents();
    skin.textColor = source.textColor;
    skin.frameColor = source.frameColor;
    skin.helpFile = source.helpFile;
    for (const CompiledClass& cls : classes) {
        std::vector<SkinLayoutItems> items;
        for (size_t n = 0; n < cls.layouts.size(); ++n) {
            const CompiledLayout& layout = cls.layouts[n];
            const std::string where = fileName + ": class " + cls.name + ", layout " +
                                      std::to_string(n) + " (\"" + layout.name + "\"): ";
            SkinLayoutItems item;
            item.data = encodeLayoutData(layout.entry);
            std::vector<BYTE> picture;
            if (!layout.pictureFile.empty()) {
                std::string problem;
                if (!readPictureFile(sourceDir, layout.pictureFile, cls.width, cls.height, picture,
                                     problem)) {
                    error = where + problem;
                    return false;
                }
            } else {
                std::vector<uint32_t> pixels = drawLayoutPicture(layout, source.theme);
                if (pixels.empty() ||
                    !encodeSkinPicture(cls.width, cls.height, std::move(pixels), picture)) {
                    error = where + "its picture could not be drawn";
                    return false;
                }
            }
            if (picture.size() > kImageCapacity) {
                error = where + "its picture takes " + std::to_string(picture.size()) +
                        " bytes, more than the 50000 a layout holds";
                return false;
            }
            item.picture = std::move(picture);
            items.push_back(std::move(item));
        }
        skin.classes.emplace_back(classNameOf(cls.name), std::move(items));
    }
    return true;
}

int buildCommand(const std::filesystem::path& sourceDir, const std::filesystem::path& outFile,
                 FILE* err) {
    const std::filesystem::path jsonPath = sourceDir / "skin.json";
    std::ifstream in(jsonPath, std::ios::binary);
    if (!in) {
        std::fprintf(err, "kvskin: cannot read %s\n", jsonPath.c_str());
        return 1;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    SkinFileContents skin;
    std::string error;
    if (!buildSkinContents(text, jsonPath.string(), sourceDir, skin, error)) {
        std::fprintf(err, "kvskin: %s\n", error.c_str());
        return 1;
    }
    std::error_code failure;
    std::filesystem::path out = std::filesystem::absolute(outFile, failure);
    if (!failure && out.has_parent_path())
        std::filesystem::create_directories(out.parent_path(), failure);
    if (failure || out.filename().empty()) {
        std::fprintf(err, "kvskin: cannot write %s\n", outFile.c_str());
        return 1;
    }
    // The output's folder becomes the device's root, so the container is written through the
    // device's own file calls.
    device::setDeviceRoot(out.parent_path());
    if (!writeSkinFile(u"\\" + platform::fromUtf8(out.filename().string()), skin)) {
        std::filesystem::remove(out, failure);
        std::fprintf(err, "kvskin: cannot write %s\n", outFile.c_str());
        return 1;
    }
    return 0;
}
