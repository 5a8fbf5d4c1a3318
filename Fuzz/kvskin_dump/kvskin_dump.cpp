// Fuzzes the dump of kvskin: the input is written to a host file in a folder of its own and
// dumped in full, its output thrown away.
#include <FuzzFolders.h>

#include <cstddef>
#include <cstdint>

#include "DumpCommand.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* discard = discardStream();
    const std::filesystem::path input = writeInputFile("input.ksk", data, size);
    if (input.empty() || discard == nullptr)
        return 0;
    dumpContainer(input, DumpBytes::all, discard, discard);
    return 0;
}
