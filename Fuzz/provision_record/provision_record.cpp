// Fuzz target: a device folder's record of provisioning ("provisioned" and "installed") as a
// start reads it from a folder the user may have edited. What is read writes back the same.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "device/ProvisionRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ProvisionRecord record;
    record.readSteps(bytes);
    record.readFiles(bytes);
    ProvisionRecord again;
    again.readSteps(record.stepsText());
    again.readFiles(record.filesText());
    if (again.stepsText() != record.stepsText() || again.filesText() != record.filesText())
        __builtin_trap();
    return 0;
}
