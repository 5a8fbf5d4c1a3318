// The device's screen as the emulator and tests see it: its size and dots per inch, a copy of
// its pixels for front ends, and a PNG screenshot. Programs draw on it through GetDC(NULL) and
// the window manager's device contexts.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace device {

// Resizes the screen (240 x 320 when the device starts). Rotation is a size swap done by the
// caller. The new screen is black; whoever owns the windows repaints them. Sizes outside
// 1..4096 are refused.
bool setScreenSize(int width, int height);
int screenWidth();
int screenHeight();

// Dots per inch reported by GetDeviceCaps(LOGPIXELSX/LOGPIXELSY). 0 (the default) means
// automatic: 192 when both sides of the screen are at least 480 pixels, else 96.
void setScreenDpi(int dpi);
int screenDpi();

// The screen's pixels, top row first, tightly packed, each 0x00RRGGBB.
struct ScreenImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};
ScreenImage copyScreen();

// Grows whenever something is drawn on the screen: front ends redraw when it changes.
uint64_t screenVersion();

// Writes the screen as an 8-bit RGB PNG file. False (and nothing left behind) on failure.
bool saveScreenPng(const std::filesystem::path& path);

}  // namespace device
