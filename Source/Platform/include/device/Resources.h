// Module resources as the build compiles them in: every program and library that has a
// resources.txt exports KelvoResourceTable(), which returns the module's table, found through
// the module's handle. Also the binary layout of dialog templates and its bounded reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "../windef.h"

namespace device {

// One resource. A type or name given as a string has its text in typeName / name (UTF-16,
// null-terminated, compared without regard to ASCII case); a numeric one has a null pointer
// there and its number in typeId / id.
//
// Data by type, as the resource compiler writes it:
//   RT_BITMAP      a DIB: BITMAPINFOHEADER (or V4/V5), palette, pixels (a .bmp file without
//                  its 14-byte file header)
//   RT_ICON        one icon image: a DIB of twice the icon's height (colour rows, then the
//                  1-bit AND mask) or a PNG file
//   RT_GROUP_ICON  the icon directory: GRPICONDIR (reserved, type 1, count) and per image
//                  a 14-byte GRPICONDIRENTRY whose last field is the RT_ICON id of the image
//   RT_STRING      blocks of 16 strings: block n holds ids (n-1)*16 to (n-1)*16+15, each a
//                  WORD length followed by that many UTF-16 units, no terminator
//   RT_DIALOG      a dialog template in the layout described below
//   RT_RCDATA and string-named types: the file's bytes as they are
struct ResourceEntry {
    const char16_t* typeName;
    uint16_t typeId;
    const char16_t* name;
    uint16_t id;
    const void* data;
    uint32_t size;
};

inline constexpr uint32_t kResourceTableMagic = 0x5345524B;  // "KRES"
inline constexpr uint32_t kResourceTableVersion = 1;

struct ResourceTable {
    uint32_t magic;
    uint32_t version;
    uint32_t count;
    const ResourceEntry* entries;
};

// Ties a resource table to an instance handle (replacing an earlier tie); a null table unties
// it. Modules loaded by LoadLibraryW need none of this: their tables are found through their
// handles. This is for programs and tests that make their own instance handles.
void registerModuleResources(HINSTANCE instance, const ResourceTable* table);

}  // namespace device

// Binary dialog template, little-endian, every field 2-byte aligned:
//   DWORD magic "KDLG" (0x474C444B)   WORD version (1)   WORD control count
//   DWORD style   DWORD extended style   SHORT x, y, cx, cy (dialog units)
//   WORD font point size   STR font name   STR title
//   then per control:
//     DWORD style   DWORD extended style   SHORT x, y, cx, cy   WORD id
//     STR class name   STR text   WORD item count   item count × STR
// where STR is a WORD count of UTF-16 units followed by the units (no terminator).
// Items are a control's initial strings (a combo box's or list box's entries).
namespace platform {

inline constexpr uint32_t kDialogTemplateMagic = 0x474C444B;
inline constexpr uint16_t kDialogTemplateVersion = 1;

struct DialogControl {
    DWORD style = 0;
    DWORD exStyle = 0;
    SHORT x = 0, y = 0, cx = 0, cy = 0;
    WORD id = 0;
    std::u16string className;
    std::u16string text;
    std::vector<std::u16string> items;
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    SHORT x = 0, y = 0, cx = 0, cy = 0;
    WORD pointSize = 0;
    std::u16string fontName;
    std::u16string title;
    std::vector<DialogControl> controls;
};

// Reads a dialog template; no result when the bytes are not one (wrong magic or version,
// a field or string running past the end, fewer controls than stated).
std::optional<DialogTemplate> parseDialogTemplate(const uint8_t* data, size_t size);

}  // namespace platform

// Every module with resources exports this function, which the resource compiler writes and
// which returns the module's table. A function rather than an exported variable: a program
// and the libraries it loads each define one, and same-named functions in several modules are
// ordinary where same-named data is not (sanitizers report it as a one-definition fault).
extern "C" const device::ResourceTable* KelvoResourceTable();
