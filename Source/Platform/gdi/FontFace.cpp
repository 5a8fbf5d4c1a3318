// FreeType faces, their metrics and glyph caches, the face cache, and the mapping of logical
// fonts to font files. Every call runs under the GDI lock, which also guards FreeType.
#include "gdi/FontFace.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <tuple>

#include <device/Fonts.h>
#include <winbase.h>

#include "gdi/GdiLock.h"
#include "kernel/DeviceReset.h"

namespace platform {
namespace {

constexpr int kMaxEmPixels = 1000;
constexpr int kDefaultCharacterHeight = 12;
constexpr size_t kMaxGlyphsPerFace = 4096;
// Large sizes have large glyphs: the cache of a face also stays under this many bytes.
constexpr size_t kMaxGlyphBytesPerFace = size_t{16} << 20;
constexpr size_t kMaxCachedFaces = 64;

constexpr const char* kDefaultFontFolder = "/usr/share/fonts/truetype/dejavu";

std::filesystem::path& fontFolder() {
    static auto* folder = new std::filesystem::path(kDefaultFontFolder);
    return *folder;
}

// A fresh device finds its fonts in the default folder (faces opened from elsewhere stay
// cached by their own paths).
const bool resetRegistered = addResetStep(ResetStage::Device, [] {
    GdiLock lock;
    fontFolder() = kDefaultFontFolder;
});

FT_Library freetype() {
    static FT_Library library = [] {
        FT_Library l = nullptr;
        if (FT_Init_FreeType(&l) != 0) {
            std::fprintf(stderr, "gdi: FreeType could not be initialised\n");
            return static_cast<FT_Library>(nullptr);
        }
        return l;
    }();
    return library;
}

FT_Face openFace(const std::filesystem::path& file) {
    FT_Library library = freetype();
    FT_Face face = nullptr;
    if (library == nullptr || FT_New_Face(library, file.c_str(), 0, &face) != 0) {
        std::fprintf(stderr, "gdi: cannot open font file %s\n", file.c_str());
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    if (!FT_IS_SCALABLE(face)) {
        std::fprintf(stderr, "gdi: font file %s is not a scalable font\n", file.c_str());
        FT_Done_Face(face);
        return nullptr;
    }
    return face;
}

// The vertical extent Windows uses for a font's cell: the OS/2 table's Windows ascent and
// descent when present, else the horizontal header's.
struct VerticalMetrics {
    int unitsPerEm = 0;
    int ascender = 0;
    int descender = 0;  // positive, below the baseline
};

VerticalMetrics verticalMetricsOf(FT_Face face) {
    VerticalMetrics m;
    m.unitsPerEm = face->units_per_EM;
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 != nullptr && os2->usWinAscent + os2->usWinDescent > 0) {
        m.ascender = os2->usWinAscent;
        m.descender = os2->usWinDescent;
    } else {
        m.ascender = face->ascender;
        m.descender = -face->descender;
    }
    return m;
}

// Vertical metrics per font file, read once.
bool verticalMetricsForFile(const std::filesystem::path& file, VerticalMetrics& out) {
    static auto* known = new std::map<std::filesystem::path, VerticalMetrics>;
    if (auto it = known->find(file); it != known->end()) {
        out = it->second;
        return true;
    }
    FT_Face face = openFace(file);
    if (face == nullptr) {
        return false;
    }
    out = verticalMetricsOf(face);
    FT_Done_Face(face);
    (*known)[file] = out;
    return out.unitsPerEm > 0;
}

int scaled(int fontUnits, int emPixels, int unitsPerEm) {
    return static_cast<int>(std::lround(double(fontUnits) * emPixels / unitsPerEm));
}

std::u16string lowerFaceName(const LOGFONTW& font) {
    std::u16string name;
    for (int i = 0; i < LF_FACESIZE && font.lfFaceName[i] != 0; ++i) {
        char16_t c = font.lfFaceName[i];
        name.push_back(c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c);
    }
    return name;
}

enum class Family { Sans, DialogSans, Mono, Serif };

Family familyFor(const LOGFONTW& font) {
    std::u16string name = lowerFaceName(font);
    for (const char16_t* mono : {u"courier new", u"courier", u"lucida console", u"consolas",
                                 u"dejavu sans mono", u"monospace"}) {
        if (name == mono) {
            return Family::Mono;
        }
    }
    for (const char16_t* serif :
         {u"times new roman", u"times", u"georgia", u"dejavu serif", u"serif"}) {
        if (name == serif) {
            return Family::Serif;
        }
    }
    if (name.empty() && ((font.lfPitchAndFamily & 0x3) == FIXED_PITCH ||
                         (font.lfPitchAndFamily & 0xF0) == FF_MODERN)) {
        return Family::Mono;
    }
    // The dialog font takes the condensed face: its letters are as narrow as the device's, so
    // that dialogs laid out in its units fit the screens they were made for.
    if (name == u"ms shell dlg" || name == u"ms shell dlg 2")
        return Family::DialogSans;
    // Tahoma, Arial and every unknown name: the sans-serif face.
    return Family::Sans;
}

using FaceKey = std::tuple<std::filesystem::path, int, Slant, Rendering>;

std::map<FaceKey, std::shared_ptr<FontFace>>& faceCache() {
    static auto* cache = new std::map<FaceKey, std::shared_ptr<FontFace>>;
    return *cache;
}

}  // namespace

std::shared_ptr<FontFace> FontFace::open(const std::filesystem::path& file, int emPixels,
                                         Slant slant, Rendering rendering) {
    GdiLock lock;
    FaceKey key{file, emPixels, slant, rendering};
    auto& cache = faceCache();
    if (auto it = cache.find(key); it != cache.end()) {
        return it->second;
    }
    FT_Face face = openFace(file);
    if (face == nullptr) {
        return nullptr;
    }
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(emPixels)) != 0) {
        std::fprintf(stderr, "gdi: font file %s cannot be set to %d pixels\n", file.c_str(),
                     emPixels);
        FT_Done_Face(face);
        return nullptr;
    }
    std::shared_ptr<FontFace> result(new FontFace);
    result->face_ = face;
    result->slant_ = slant;
    result->rendering_ = rendering;

    VerticalMetrics v = verticalMetricsOf(face);
    int upem = v.unitsPerEm > 0 ? v.unitsPerEm : 2048;
    FontMetrics& m = result->metrics_;
    m.emPixels = emPixels;
    m.ascent = scaled(v.ascender, emPixels, upem);
    m.descent = scaled(v.descender, emPixels, upem);
    m.internalLeading = std::max(0, m.height() - emPixels);
    int lineSpacing = scaled(face->height, emPixels, upem);
    m.externalLeading = std::max(0, lineSpacing - m.height());
    m.maxCharWidth = scaled(face->max_advance_width, emPixels, upem);
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    m.aveCharWidth = os2 != nullptr && os2->xAvgCharWidth > 0
                         ? scaled(os2->xAvgCharWidth, emPixels, upem)
                         : result->advance(U'x');
    m.lineThickness = std::max(1, scaled(face->underline_thickness, emPixels, upem));
    m.underlinePosition = std::max(1, scaled(-face->underline_position, emPixels, upem));
    m.strikeoutPosition = os2 != nullptr && os2->yStrikeoutPosition > 0
                              ? scaled(os2->yStrikeoutPosition, emPixels, upem)
                              : m.ascent / 3;
    m.fixedPitch = FT_IS_FIXED_WIDTH(face);

    if (cache.size() >= kMaxCachedFaces) {
        for (auto it = cache.begin(); it != cache.end();) {
            it = it->second.use_count() == 1 ? cache.erase(it) : std::next(it);
        }
    }
    cache[key] = result;
    return result;
}

