// Fuzzes kvskin check and keys on hostile skin files: the input is written to a file in a
// folder of its own, checked for every class, and the first layouts' key tables are printed,
// the output thrown away.
#include <FuzzFolders.h>

#include <cstddef>
#include <cstdint>

#include "CheckCommand.h"
#include "KeysCommand.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* discard = discardStream();
    const std::filesystem::path input = writeInputFile("input.ksk", data, size);
    if (input.empty() || discard == nullptr)
        return 0;
    checkCommand(input, std::nullopt, discard, discard);
    for (ScreenSize screen : {ScreenSize{240, 320}, ScreenSize{640, 480}}) {
        for (int n = 0; n < 3; ++n)
            keysCommand(input, screen, n, discard, discard);
    }
    return 0;
}
