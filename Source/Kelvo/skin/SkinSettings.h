// The process-wide skin settings: the skins folder and the current skin from the registry,
// the loaded skin's help file, and the dimension class chosen for a screen size.
#pragma once

#include <windows.h>

#include <string>

// Folder of the skin files, ending in "\" (empty: the skin's file name alone is its path).
extern std::u16string skinsFolder;
// Name of the current skin, without folder and extension.
extern std::u16string currentSkin;
// Help file name of the loaded skin (its "HFN" item).
extern std::u16string helpFilePath;
// Set while the last read of "CurSkin" or "SkinsPath" was refused for its length.
extern bool currentSkinTooLong;
extern bool skinsPathTooLong;

inline constexpr const WCHAR* kDefaultSkin = u"Kelvo";

// Reads "CurSkin" (at most 255 characters); when missing the skin is "Kelvo", written back.
// A longer value is refused (see refusedSkinSetting) and the current skin stays as it was.
void readCurrentSkin();
// Reads "SkinsPath" (at most 255 characters) and appends "\"; when missing the folder stays.
// A longer value is refused like a longer "CurSkin".
void readSkinsPath();
// The registry value ("CurSkin" or "SkinsPath") whose last read was refused for being longer
// than 255 characters, or null: no skin can be found while one is.
const WCHAR* refusedSkinSetting();
// skinsFolder + currentSkin + ".ksk".
std::u16string composeSkinPath();

// The class of layouts for a screen: "P", "PH", "L" or "LH".
const WCHAR* dimensionClass(int screenWidth, int screenHeight);
// 1 for screens at most 400 pixels wide, else 2.
int scaleForScreen(int screenWidth);