FontFace::~FontFace() {
    GdiLock lock;
    if (face_ != nullptr) {
        FT_Done_Face(static_cast<FT_Face>(face_));
    }
}

const Glyph& FontFace::glyph(char32_t codePoint) {
    if (auto it = glyphs_.find(codePoint); it != glyphs_.end()) {
        return it->second;
    }
    if (glyphs_.size() >= kMaxGlyphsPerFace || glyphBytes_ >= kMaxGlyphBytesPerFace) {
        glyphs_.clear();
        glyphBytes_ = 0;
    }
    Glyph& g = glyphs_[codePoint];
    auto face = static_cast<FT_Face>(face_);
    FT_UInt index = FT_Get_Char_Index(face, codePoint);
    bool mono = rendering_ == Rendering::Monochrome;
    FT_Int32 loadFlags = FT_LOAD_DEFAULT | (mono ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL);
    if (FT_Load_Glyph(face, index, loadFlags) != 0) {
        // A glyph that cannot be loaded is drawn as the missing-glyph box.
        if (index == 0 || FT_Load_Glyph(face, 0, loadFlags) != 0) {
            return g;
        }
    }
    FT_GlyphSlot slot = face->glyph;
    if (slant_ == Slant::Oblique) {
        FT_GlyphSlot_Oblique(slot);
    }
    g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    if (FT_Render_Glyph(slot, mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0) {
        return g;
    }
    const FT_Bitmap& bm = slot->bitmap;
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.width = static_cast<int>(bm.width);
    g.height = static_cast<int>(bm.rows);
    g.coverage.assign(static_cast<size_t>(g.width) * g.height, 0);
    glyphBytes_ += g.coverage.size();
    for (int y = 0; y < g.height; ++y) {
        const unsigned char* src = bm.buffer + static_cast<ptrdiff_t>(y) * bm.pitch;
        uint8_t* dst = g.coverage.data() + static_cast<size_t>(y) * g.width;
        for (int x = 0; x < g.width; ++x) {
            if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
                dst[x] = (src[x / 8] >> (7 - x % 8)) & 1 ? 255 : 0;
            } else {
                dst[x] = src[x];
            }
        }
    }
    return g;
}

