// Compiles .dlg sources into binary dialog templates.
#include "DialogCompiler.h"

#include <device/Resources.h>

#include "StyleNames.h"
#include "TextReader.h"

namespace rescomp {

namespace {

constexpr uint32_t kWsChild = 0x40000000;
constexpr uint32_t kWsVisible = 0x10000000;
constexpr uint32_t kDsSetFont = 0x0040;

class Writer {
public:
    void word(uint32_t v) {
        bytes.push_back(static_cast<uint8_t>(v));
        bytes.push_back(static_cast<uint8_t>(v >> 8));
    }
    void dword(uint32_t v) {
        word(v & 0xFFFF);
        word(v >> 16);
    }
    void string(const std::u16string& s) {
        if (s.size() > 0xFFFF)
            throw CompileError{"a dialog string is longer than 65535 units"};
        word(static_cast<uint32_t>(s.size()));
        for (char16_t c : s)
            word(c);
    }
    std::vector<uint8_t> bytes;
};

struct Control {
    uint32_t style = kWsChild | kWsVisible;
    uint32_t exStyle = 0;
    int16_t rect[4] = {};
    uint16_t id = 0;
    std::u16string className, text;
    std::vector<std::u16string> items;
};

class LineParser {
public:
    LineParser(std::vector<Token> tokens, std::string where)
        : tokens_(std::move(tokens)), where_(std::move(where)) {}

    bool atEnd() const { return at_ >= tokens_.size(); }
    const Token* peek() const { return atEnd() ? nullptr : &tokens_[at_]; }
    [[noreturn]] void fail(const std::string& message) const {
        throw CompileError{where_ + ": " + message};
    }

    std::string word() {
        if (atEnd() || tokens_[at_].kind != Token::Kind::Word)
            fail("expected a word");
        return tokens_[at_++].text;
    }
    std::u16string quoted() {
        if (atEnd() || tokens_[at_].kind != Token::Kind::Quoted)
            fail("expected a quoted string");
        return utf8ToUtf16(tokens_[at_++].text);
    }
    int64_t number(int64_t low, int64_t high) {
        if (atEnd() || tokens_[at_].kind != Token::Kind::Word)
            fail("expected a number");
        std::string text = word();
        auto value = parseNumber(text);
        if (!value || *value < low || *value > high)
            fail("expected a number, found " + text);
        return *value;
    }
    int16_t coordinate() { return static_cast<int16_t>(number(-32768, 32767)); }

    // Applies "name | number | NOT name ..." to `style`: names and numbers are added, NOT
    // removes. Stops at the end or at the word EXSTYLE.
    void styles(uint32_t& style) {
        bool expectTerm = true;
        while (!atEnd()) {
            const Token& token = tokens_[at_];
            if (token.kind == Token::Kind::Word && token.text == "EXSTYLE")
                break;
            if (token.kind == Token::Kind::Bar) {
                if (expectTerm)
                    fail("'|' without a style before it");
                expectTerm = true;
                ++at_;
                continue;
            }
            if (!expectTerm)
                fail("expected '|' between styles");
            bool remove = false;
            std::string name = word();
            if (name == "NOT") {
                remove = true;
                name = word();
            }
            uint32_t value = 0;
            if (auto known = styleValue(name)) {
                value = *known;
            } else if (auto number = parseNumber(name); number && *number >= 0) {
                value = static_cast<uint32_t>(*number);
            } else {
                fail("unknown style " + name);
            }
            style = remove ? (style & ~value) : (style | value);
            expectTerm = false;
        }
        if (expectTerm && at_ > 0 && tokens_[at_ - 1].kind == Token::Kind::Bar) {
            fail("style expression ends with '|'");
        }
    }
    void end() {
        if (!atEnd())
            fail("unexpected " + tokens_[at_].text);
    }

private:
    std::vector<Token> tokens_;
    std::string where_;
    size_t at_ = 0;
};

}  // namespace

std::vector<uint8_t> compileDialog(const std::string& path) {
    bool haveRect = false;
    int16_t rect[4] = {};
    uint32_t style = 0, exStyle = 0;
    uint16_t pointSize = 0;
    std::u16string fontName, title;
    std::vector<Control> controls;

    readStatements(path, "dialog source",
                   [&](std::vector<Token>& tokens, const std::string& where) {
                       LineParser p(std::move(tokens), where);
                       const std::string keyword = p.word();
                       if (!haveRect && keyword != "DIALOG")
                           p.fail("a dialog source starts with DIALOG x y cx cy");
                       if (keyword == "DIALOG") {
                           if (haveRect)
                               p.fail("a second DIALOG line");
                           for (int16_t& v : rect)
                               v = p.coordinate();
                           haveRect = true;
                       } else if (keyword == "CAPTION") {
                           title = p.quoted();
                       } else if (keyword == "FONT") {
                           pointSize = static_cast<uint16_t>(p.number(1, 0xFFFF));
                           fontName = p.quoted();
                           style |= kDsSetFont;
                       } else if (keyword == "STYLE") {
                           p.styles(style);
                       } else if (keyword == "EXSTYLE") {
                           p.styles(exStyle);
                       } else if (keyword == "CONTROL") {
                           Control control;
                           const Token* cls = p.peek();
                           control.className = cls != nullptr && cls->kind == Token::Kind::Quoted
                                                   ? p.quoted()
                                                   : utf8ToUtf16(p.word());
                           control.id = static_cast<uint16_t>(p.number(-1, 0xFFFF) & 0xFFFF);
                           control.text = p.quoted();
                           for (int16_t& v : control.rect)
                               v = p.coordinate();
                           p.styles(control.style);
                           if (!p.atEnd()) {
                               p.word();  // EXSTYLE
                               p.styles(control.exStyle);
                           }
                           controls.push_back(std::move(control));
                       } else if (keyword == "ITEM") {
                           if (controls.empty())
                               p.fail("ITEM before any CONTROL");
                           if (controls.back().items.size() == 0xFFFF)
                               p.fail("too many items");
                           controls.back().items.push_back(p.quoted());
                       } else {
                           p.fail("unknown statement " + keyword);
                       }
                       p.end();
                   });
    if (!haveRect)
        throw CompileError{path + ": empty dialog source"};
    if (controls.size() > 0xFFFF)
        throw CompileError{path + ": too many controls"};

    Writer out;
    out.dword(platform::kDialogTemplateMagic);
    out.word(platform::kDialogTemplateVersion);
    out.word(static_cast<uint32_t>(controls.size()));
    out.dword(style);
    out.dword(exStyle);
    for (int16_t v : rect)
        out.word(static_cast<uint16_t>(v));
    out.word(pointSize);
    out.string(fontName);
    out.string(title);
    for (const Control& c : controls) {
        out.dword(c.style);
        out.dword(c.exStyle);
        for (int16_t v : c.rect)
            out.word(static_cast<uint16_t>(v));
        out.word(c.id);
        out.string(c.className);
        out.string(c.text);
        out.word(static_cast<uint32_t>(c.items.size()));
        for (const auto& item : c.items)
            out.string(item);
    }
    return out.bytes;
}

}  // namespace rescomp
