// Fuzz target for the paragraph layout: arbitrary UTF-16 text through SetText, Layout and
// Wrap, then edits (InsertAt, InsertAfter, Delete) and re-layouts driven by the input bytes,
// checking the glyph, line and map invariants after every wrap. Aborts when one breaks.
#include <FuzzInput.h>
#include <farsiedit/CBidiPara.h>
#include <wingdi.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// A memory DC with the Tahoma face, made once, for wrapping at a width.
HDC measuringDc() {
    static HDC dc = [] {
        HDC memory = CreateCompatibleDC(nullptr);
        HFONT font =
            CreateFontW(14, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, u"Tahoma");
        SelectObject(memory, font);
        return memory;
    }();
    return dc;
}

void layOutAndCheck(CBidiPara& para, int width) {
    para.Layout();
    para.Wrap(width > 0 ? measuringDc() : nullptr, width);
    const int n = para.length;
    require(n >= 0 && n <= CBidiPara::MAX_LENGTH && n <= para.capacity);
    require(para.glyphCount >= 0 && para.glyphCount <= n);
    require(para.lineCount >= 1);
    int sum = 0;
    for (int line = 0; line < para.lineCount; ++line) {
        sum += para.lineLengths[line];
        const int first = para.LineFirstChar(line);
        const int last = para.LineLastChar(line);
        if (para.lineLengths[line] == 0) {
            require(first == CBidiPara::EMPTY_LINE && last == -1);
        } else {
            require(first >= 0 && first <= last && last < n);
        }
        require(static_cast<int>(para.LineGlyphs(line).size()) == para.lineLengths[line]);
    }
    require(sum == para.glyphCount);
    require(para.lineLengths[para.lineCount] == 0);
    for (int g = 0; g < para.glyphCount; ++g) {
        const int c = para.visToLog[g];
        require(c < n);
        require(para.logToVis[c] == g);
    }
    for (int c = 0; c < n; ++c) {
        const int v = para.logToVis[c];
        if (v != CBidiPara::NO_GLYPH) {
            // Either the character's own glyph or the one it shares with a lam before it.
            require(v < para.glyphCount);
            const int owner = para.visToLog[v];
            require(owner <= c && para.logToVis[owner] == v);
        }
        const int level = para.LevelAt(c);
        require(level >= 0 && level <= CBidiPara::MAX_LEVEL + 2);
        const int next = para.NextVisible(c);
        require(next == -1 || (next > c && next < n));
        const int previous = para.PrevVisible(c);
        require(previous == -1 || (previous < c && previous >= 0));
    }
    require(para.LevelAt(n) == -1 && para.LevelAt(-1) == -1);
    require(para.baseLevel == 0 || para.baseLevel == 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const int width = input.byte() % 4 == 0 ? 0 : input.byte();
    std::vector<char16_t> text = input.units(input.byte() * 2u);
    text.push_back(0);
    CBidiPara para;
    para.SetText(text.data());
    layOutAndCheck(para, width);
    while (!input.empty()) {
        const uint8_t op = input.byte();
        // Positions go a little beyond the text so that refusals are exercised too.
        const int index = static_cast<int>(input.byte()) % (para.length + 3) - 1;
        const int count = input.byte() % 40;
        switch (op % 4) {
            case 0:
            case 1: {
                const std::vector<char16_t> chars = input.units(count);
                const int before = para.length;
                const bool ok =
                    op % 4 == 0
                        ? para.InsertAt(index, chars.data(), static_cast<int>(chars.size()))
                        : para.InsertAfter(index, chars.data(), static_cast<int>(chars.size()));
                require(para.length == before + (ok ? static_cast<int>(chars.size()) : 0));
                break;
            }
            case 2: {
                const int before = para.length;
                const bool ok = para.Delete(index, count);
                require(ok ? para.length < before : para.length == before);
                break;
            }
            default:
                layOutAndCheck(para, op >> 2);
                break;
        }
    }
    layOutAndCheck(para, width);
    return 0;
}
