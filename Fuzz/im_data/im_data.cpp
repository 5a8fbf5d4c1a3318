// Input method data blocks from arbitrary bytes, as other programs hand them to a selected input
// method. The first byte chooses GetImData (even) or SetImData (odd); the rest is the block, in
// a buffer of exactly its size, so that any read or write beyond it is caught. Posted commands
// are dispatched to the panel after each block.
#include <FuzzFolders.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "inputmethod/InputMethod.h"

namespace {

MyIInputMethod& selectedInputMethod() {
    static MyIInputMethod* inputMethod = [] {
        startFuzzDevice();
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = u"FuzzSip";
        RegisterClassW(&wc);
        HWND sip = CreateWindowExW(0, u"FuzzSip", u"SIP", WS_POPUP | WS_VISIBLE, 0, 240, 240, 80,
                                   nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        auto* created = new MyIInputMethod();
        if (sip == nullptr || created->Select(sip) != S_OK)
            std::abort();
        return created;
    }();
    return *inputMethod;
}

void dispatchPosted() {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    MyIInputMethod& inputMethod = selectedInputMethod();
    const size_t blockSize = size - 1;
    auto block = std::make_unique<BYTE[]>(blockSize == 0 ? 1 : blockSize);
    std::memcpy(block.get(), data + 1, blockSize);
    void* pointer = blockSize == 0 ? nullptr : block.get();
    if (data[0] % 2 == 0) {
        const HRESULT result = inputMethod.GetImData(static_cast<DWORD>(blockSize), pointer);
        if (result == S_OK && (blockSize != 4 || data[1] != 2 || data[2] != 0)) {
            std::fprintf(stderr, "GetImData accepted a block it must refuse\n");
            std::abort();
        }
    } else {
        inputMethod.SetImData(static_cast<DWORD>(blockSize), pointer);
        dispatchPosted();
    }
    return 0;
}
