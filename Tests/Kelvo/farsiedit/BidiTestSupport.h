// Helpers for the paragraph layout tests: laying a text out and reading its glyphs back in
// logical and visual order.
#pragma once

#include <farsiedit/CBidiPara.h>

#include <memory>
#include <string>

namespace biditest {

// A paragraph holding `text`, laid out and wrapped without a width.
inline std::unique_ptr<CBidiPara> laidOut(const std::u16string& text) {
    auto para = std::make_unique<CBidiPara>();
    para->SetText(text.c_str());
    para->Layout();
    para->Wrap(nullptr, 0);
    return para;
}

// All glyphs of the paragraph, in the order they are stored (visual after Wrap).
inline std::u16string glyphsOf(const CBidiPara& para) {
    return std::u16string(para.glyphs.get(), para.glyphCount);
}

// The glyph each logical character shows, in logical order, skipping glyph-less characters
// and the characters after the first that share its glyph.
inline std::u16string logicalGlyphs(const CBidiPara& para) {
    std::u16string out;
    int lastGlyph = -1;
    for (int i = 0; i < para.length; ++i) {
        const int g = para.logToVis[i];
        if (g == CBidiPara::NO_GLYPH) {
            continue;
        }
        if (g != lastGlyph) {
            out += para.glyphs[g];
        }
        lastGlyph = g;
    }
    return out;
}

}  // namespace biditest
