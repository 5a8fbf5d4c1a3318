// Typing a text through the host's callback, as macros and the calculator's Type key do: the
// host turns strings into characters, but a space must arrive as a key so that applications
// that act on the space key (word completion, for one) see it.
#include <oleauto.h>

#include "panel/Macros.h"
#include "panel/MyPanel.h"

namespace {

constexpr UINT kSpaceVk = 0x20;
constexpr UINT kKeyPressFlags = 0x80;
constexpr UINT kKeyReleaseFlags = 0x10040;

void sendSpace(IIMCallback& callback) {
    UINT shift = 0;
    UINT ch = u' ';
    callback.SendCharEvents(kSpaceVk, kKeyPressFlags, 1, &shift, &ch);
    callback.SendCharEvents(kSpaceVk, kKeyReleaseFlags, 1, &shift, &ch);
}

}  // namespace

void SendMacroText(CMyPanel& panel, std::u16string_view text) {
    if (panel.callback == nullptr)
        return;
    size_t runStart = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != u' ')
            continue;
        if (i > runStart) {
            // The host reads exactly the count given, so the run need not be terminated.
            auto* run = const_cast<OLECHAR*>(text.data() + runStart);
            panel.callback->SendString(run, static_cast<DWORD>(i - runStart));
        }
        if (i < text.size())
            sendSpace(*panel.callback);
        runStart = i + 1;
    }
}
