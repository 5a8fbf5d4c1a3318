// kvtext: reads UTF-8 paragraphs from standard input (one per line), lays each out with
// CBidiPara (levels, shaping, wrapping, reordering) and prints its display lines.
#include <farsiedit/CBidiPara.h>
#include <wchar16.h>
#include <wingdi.h>

#include <cstdio>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "KvTextOptions.h"
#include "Utf8Check.h"

namespace {

// A memory DC with the Tahoma face of the asked height selected, freed at scope end.
class MeasuringDc {
public:
    explicit MeasuringDc(int fontHeight) {
        m_dc = CreateCompatibleDC(nullptr);
        m_font = CreateFontW(fontHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                             u"Tahoma");
        if (m_dc != nullptr && m_font != nullptr) {
            m_old = SelectObject(m_dc, m_font);
        }
    }
    ~MeasuringDc() {
        if (m_old != nullptr) {
            SelectObject(m_dc, m_old);
        }
        if (m_font != nullptr) {
            DeleteObject(m_font);
        }
        if (m_dc != nullptr) {
            DeleteDC(m_dc);
        }
    }
    MeasuringDc(const MeasuringDc&) = delete;
    MeasuringDc& operator=(const MeasuringDc&) = delete;

    bool valid() const { return m_old != nullptr; }
    HDC dc() const { return m_dc; }

private:
    HDC m_dc = nullptr;
    HFONT m_font = nullptr;
    HGDIOBJ m_old = nullptr;
};

std::string hexOf(std::u16string_view glyphs) {
    std::string out;
    char buffer[16];
    for (size_t i = 0; i < glyphs.size(); ++i) {
        std::snprintf(buffer, sizeof buffer, "%sU+%04X", i == 0 ? "" : " ",
                      static_cast<unsigned>(glyphs[i]));
        out += buffer;
    }
    return out;
}

template <typename Value>
std::string listOf(const char* name, const Value* values, int count) {
    std::string out = name;
    for (int i = 0; i < count; ++i) {
        const int v = values[i];
        out += ' ';
        out += v == CBidiPara::NO_GLYPH ? std::string("-") : std::to_string(v);
    }
    return out;
}

void printParagraph(const std::u16string& text, const kvtext::Options& options, HDC dc,
                    int lineNumber) {
    CBidiPara para;
    if (para.SetText(text.c_str()) < static_cast<int>(text.size())) {
        std::cerr << "kvtext: line " << lineNumber << ": paragraph cut to " << CBidiPara::MAX_LENGTH
                  << " characters\n";
    }
    para.Layout();
    para.Wrap(dc, options.width);
    if (options.base) {
        std::cout << "base " << para.baseLevel << '\n';
    }
    if (options.levels) {
        std::vector<int> levels;
        for (int i = 0; i < para.length; ++i) {
            levels.push_back(para.LevelAt(i));
        }
        std::cout << listOf("levels", levels.data(), para.length) << '\n';
    }
    if (options.maps) {
        std::cout << listOf("logToVis", para.logToVis.get(), para.length) << '\n';
        std::cout << listOf("visToLog", para.visToLog.get(), para.glyphCount) << '\n';
    }
    for (int line = 0; line < para.lineCount; ++line) {
        const std::u16string glyphs = para.LineGlyphs(line);
        std::cout << (options.hex ? hexOf(glyphs) : platform::toUtf8(glyphs)) << '\n';
    }
}

bool endsParagraph(char16_t c) {
    return c == u'\n' || c == u'\r' || c == 0x2029 || c == 0;
}

}  // namespace

int main(int argc, char** argv) {
    kvtext::Options options;
    std::string message;
    if (kvtext::parseOptions(std::vector<std::string>(argv + 1, argv + argc), options, message) !=
        kvtext::ParseResult::Ok) {
        std::cerr << "kvtext: " << message << '\n' << kvtext::kUsage;
        return 2;
    }
    if (options.help) {
        std::cout << kvtext::kUsage;
        return 0;
    }
    const std::string input((std::istreambuf_iterator<char>(std::cin)),
                            std::istreambuf_iterator<char>());
    const size_t bad = kvtext::firstInvalidUtf8(input);
    if (bad != std::string::npos) {
        size_t line = 1;
        for (size_t i = 0; i < bad; ++i) {
            line += input[i] == '\n' ? 1 : 0;
        }
        std::cerr << "kvtext: input is not UTF-8 (line " << line << ", byte " << bad + 1 << ")\n";
        return 1;
    }
    std::unique_ptr<MeasuringDc> measuring;
    if (options.width > 0) {
        measuring = std::make_unique<MeasuringDc>(options.fontHeight);
        if (!measuring->valid()) {
            std::cerr << "kvtext: cannot open the Tahoma face for measuring\n";
            return 1;
        }
    }
    HDC dc = measuring ? measuring->dc() : nullptr;

    // Paragraphs end at LF, CR LF, CR or U+2029; a last line without LF is a paragraph too.
    const std::u16string text = platform::fromUtf8(input);
    int lineNumber = 1;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && !endsParagraph(text[end])) {
            ++end;
        }
        printParagraph(text.substr(start, end - start), options, dc, lineNumber);
        if (end < text.size() && text[end] == u'\r' && end + 1 < text.size() &&
            text[end + 1] == u'\n') {
            ++end;
        }
        if (end < text.size() && text[end] == u'\n') {
            ++lineNumber;
        }
        start = end + 1;
    }
    return 0;
}
