// Replacing a host file so that a crash at any moment leaves either the old or the new
// contents: a temporary file beside it is written and flushed to the disk, then renamed over
// it. Used for the registry file and the emulator's records in its device folder.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace device {

// True when `path` now holds `contents`; otherwise false with `error` saying what failed, and
// the old file as it was.
bool replaceFileContents(const std::filesystem::path& path, std::string_view contents,
                         std::string& error);

// The temporary file a replacement of `path` writes first ("<path>.tmp"). One found while no
// replacement runs was left by a process that ended in the middle of one.
std::filesystem::path replacementTemporaryOf(const std::filesystem::path& path);

// Removes such a leftover temporary file (only a plain file: anything else there is not
// ours). False with `error` when it is there and cannot be removed.
bool removeLeftoverReplacement(const std::filesystem::path& path, std::string& error);

}  // namespace device
