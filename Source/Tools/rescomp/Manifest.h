// The module's resources.txt: one resource a line, "KIND NAME SOURCE", with '#' comments.
//   BITMAP 2015 sipbutton32.bmp         ICON 2001 close.ico
//   STRING 2007 "Text with \n escapes"  DIALOG 103 options_general.dlg
//   RCDATA 300 data.bin                 CUSTOM "KSKN" 1 default.ksk
// Names are numbers (0 to 65535) or strings (quoted or bare words); files are relative to the
// manifest's folder.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rescomp {

enum class ResourceKind { Bitmap, Icon, String, Dialog, RcData, Custom };

struct ResourceName {
    std::optional<uint16_t> id;
    std::u16string text;  // when not numeric
};

struct ManifestEntry {
    ResourceKind kind = ResourceKind::RcData;
    std::u16string customType;  // Custom only
    ResourceName name;
    std::string file;     // the source file's path (not for String)
    std::u16string text;  // String only
    std::string where;    // "manifest:line", for messages
};

// Reads the manifest; throws CompileError naming the line of the first fault.
std::vector<ManifestEntry> readManifest(const std::string& path);

}  // namespace rescomp
