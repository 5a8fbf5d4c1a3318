// Writing skin files through CEBFFile: the layout data block and the container around it.
#include "skin/SkinWriter.h"

#include "skin/EBFFile.h"

namespace {

void put16(std::vector<BYTE>& out, uint32_t v) {
    out.push_back(static_cast<BYTE>(v & 0xFF));
    out.push_back(static_cast<BYTE>((v >> 8) & 0xFF));
}

void put32(std::vector<BYTE>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

std::u16string decimalName(size_t n) {
    std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
}

bool writeBlock(CEBFFile& file, std::u16string_view name, const std::vector<BYTE>& bytes) {
    // RawValue takes a mutable pointer for both directions; writing does not change it.
    std::vector<BYTE> copy = bytes;
    return file.RawValue(name, static_cast<DWORD>(copy.size()), copy.data());
}

}  // namespace

std::vector<BYTE> encodeLayoutData(const SkinLayoutEntry& layout) {
    std::vector<BYTE> d;
    put16(d, layout.flags);
    d.push_back(static_cast<BYTE>(layout.alt));
    for (const GesturePosition& g : {layout.down, layout.right, layout.left}) {
        put32(d, static_cast<uint32_t>(g.row));
        put32(d, static_cast<uint32_t>(g.col));
    }
    put32(d, static_cast<uint32_t>(layout.rows.size()));
    for (const auto& row : layout.rows) {
        put32(d, static_cast<uint32_t>(row.size()));
        for (const SkinKeyEntry& key : row) {
            put16(d, key.flags);
            put16(d, key.param);
            d.push_back(key.vk);
            for (LONG v : {key.rect.left, key.rect.top, key.rect.right, key.rect.bottom})
                put32(d, static_cast<uint32_t>(v));
        }
    }
    put32(d, static_cast<uint32_t>(layout.width));
    put32(d, static_cast<uint32_t>(layout.height));
    return d;
}

bool writeSkinFile(const std::u16string& devicePath, const SkinFileContents& skin) {
    CEBFFile file(u"KELVO_SKIN");
    if (!file.OpenWrite(devicePath)) {
        file.Close();
        return false;
    }
    bool ok = true;
    DWORD textColor = skin.textColor;
    DWORD frameColor = skin.frameColor;
    file.Value(u"TC", textColor);
    file.Value(u"HC", frameColor);
    std::u16string help = skin.helpFile;
    file.StringValue(u"HFN", help);
    for (const auto& [name, layouts] : skin.classes) {
        if (!file.BeginClass(name)) {
            ok = false;
            break;
        }
        for (size_t i = 0; i < layouts.size() && ok; ++i) {
            const SkinLayoutItems& layout = layouts[i];
            ok = file.BeginClass(decimalName(i));
            if (ok && layout.picture)
                ok = writeBlock(file, u"P", *layout.picture);
            if (ok && layout.data)
                ok = writeBlock(file, u"D", *layout.data);
            if (ok)
                ok = file.EndClass();
        }
        if (!ok || !file.EndClass()) {
            ok = false;
            break;
        }
    }
    return file.Close() && ok;
}
