// Reads resources.txt into the list of resources to compile.
#include "Manifest.h"

#include <filesystem>

#include "TextReader.h"

namespace rescomp {

namespace {

ResourceName nameFrom(const Token& token, const std::string& where) {
    ResourceName name;
    if (token.kind == Token::Kind::Word) {
        if (auto number = parseNumber(token.text)) {
            if (*number < 0 || *number > 0xFFFF) {
                throw CompileError{where + ": resource number out of range: " + token.text};
            }
            name.id = static_cast<uint16_t>(*number);
            return name;
        }
    }
    if (token.text.empty())
        throw CompileError{where + ": empty resource name"};
    name.text = utf8ToUtf16(token.text);
    return name;
}

}  // namespace

std::vector<ManifestEntry> readManifest(const std::string& path) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::vector<ManifestEntry> entries;
    readStatements(path, "manifest", [&](std::vector<Token>& t, const std::string& where) {
        const std::string& kind = t[0].text;
        ManifestEntry entry;
        entry.where = where;
        size_t next = 1;
        if (kind == "BITMAP") {
            entry.kind = ResourceKind::Bitmap;
        } else if (kind == "ICON") {
            entry.kind = ResourceKind::Icon;
        } else if (kind == "STRING") {
            entry.kind = ResourceKind::String;
        } else if (kind == "DIALOG") {
            entry.kind = ResourceKind::Dialog;
        } else if (kind == "RCDATA") {
            entry.kind = ResourceKind::RcData;
        } else if (kind == "CUSTOM") {
            entry.kind = ResourceKind::Custom;
            if (t.size() < 2 || t[1].kind == Token::Kind::Bar || t[1].text.empty()) {
                throw CompileError{where + ": CUSTOM needs a type name"};
            }
            if (parseNumber(t[1].text)) {
                throw CompileError{where + ": a CUSTOM type is a name, not a number"};
            }
            entry.customType = utf8ToUtf16(t[1].text);
            next = 2;
        } else {
            throw CompileError{where + ": unknown resource kind " + kind};
        }
        if (t.size() != next + 2 || t[next].kind == Token::Kind::Bar ||
            t[next + 1].kind == Token::Kind::Bar) {
            throw CompileError{where + ": expected " + kind + " NAME " +
                               (entry.kind == ResourceKind::String ? "\"TEXT\"" : "FILE")};
        }
        entry.name = nameFrom(t[next], where);
        if (entry.kind == ResourceKind::String) {
            if (!entry.name.id)
                throw CompileError{where + ": a STRING is named by a number"};
            if (t[next + 1].kind != Token::Kind::Quoted) {
                throw CompileError{where + ": the STRING text must be quoted"};
            }
            entry.text = utf8ToUtf16(t[next + 1].text);
            if (entry.text.size() > 0xFFFF)
                throw CompileError{where + ": string too long"};
        } else {
            entry.file = (folder / t[next + 1].text).string();
        }
        entries.push_back(std::move(entry));
    });
    return entries;
}

}  // namespace rescomp
