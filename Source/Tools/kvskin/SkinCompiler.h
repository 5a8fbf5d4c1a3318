// Turning a skin source into layouts: for each dimension class, each listed face becomes a
// numbered layout whose key rectangles follow from its rows and widths at the class's panel
// size, with goto, alternate and gesture names resolved to numbers and places.
#pragma once

#include <string>
#include <vector>

#include "SkinSource.h"
#include "skin/SkinWriter.h"

// What the picture of a key shows.
struct KeyLook {
    std::u16string label;
    std::u16string hint;  // the key's character on the alternate layout, drawn small
    KeyStyle style = KeyStyle::Function;
};

struct CompiledLayout {
    std::string name;
    std::string face;
    SkinLayoutEntry entry;
    std::vector<std::vector<KeyLook>> looks;  // by row and column, like entry.rows
    std::string pictureFile;                  // empty: the picture is drawn
};

struct CompiledClass {
    std::string name;
    int width = 0;
    int height = 0;
    std::vector<CompiledLayout> layouts;
};

// Compiles every class of the source. False with a message naming `fileName`, the class, the
// layout and the key of the first problem.
bool compileLayouts(const SkinSource& source, const std::string& fileName,
                    std::vector<CompiledClass>& classes, std::string& error);
