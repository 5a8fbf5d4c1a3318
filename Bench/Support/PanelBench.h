// What the keyboard's benchmarks share: a device of their own with the keyboard's panel in a
// test input panel host, loading a skin the benchmark builds, and layout pictures to build it
// with.
#pragma once

#include <device/Clock.h>
#include <device/FileSystem.h>
#include <device/PngEncoder.h>
#include <device/Scheduler.h>
#include <device/Screen.h>
#include <stdlib.h>

#include <TestInputPanelHost.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "SkinBuilder.h"
#include "Timing.h"
#include "panel/MyPanel.h"

// A layout picture with some structure, PNG-encoded: black lines every `cell` pixels over
// colour ramps across the picture; `tint` shifts the red ramp, for a second picture.
inline std::string gridPicturePng(int width, int height, int cell, uint8_t tint = 0) {
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool edge = x % cell == 0 || y % cell == 0;
            const uint32_t red = static_cast<uint8_t>(x * 240 / width + tint);
            const uint32_t green = static_cast<uint8_t>(y * 240 / height);
            const uint32_t blue = static_cast<uint8_t>(200 - x * 100 / width);
            pixels[static_cast<size_t>(y) * width + x] =
                edge ? 0 : (red << 16) | (green << 8) | blue;
        }
    }
    std::vector<uint8_t> png;
    if (!device::encodePng(width, height, pixels, device::PngColours::Rgb, png))
        std::abort();
    return std::string(png.begin(), png.end());
}

// A device on a fresh folder (removed at the end) with the virtual clock at zero and the
// calling thread enrolled, a screen of `screen`, a SIP window `panelHeight` pixels high, and
// the panel created in it from `skin`, written as the device's "\Kelvo.ksk".
class PanelBenchDevice {
public:
    PanelBenchDevice(const skintest::Skin& skin, int panelHeight, SIZE screen) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kelvo-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        m_root = pattern;
        device::setDeviceRoot(m_root);
        device::useVirtualClock(0);
        device::enrolCurrentThread();
        device::setScreenSize(screen.cx, screen.cy);
        m_host = std::make_unique<TestInputPanelHost>(panelHeight);
        skintest::writeSkin(u"\\Kelvo.ksk", skin);
        m_panel = std::make_unique<CMyPanel>();
        m_panel->CreatePanelWindow(m_host->sipWindow());
        m_panel->callback = &m_host->callback();
    }
    ~PanelBenchDevice() {
        m_panel.reset();
        m_host.reset();
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }
    PanelBenchDevice(const PanelBenchDevice&) = delete;
    PanelBenchDevice& operator=(const PanelBenchDevice&) = delete;

    TestInputPanelHost& host() { return *m_host; }
    CMyPanel& panel() { return *m_panel; }

private:
    std::filesystem::path m_root;
    std::unique_ptr<TestInputPanelHost> m_host;
    std::unique_ptr<CMyPanel> m_panel;
};
