// Loading the skin into the panel: the first load, the reset after a screen or skin change,
// one numbered layout of the current skin file, and decoding a layout's picture.
#pragma once

#include <windows.h>

#include <string>

#include "skin/LayoutData.h"
#include "skin/SkinLayout.h"

class CBitmap;
class CEBFFile;
class CMyPanel;

// String-table texts of the message faces ("%s" is the skin file's path).
inline constexpr UINT IDS_SKIN_NOT_FOUND = 2007;
inline constexpr UINT IDS_NO_DIMENSION = 2008;
inline constexpr UINT IDS_BAD_LAYOUT = 2009;
// ("%s" is the name of the registry value.)
inline constexpr UINT IDS_SETTING_TOO_LONG = 2010;

enum class LayoutLoad {
    Loaded,
    Missing,   // the numbered layout class is not there: the layout keeps what it held
    Rejected,  // its picture or data cannot be held
};

// Why a layout was rejected, for tools that report it.
enum class LayoutReject {
    None,
    PictureTooLarge,  // "P" holds more than the picture area
    DataTooLarge,     // "D" holds more than the data area
    DataUnreadable,   // "D" could not be read whole
    BadData,          // "D" does not parse (see LayoutRejection::data)
};
struct LayoutRejection {
    LayoutReject reason = LayoutReject::None;
    LayoutDataResult data = LayoutDataResult::Ok;
    DWORD storedBytes = 0;  // of the item that is too large
};

// Parses layout class `n` of the open dimension class into `layout`, its picture into the
// layout's image area (pictureSize: its bytes, 0 for none); modifier keys go to `modSlot`
// (entry s - 1 for slot s) when it is given. A rejected layout is left as it was, and `why`
// (when given) says what was wrong.
LayoutLoad parseLayoutClass(CEBFFile& file, int n, SkinLayout& layout, KeyRecord** modSlot,
                            DWORD& pictureSize, LayoutRejection* why = nullptr);

// Decodes `size` bytes of a picture into a bitmap compatible with the screen, drawn through
// `dc`, and gives it to `layout` (which deletes its old one first). A picture wider than
// maxWidth or taller than maxHeight is refused. True when the layout has a bitmap.
bool decodeImage(const BYTE* bytes, DWORD size, HDC dc, SkinLayout& layout, int maxWidth,
                 int maxHeight);
// The same into a bitmap object (its old picture deleted first); no larger than a layout may
// be. True when the bitmap holds a picture.
bool decodeImage(const BYTE* bytes, DWORD size, HDC dc, CBitmap& bitmap);

// The panel's first load: memory DC, screen, general settings, macros, skin name and folder,
// then layout 0.
void reloadSkinSettings(CMyPanel& panel);

// The reset after a change of the screen or of the skin (whose name the caller has read):
// key state and recording cleared, screen measured, layout 0 loaded, the panel sized to it.
void resetSkin(CMyPanel& panel);

// What a load does when the layout asked for cannot be shown (it cannot be held, or it has no
// size or no key to tap).
enum class IfUnusable {
    ShowMessage,  // the message face takes its place
    KeepShown,    // a usable layout on show stays as it was (a switch refused); else the face
};
enum class LayoutShown {
    Loaded,   // the layout asked for (a missing numbered class: the content held, renumbered)
    Kept,     // the layout on show stayed
    Message,  // the message face
};

// Loads layout n (and its alternate) of the panel's skin file. The message face comes up when
// a skin setting was refused, or the file or its class for the screen cannot be used; an
// alternate that cannot be used leaves the layout without alternate keys.
LayoutShown loadLayout(CMyPanel& panel, int n, IfUnusable ifUnusable = IfUnusable::ShowMessage);

// A string-table text of the library with "%s" replaced by `argument`.
std::u16string formatMessageText(UINT id, const std::u16string& argument);