std::filesystem::path fontFileFor(const LOGFONTW& font) {
    GdiLock lock;
    bool bold = font.lfWeight >= FW_SEMIBOLD;
    const char* file = nullptr;
    switch (familyFor(font)) {
        case Family::Sans:
            file = bold ? "DejaVuSans-Bold.ttf" : "DejaVuSans.ttf";
            break;
        case Family::DialogSans:
            file = bold ? "DejaVuSansCondensed-Bold.ttf" : "DejaVuSansCondensed.ttf";
            break;
        case Family::Mono:
            file = bold ? "DejaVuSansMono-Bold.ttf" : "DejaVuSansMono.ttf";
            break;
        case Family::Serif:
            file = bold ? "DejaVuSerif-Bold.ttf" : "DejaVuSerif.ttf";
            break;
    }
    return fontFolder() / file;
}

int emPixelsFor(LONG height, int unitsPerEm, int ascender, int descender) {
    int64_t em;
    if (height < 0) {
        em = -int64_t{height};
    } else if (height == 0) {
        em = kDefaultCharacterHeight;
    } else {
        // A positive height is the cell (ascent plus descent); the em is that much smaller.
        int cell = ascender + descender;
        em = cell > 0 ? std::llround(double(height) * unitsPerEm / cell) : height;
    }
    return static_cast<int>(std::clamp<int64_t>(em, 1, kMaxEmPixels));
}

std::unique_ptr<FontObject> createFontObject(const LOGFONTW& font) {
    GdiLock lock;
    std::filesystem::path file = fontFileFor(font);
    VerticalMetrics v;
    if (!verticalMetricsForFile(file, v)) {
        return nullptr;
    }
    int em = emPixelsFor(font.lfHeight, v.unitsPerEm, v.ascender, v.descender);
    Rendering rendering =
        font.lfQuality == NONANTIALIASED_QUALITY ? Rendering::Monochrome : Rendering::AntiAliased;
    std::shared_ptr<FontFace> face =
        FontFace::open(file, em, font.lfItalic ? Slant::Oblique : Slant::Upright, rendering);
    if (!face) {
        return nullptr;
    }
    auto object = std::make_unique<FontObject>();
    object->logFont = font;
    object->face = std::move(face);
    return object;
}

LOGFONTW systemLogFont() {
    LOGFONTW font{};
    font.lfHeight = -kDefaultCharacterHeight;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    const char16_t name[] = u"Tahoma";
    std::copy(std::begin(name), std::end(name), font.lfFaceName);
    return font;
}

}  // namespace platform

void device::setFontDirectory(const std::filesystem::path& folder) {
    platform::GdiLock lock;
    platform::fontFolder() = folder;
}

std::filesystem::path device::fontDirectory() {
    platform::GdiLock lock;
    return platform::fontFolder();
}
