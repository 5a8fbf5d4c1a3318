// Fonts behind HFONTs: a FreeType face at one pixel size with its metrics and a cache of
// rendered glyphs keyed by code point, faces shared by every font of the same file, size and
// rendering; and the mapping of face names to the installed font files.
#pragma once

#include <filesystem>
#include <memory>
#include <unordered_map>
#include <vector>

#include <wingdi.h>

#include "gdi/Objects.h"

namespace platform {

struct Glyph {
    int left = 0;  // from the pen position to the bitmap's first column
    int top = 0;   // from the baseline up to the bitmap's first row
    int width = 0;
    int height = 0;
    int advance = 0;
    std::vector<uint8_t> coverage;  // width * height values, 255 = fully covered
};

struct FontMetrics {
    int emPixels = 0;
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0;
    int externalLeading = 0;
    int aveCharWidth = 0;
    int maxCharWidth = 0;
    int underlinePosition = 0;  // pixels below the baseline
    int lineThickness = 1;
    int strikeoutPosition = 0;  // pixels above the baseline
    bool fixedPitch = false;
    int height() const { return ascent + descent; }
};

enum class Slant { Upright, Oblique };
enum class Rendering { AntiAliased, Monochrome };

class FontFace {
public:
    // Opens `file` at `emPixels` pixels per em; null (with a message on stderr) on failure.
    static std::shared_ptr<FontFace> open(const std::filesystem::path& file, int emPixels,
                                          Slant slant, Rendering rendering);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    const FontMetrics& metrics() const { return metrics_; }
    // The glyph for a code point; a code point the font lacks gives the missing-glyph box.
    // The reference lasts until the next call.
    const Glyph& glyph(char32_t codePoint);
    int advance(char32_t codePoint) { return glyph(codePoint).advance; }

private:
    FontFace() = default;
    void* face_ = nullptr;  // FT_Face
    Slant slant_ = Slant::Upright;
    Rendering rendering_ = Rendering::AntiAliased;
    FontMetrics metrics_;
    std::unordered_map<char32_t, Glyph> glyphs_;
    size_t glyphBytes_ = 0;
};

// The font file a logical font maps to, in the device's font folder.
std::filesystem::path fontFileFor(const LOGFONTW& font);
// The pixels per em a logical font asks for, given the file's vertical metrics.
int emPixelsFor(LONG height, int unitsPerEm, int ascender, int descender);
// A font object for the logical font; null (with a message) when its file cannot be used.
std::unique_ptr<FontObject> createFontObject(const LOGFONTW& font);
// The system font: Tahoma, 12 pixels high characters, normal weight.
LOGFONTW systemLogFont();

}  // namespace platform
