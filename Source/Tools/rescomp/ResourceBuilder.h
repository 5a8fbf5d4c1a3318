// Turns the manifest's entries into the resources a module carries: bitmaps without their
// file header, icons split into a group directory and one RT_ICON per image, strings gathered
// into blocks of 16, dialogs compiled, other files as they are.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Manifest.h"

namespace rescomp {

struct BuiltResource {
    std::optional<uint16_t> typeId;
    std::u16string typeName;
    ResourceName name;
    std::vector<uint8_t> bytes;
    bool utf16 = false;  // a string block: emitted as UTF-16 units so that it is 2-byte aligned
};

struct BuildResult {
    std::vector<BuiltResource> resources;
    std::vector<std::string> inputs;  // every file read, for the build's dependency list
};

// Throws CompileError on unreadable or malformed input files and on duplicate resources.
BuildResult buildResources(const std::vector<ManifestEntry>& entries);

}  // namespace rescomp
