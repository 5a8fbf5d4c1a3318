// Builds the resources of one module from its manifest entries.
#include "ResourceBuilder.h"

#include <fstream>
#include <iterator>
#include <map>

#include "DialogCompiler.h"
#include "TextReader.h"

namespace rescomp {

namespace {

constexpr uint16_t kRtBitmap = 2;
constexpr uint16_t kRtIcon = 3;
constexpr uint16_t kRtDialog = 5;
constexpr uint16_t kRtString = 6;
constexpr uint16_t kRtRcData = 10;
constexpr uint16_t kRtGroupIcon = 14;

std::vector<uint8_t> readFile(const std::string& path, const std::string& where) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw CompileError{where + ": cannot read " + path};
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
}

uint32_t u16At(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8);
}
uint32_t u32At(const std::vector<uint8_t>& b, size_t at) {
    return u16At(b, at) | (u16At(b, at + 2) << 16);
}

// A .bmp file's DIB: the header and palette, then the pixels from bfOffBits on, so that the
// pixels follow the palette directly as a packed DIB requires.
std::vector<uint8_t> bitmapDib(const std::vector<uint8_t>& file, const std::string& where) {
    if (file.size() < 14 + 40 || file[0] != 'B' || file[1] != 'M') {
        throw CompileError{where + ": not a BMP file"};
    }
    const uint32_t pixelsAt = u32At(file, 10);
    const uint32_t headerSize = u32At(file, 14);
    const uint32_t bitCount = u16At(file, 14 + 14);
    const uint32_t compression = u32At(file, 14 + 16);
    const uint32_t colorsUsed = u32At(file, 14 + 32);
    if (headerSize < 40 || headerSize > file.size() - 14)
        throw CompileError{where + ": bad BMP header"};
    size_t packed = headerSize;
    if (headerSize == 40 && compression == 3)
        packed += 12;
    if (bitCount <= 8)
        packed += 4 * size_t{colorsUsed != 0 ? colorsUsed : (1u << bitCount)};
    if (pixelsAt < 14 + packed || pixelsAt > file.size()) {
        throw CompileError{where + ": the BMP's pixel offset does not fit its header"};
    }
    std::vector<uint8_t> dib(file.begin() + 14, file.begin() + 14 + static_cast<long>(packed));
    dib.insert(dib.end(), file.begin() + pixelsAt, file.end());
    return dib;
}

struct IconImage {
    std::vector<uint8_t> directoryEntry;  // the first 12 bytes of the ICONDIRENTRY
    std::vector<uint8_t> data;
};

std::vector<IconImage> iconImages(const std::vector<uint8_t>& file, const std::string& where) {
    if (file.size() < 6 || u16At(file, 0) != 0 || u16At(file, 2) != 1) {
        throw CompileError{where + ": not an icon file"};
    }
    const uint32_t count = u16At(file, 4);
    if (count == 0 || file.size() < 6 + 16 * size_t{count}) {
        throw CompileError{where + ": the icon directory is truncated"};
    }
    std::vector<IconImage> images;
    for (uint32_t i = 0; i < count; ++i) {
        const size_t entry = 6 + 16 * size_t{i};
        const uint32_t size = u32At(file, entry + 8);
        const uint32_t offset = u32At(file, entry + 12);
        if (offset > file.size() || size > file.size() - offset || size == 0) {
            throw CompileError{where + ": icon image " + std::to_string(i) +
                               " lies outside the file"};
        }
        IconImage image;
        image.directoryEntry.assign(file.begin() + static_cast<long>(entry),
                                    file.begin() + static_cast<long>(entry + 12));
        image.data.assign(file.begin() + offset, file.begin() + offset + size);
        images.push_back(std::move(image));
    }
    return images;
}

