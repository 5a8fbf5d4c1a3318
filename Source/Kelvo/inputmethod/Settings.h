// The settings store: the registry key of the keyboard's settings, the general settings (key
// repeat and gestures) with their process-wide copies, and the screen measurement.
#pragma once

#include <windows.h>

inline constexpr const WCHAR* kSettingsKey = u"SOFTWARE\\Tirvan\\Kelvo";

inline constexpr LONG kDefaultRepeatDelay = 500;
inline constexpr LONG kDefaultRepeatPeriod = 50;
inline constexpr LONG kDefaultEnableGestures = 1;

extern int32_t g_repeatDelay;
extern int32_t g_repeatPeriod;
extern int32_t g_enableGestures;
extern int32_t g_screenWidth;
extern int32_t g_screenHeight;

// Reads "RepeatDelay", "RepeatPeriod" and "EnableGestures"; a missing key leaves the globals,
// a missing or malformed value gives its default.
void LoadSettings();
// Writes the three globals as REG_DWORD values, creating the key.
void SaveSettings();
// Writes the current skin name as "CurSkin" (its characters, no terminator).
void SaveCurrentSkin();
// Sets g_screenWidth and g_screenHeight from the screen's device context.
void MeasureScreen();
