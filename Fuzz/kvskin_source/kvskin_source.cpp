// Fuzzes the skin source compiler: the input is skin.json text, compiled in full; its pictures
// are drawn and encoded unless the panels it asks for add up to more than a few screens (the
// drawing is bounded anyway, but slow inputs hide fast faults from the fuzzer).
#include <FuzzFolders.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "BuildCommand.h"
#include "SkinCompiler.h"

namespace {

constexpr uint64_t kDrawingBudget = 500'000;  // pixels over every layout of every class

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An empty folder: pictures the input names are looked for there and not found.
    static RunFolder folder("kvskin-source-fuzz");
    if (folder.path().empty())
        return 0;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    SkinSource source;
    std::string error;
    std::vector<CompiledClass> classes;
    if (!parseSkinSource(text, "skin.json", source, error) ||
        !compileLayouts(source, "skin.json", classes, error))
        return 0;
    uint64_t pixels = 0;
    for (const CompiledClass& cls : classes)
        pixels += uint64_t(cls.width) * uint64_t(cls.height) * cls.layouts.size();
    if (pixels > kDrawingBudget)
        return 0;
    SkinFileContents skin;
    buildSkinContents(text, "skin.json", folder.path(), skin, error);
    return 0;
}