std::string keyOf(const BuiltResource& r) {
    std::string key = r.typeId ? "#" + std::to_string(*r.typeId) : std::string();
    for (char16_t c : r.typeName)
        key += static_cast<char>(c >= u'a' && c <= u'z' ? c - 32 : c);
    key += "/";
    if (r.name.id)
        return key + "#" + std::to_string(*r.name.id);
    for (char16_t c : r.name.text)
        key += static_cast<char>(c >= u'a' && c <= u'z' ? c - 32 : c);
    return key;
}

}  // namespace

BuildResult buildResources(const std::vector<ManifestEntry>& entries) {
    BuildResult result;
    std::map<uint16_t, std::vector<std::u16string>> blocks;  // block number → 16 strings
    std::map<uint16_t, std::string> stringWhere;
    uint16_t nextIconId = 1;
    std::map<std::string, std::string> seen;

    auto add = [&](BuiltResource resource, const std::string& where) {
        std::string key = keyOf(resource);
        if (auto found = seen.find(key); found != seen.end()) {
            throw CompileError{where + ": the same resource as at " + found->second};
        }
        seen[key] = where;
        result.resources.push_back(std::move(resource));
    };

    for (const ManifestEntry& e : entries) {
        if (e.kind == ResourceKind::String) {
            const uint16_t id = *e.name.id;
            if (stringWhere.count(id) != 0) {
                throw CompileError{e.where + ": string " + std::to_string(id) + " is also at " +
                                   stringWhere[id]};
            }
            stringWhere[id] = e.where;
            auto& block = blocks[static_cast<uint16_t>((id >> 4) + 1)];
            block.resize(16);
            block[id & 15] = e.text;
            continue;
        }
        std::vector<uint8_t> bytes = readFile(e.file, e.where);
        result.inputs.push_back(e.file);
        BuiltResource r;
        r.name = e.name;
        switch (e.kind) {
            case ResourceKind::Bitmap:
                r.typeId = kRtBitmap;
                r.bytes = bitmapDib(bytes, e.where);
                break;
            case ResourceKind::Dialog:
                r.typeId = kRtDialog;
                r.bytes = compileDialog(e.file);
                break;
            case ResourceKind::RcData:
                r.typeId = kRtRcData;
                r.bytes = std::move(bytes);
                break;
            case ResourceKind::Custom:
                r.typeName = e.customType;
                r.bytes = std::move(bytes);
                break;
            case ResourceKind::Icon: {
                auto images = iconImages(bytes, e.where);
                r.typeId = kRtGroupIcon;
                r.bytes = {0,
                           0,
                           1,
                           0,
                           static_cast<uint8_t>(images.size()),
                           static_cast<uint8_t>(images.size() >> 8)};
                for (auto& image : images) {
                    if (nextIconId == 0xFFFF)
                        throw CompileError{e.where + ": too many icon images"};
                    const uint16_t iconId = nextIconId++;
                    r.bytes.insert(r.bytes.end(), image.directoryEntry.begin(),
                                   image.directoryEntry.end());
                    r.bytes.push_back(static_cast<uint8_t>(iconId));
                    r.bytes.push_back(static_cast<uint8_t>(iconId >> 8));
                    BuiltResource icon;
                    icon.typeId = kRtIcon;
                    icon.name.id = iconId;
                    icon.bytes = std::move(image.data);
                    add(std::move(icon), e.where);
                }
                break;
            }
            case ResourceKind::String:
                break;
        }
        add(std::move(r), e.where);
    }

    for (const auto& [number, strings] : blocks) {
        BuiltResource block;
        block.typeId = kRtString;
        block.name.id = number;
        block.utf16 = true;
        for (const std::u16string& s : strings) {
            block.bytes.push_back(static_cast<uint8_t>(s.size()));
            block.bytes.push_back(static_cast<uint8_t>(s.size() >> 8));
            for (char16_t c : s) {
                block.bytes.push_back(static_cast<uint8_t>(c));
                block.bytes.push_back(static_cast<uint8_t>(c >> 8));
            }
        }
        add(std::move(block), "string table");
    }
    return result;
}

}  // namespace rescomp
