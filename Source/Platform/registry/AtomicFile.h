// Replacing a file so that a crash at any moment leaves either the old or the new contents:
// write a temporary file beside it, flush it to the disk, then rename it over the old one.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

// Where a replacement stops early, for tests that show an interrupted save loses nothing.
enum class ReplaceStop { Never, BeforeRename };

void setReplaceStop(ReplaceStop stop);

// True when `path` now holds `contents`; otherwise false with `error` saying what failed, and
// the old file as it was.
bool replaceFileContents(const std::filesystem::path& path, std::string_view contents,
                         std::string& error);

}  // namespace platform
