// The frame of a face is as thick along a side everywhere but at rounded corners, which the
// walk leaves out by looking only at the middle rows and columns of the key.
#include "LabelInk.h"

#include <algorithm>
#include <unordered_map>

namespace {

// Colours this close to the face's count as the face: anti-aliased ink fades into it.
constexpr int kFaceTolerance = 48;
// The face's colour must cover this share of the key (in percent) for the key to be judged.
constexpr int kLeastFaceShare = 40;

int distance(uint32_t a, uint32_t b) {
    int sum = 0;
    for (int shift = 0; shift < 24; shift += 8)
        sum += std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF));
    return sum;
}

// Counts, along one line of pixels given by `at`, the pixels before the first face-coloured
// one.
template <typename At>
int frameRun(int length, uint32_t face, At at) {
    int run = 0;
    while (run < length && distance(at(run), face) > kFaceTolerance)
        ++run;
    return run;
}

// Whether some line's run exceeds the thinnest one: ink that meets the frame.
bool inkMeetsFrame(const std::vector<int>& runs) {
    if (runs.empty())
        return false;
    const auto [thinnest, thickest] = std::minmax_element(runs.begin(), runs.end());
    return *thickest > *thinnest;
}

}  // namespace

std::string labelInkEdges(const PicturePixels& picture, const RECT& key) {
    const int left = std::max<LONG>(key.left, 0);
    const int top = std::max<LONG>(key.top, 0);
    const int right = std::min<LONG>(key.right, picture.width);
    const int bottom = std::min<LONG>(key.bottom, picture.height);
    const int width = right - left;
    const int height = bottom - top;
    if (width < 6 || height < 6)
        return {};
    std::unordered_map<uint32_t, int> counts;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x)
            ++counts[picture.at(x, y)];
    }
    const auto common =
        std::max_element(counts.begin(), counts.end(),
                         [](const auto& a, const auto& b) { return a.second < b.second; });
    if (common->second * 100 < width * height * kLeastFaceShare)
        return {};
    const uint32_t face = common->first;

    // The middle three fifths of the rows and of the columns, away from the corners.
    const int rowMargin = height / 5;
    const int colMargin = width / 5;
    std::vector<int> fromLeft, fromRight, fromTop, fromBottom;
    for (int y = top + rowMargin; y < bottom - rowMargin; ++y) {
        fromLeft.push_back(frameRun(width, face, [&](int i) { return picture.at(left + i, y); }));
        fromRight.push_back(
            frameRun(width, face, [&](int i) { return picture.at(right - 1 - i, y); }));
    }
    for (int x = left + colMargin; x < right - colMargin; ++x) {
        fromTop.push_back(frameRun(height, face, [&](int i) { return picture.at(x, top + i); }));
        fromBottom.push_back(
            frameRun(height, face, [&](int i) { return picture.at(x, bottom - 1 - i); }));
    }
    std::vector<std::string> edges;
    if (inkMeetsFrame(fromLeft))
        edges.push_back("left");
    if (inkMeetsFrame(fromRight))
        edges.push_back("right");
    if (inkMeetsFrame(fromTop))
        edges.push_back("top");
    if (inkMeetsFrame(fromBottom))
        edges.push_back("bottom");
    if (edges.empty())
        return {};
    std::string words = "the " + edges[0];
    for (size_t i = 1; i < edges.size(); ++i)
        words += (i + 1 == edges.size() ? " and " : ", ") + edges[i];
    return words + (edges.size() == 1 ? " edge" : " edges");
}
