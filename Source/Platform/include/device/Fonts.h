// Where the device finds its font files. Face names (Tahoma, MS Shell Dlg, Courier New, ...)
// map to the DejaVu families installed in this folder.
#pragma once

#include <filesystem>

namespace device {

// The folder of the font files; /usr/share/fonts/truetype/dejavu when the device starts.
void setFontDirectory(const std::filesystem::path& folder);
std::filesystem::path fontDirectory();

}  // namespace device
