// Whether the label drawn on a key fits its face, judged from the layout's picture alone: a
// label that does not fit is cut off at the face's edge, where its ink then meets the edge.
#pragma once

#include <windef.h>

#include <cstdint>
#include <string>
#include <vector>

// A picture's pixels, 0x00RRGGBB, top row first.
struct PicturePixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    uint32_t at(int x, int y) const {
        return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    }
};

// The edges of the key's face that ink inside it reaches, as words ("the left edge", "the left
// and right edges"); empty when the ink keeps clear of every edge, or when the key is not a
// plain face (no colour covers most of it) and nothing can be told.
//
// The face is the key's most common colour. Walking in from each side of the key, the pixels
// before the first face-coloured one are the frame (background, edge line); a row or column
// where that run is longer than in the rest has ink joined to the frame.
std::string labelInkEdges(const PicturePixels& picture, const RECT& key);
