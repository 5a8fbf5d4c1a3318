// Reading and writing whole device files for the device programs: a read takes at most a given
// number of bytes and says whether the file held more; a write replaces the file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

enum class FileRead { Read, Missing, Unreadable };

struct DeviceFileBytes {
    FileRead state = FileRead::Missing;
    std::string bytes;
    bool truncated = false;  // the file is longer than the bytes read
};

DeviceFileBytes readDeviceFile(std::u16string_view devicePath, size_t maxBytes);
bool saveDeviceFile(std::u16string_view devicePath, std::string_view bytes);
