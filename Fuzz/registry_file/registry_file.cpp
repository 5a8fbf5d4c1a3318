// Parses arbitrary bytes as a registry file. Whatever parses must save to a text that parses
// again into the same registry (compared through its saved text), so no value changes in a
// round trip through the file.
#include <device/RegistryFile.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    device::resetRegistry();
    std::string_view input(reinterpret_cast<const char*>(data), size);
    if (!device::loadRegistryText(input))
        return 0;
    std::string saved = device::registryText();
    device::RegistryFileResult again = device::loadRegistryText(saved);
    if (!again) {
        std::fprintf(stderr, "the saved registry does not load: %s\n", again.message.c_str());
        std::abort();
    }
    if (device::registryText() != saved) {
        std::fprintf(stderr, "the registry changed in a round trip through its file\n");
        std::abort();
    }
    return 0;
}
