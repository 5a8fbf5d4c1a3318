// The key table of one layout, loaded by the loader's own parsing.
#include "KeysCommand.h"

#include <string>

namespace {

void printGesture(FILE* out, const char* direction, const KeyRecord* key) {
    if (key == nullptr)
        std::fprintf(out, "# %s none\n", direction);
    else
        std::fprintf(out, "# %s %u %u\n", direction, unsigned(key->row), unsigned(key->col));
}

}  // namespace

int keysCommand(const std::filesystem::path& skinFile, ScreenSize screen, int n, FILE* out,
                FILE* err) {
    LoadedLayout loaded;
    std::string className;
    const std::vector<SkinProblem> problems =
        loadHostLayout(skinFile, screen, n, loaded, className);
    if (!problems.empty()) {
        for (const SkinProblem& problem : problems)
            std::fprintf(err, "%s\n", problemLine(skinFile, problem).c_str());
        return 1;
    }
    const SkinLayout& layout = *loaded.layout;
    std::fprintf(out, "# class %s layout %d size %d %d\n", className.c_str(), n, layout.width,
                 layout.height);
    std::fprintf(out, "# flags %u 0x%04X\n", unsigned(layout.flags), unsigned(layout.flags));
    std::fprintf(out, "# alternate %d\n", int(layout.altIndex));
    printGesture(out, "down", layout.downKey);
    printGesture(out, "right", layout.rightKey);
    printGesture(out, "left", layout.leftKey);
    std::fprintf(out, "row\tcol\tflags\tparam\tvk\tleft\ttop\tright\tbottom\n");
    for (int r = 0; r < layout.rowCount; ++r) {
        for (int k = 0; k < layout.rowKeyCount[r]; ++k) {
            const KeyRecord& key = layout.keys[r][k];
            std::fprintf(out, "%d\t%d\t%u 0x%04X\t%u 0x%04X\t%u\t%d\t%d\t%d\t%d\n", r, k,
                         unsigned(key.flags), unsigned(key.flags), unsigned(key.param),
                         unsigned(key.param), unsigned(key.vk), int(key.rect.left),
                         int(key.rect.top), int(key.rect.right), int(key.rect.bottom));
        }
    }
    return 0;
}
