// Fuzzes kvskin check and keys on hostile skin files: the input is written to a file in a
// folder of its own, checked for every class, and the first layouts' key tables are printed,
// the output thrown away.
#include <stdlib.h>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "CheckCommand.h"
#include "KeysCommand.h"

namespace {

struct StreamCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using Stream = std::unique_ptr<FILE, StreamCloser>;

struct InputFolder {
    std::filesystem::path path;
    InputFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kvskin-check-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr)
            path = pattern;
    }
    ~InputFolder() {
        std::error_code ignored;
        if (!path.empty())
            std::filesystem::remove_all(path, ignored);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static InputFolder folder;
    static Stream discard(std::fopen("/dev/null", "w"));
    if (folder.path.empty() || !discard)
        return 0;
    auto input = folder.path / "input.ksk";
    {
        Stream out(std::fopen(input.c_str(), "wb"));
        if (!out || (size != 0 && std::fwrite(data, 1, size, out.get()) != size))
            return 0;
    }
    checkCommand(input, std::nullopt, discard.get(), discard.get());
    for (ScreenSize screen : {ScreenSize{240, 320}, ScreenSize{640, 480}}) {
        for (int n = 0; n < 3; ++n)
            keysCommand(input, screen, n, discard.get(), discard.get());
    }
    return 0;
}
