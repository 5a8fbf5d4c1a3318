// A skin's source as its author writes it in skin.json: colours, help file, a picture theme,
// named faces (rows of keys with widths and actions) and, for each dimension class, the panel
// size and the list of faces that become its numbered layouts.
#pragma once

#include <windef.h>

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "KeyboardMap.h"

// Limits of a source, beyond the container's own: panels a device can show, key widths that
// make sense, and the layout numbers a signed byte can hold.
inline constexpr int kMaxPanelWidth = 1024;
inline constexpr int kMaxPanelHeight = 512;
inline constexpr double kMaxKeyUnits = 30;
inline constexpr size_t kMaxLayoutsPerClass = 128;

// How a key is drawn. Auto: character keys as Char, keys whose face the panel fills in
// (macro, task and program keys) as Blank, the rest as Function.
enum class KeyStyle { Auto, Char, Function, Accent, Display, Blank, None };

// A layout named by a face's entry name in the class, or by number.
struct LayoutRef {
    std::string name;
    int number = -1;
};

// A gesture key: by a key's id, or by row and column.
struct GestureRef {
    std::string id;
    int row = -1;
    int col = -1;
};

struct KeySource {
    std::string id;
    std::u16string label;
    double width = 1;
    std::optional<std::array<double, 4>> rect;  // in the face's reference pixels
    WORD flags = 0;
    WORD param = 0;
    BYTE vk = 0;
    std::optional<LayoutRef> gotoTarget;  // resolved into param when the class is compiled
    KeyStyle style = KeyStyle::Auto;
};

struct FaceSource {
    WORD flags = 0;
    Keyboard keyboard = Keyboard::Farsi;
    std::optional<LayoutRef> alternate;
    std::optional<GestureRef> down;
    std::optional<GestureRef> right;
    std::optional<GestureRef> left;
    std::vector<std::vector<KeySource>> rows;
    std::vector<double> rowHeights;  // units per row; empty: equal rows
    std::array<int, 2> reference{240, 80};
    std::map<std::string, std::string> pictures;  // dimension class -> PNG file in the source
};

// Colours (0x00BBGGRR) of drawn pictures.
struct Theme {
    COLORREF background = 0x00403830;
    COLORREF key = 0x00FAF6F2;
    COLORREF keyEdge = 0x00786C60;
    COLORREF label = 0x00201810;
    COLORREF functionKey = 0x00D0C4B8;
    COLORREF functionLabel = 0x00201810;
    COLORREF accentKey = 0x00B07020;
    COLORREF accentLabel = 0x00FFFFFF;
    COLORREF display = 0x00E0F0E8;
    COLORREF hint = 0x00806850;
};

struct LayoutEntrySource {
    std::string name;  // what gotos and alternates call it
    std::string face;
};

struct ClassSource {
    std::string name;  // "P", "PH", "L" or "LH"
    int width = 0;
    int height = 0;
    std::vector<LayoutEntrySource> layouts;
};

struct SkinSource {
    DWORD textColor = 0;
    DWORD frameColor = 0;
    std::u16string helpFile;
    Theme theme;
    std::map<std::string, FaceSource> faces;
    std::vector<ClassSource> classes;  // in the order P, PH, L, LH
};

// Parses skin.json text. False with a message naming `fileName` and the place (face, row,
// key) of the first problem.
bool parseSkinSource(std::string_view text, const std::string& fileName, SkinSource& source,
                     std::string& error);
