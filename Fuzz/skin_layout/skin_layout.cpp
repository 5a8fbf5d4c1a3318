// Skin layouts from arbitrary bytes. The first byte chooses the reader: 0 gives the rest to the
// layout data reader; anything else stores the rest as the current skin file and loads layout
// 0, a second layout and then switches to a third into a panel. Whatever is read must keep the
// layout's invariants: at most 6 rows of 30 keys, each key knowing its place, gesture keys
// inside the table, and a layout on show that is the message face or can be shown.
#include <device/Clock.h>
#include <device/FileSystem.h>
#include <device/Scheduler.h>

#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "panel/MyPanel.h"
#include "skin/LayoutData.h"
#include "skin/SkinLoader.h"

namespace {

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken layout: %s\n", what);
        std::abort();
    }
}

bool inside(const SkinLayout& layout, const KeyRecord* key) {
    return key == nullptr ||
           (key >= &layout.keys[0][0] && key < &layout.keys[0][0] + kMaxRows * kMaxKeysPerRow);
}

void checkLayout(SkinLayout& layout) {
    check(layout.rowCount >= 0 && layout.rowCount <= kMaxRows, "row count");
    for (int r = 0; r < layout.rowCount; ++r) {
        check(layout.rowKeyCount[r] <= kMaxKeysPerRow, "key count");
        for (int k = 0; k < layout.rowKeyCount[r]; ++k)
            check(layout.keys[r][k].row == r && layout.keys[r][k].col == k, "key place");
    }
    check(inside(layout, layout.downKey) && inside(layout, layout.rightKey) &&
              inside(layout, layout.leftKey),
          "gesture key");
    for (int y = -5; y < 100; y += 7)
        for (int x = -5; x < 260; x += 11)
            check(inside(layout, layout.keyAt(x, y)), "hit test");
}

// HKCR entry of the imaging factory, as the device is provisioned.
void provisionImaging() {
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT,
                        u"CLSID\\{327ABDA8-072B-11D3-9D7B-0000F81EF32E}\\InprocServer32", 0,
                        nullptr, 0, 0, nullptr, &key, &disposition) != ERROR_SUCCESS)
        return;
    const WCHAR library[] = u"imaging.dll";
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(library),
                   sizeof(library));
    RegCloseKey(key);
}

const std::filesystem::path& deviceRoot() {
    static const std::filesystem::path root = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kelvo-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        device::setDeviceRoot(pattern);
        device::useVirtualClock(0);
        device::enrolCurrentThread();
        provisionImaging();
        return std::filesystem::path(pattern);
    }();
    return root;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    if (data[0] == 0) {
        auto layout = std::make_unique<SkinLayout>();
        KeyRecord* modSlot[kModifierSlots] = {};
        if (parseLayoutData(data + 1, size - 1, *layout, modSlot) == LayoutDataResult::Ok) {
            checkLayout(*layout);
            for (KeyRecord* key : modSlot)
                check(inside(*layout, key), "modifier key");
        }
        return 0;
    }
    std::ofstream(deviceRoot() / "fuzz.ksk", std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
    CMyPanel panel;
    panel.skinPath = u"\\fuzz.ksk";
    loadLayout(panel, 0);
    loadLayout(panel, data[0]);
    // A switch: the layout on show stays when the one asked for cannot be shown.
    loadLayout(panel, data[0] / 2, IfUnusable::KeepShown);
    if (panel.layout) {
        checkLayout(*panel.layout);
        check((panel.layout->flags & LF_MESSAGE) || panel.layout->canBeShown(), "usable layout");
    }
    if (panel.altLayout)
        checkLayout(*panel.altLayout);
    for (KeyRecord* key : panel.modSlot)
        check(key == nullptr || inside(*panel.layout, key), "modifier key");
    return 0;
}
