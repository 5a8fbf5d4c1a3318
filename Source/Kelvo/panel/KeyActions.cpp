// What a struck key does: characters and key strokes through the host's callback, the
// modifier latches, layout switches with their history, and the hand-over of function keys.
#include <windows.h>

#include "calculator/Calculator.h"
#include "panel/Launcher.h"
#include "panel/MacroStore.h"
#include "panel/Macros.h"
#include "panel/MyPanel.h"
#include "panel/SpecialKeys.h"
#include "panel/TaskSwitcher.h"
#include "skin/SkinLoader.h"

namespace {

constexpr UINT kCharDownFlags = KeyStateDownFlag;
constexpr UINT kCharUpFlags = KeyShiftNoCharacterFlag | KeyStatePrevDownFlag;
constexpr BYTE kVkShift = 0x10;
constexpr BYTE kVkControl = 0x11;
constexpr BYTE kVkDelete = 0x2E;
// The ligature key: it types the four letters of the word it stands for.
constexpr WCHAR kLigatureChar = 0x06E9;
struct CharPair {
    WCHAR ch;
    BYTE vk;
};
constexpr CharPair kLigaturePairs[] = {
    {0x0631, 0x56}, {0x06CC, 0x44}, {0x0627, 0x48}, {0x0644, 0x47}};

// Control turns the Latin letters into the control characters 1 to 26; other letters stay.
WCHAR withControl(WCHAR c) {
    if (c >= u'a' && c <= u'z')
        return static_cast<WCHAR>(c - u'a' + 1);
    if (c >= u'A' && c <= u'Z')
        return static_cast<WCHAR>(c - u'A' + 1);
    return c;
}

}  // namespace

bool CMyPanel::slotActive(int s) const {
    return s >= 1 && s <= kModifierSlots && modSlot[s - 1] != nullptr && latched[s - 1] != 0;
}

void CMyPanel::record(BYTE flags, BYTE vk, WORD ch) {
    if (recordSlot >= 0)
        RecordKeyStroke(*this, KeySeqRecord{flags, vk, ch});
}

void CMyPanel::sendVirtualKeyPair(BYTE vk) {
    if (callback == nullptr)
        return;
    callback->SendVirtualKey(vk, 0);
    callback->SendVirtualKey(vk, KEYEVENTF_KEYUP);
    record(KSR_VKEY | KSR_PRESS, vk, 0);
    record(KSR_VKEY | KSR_RELEASE, vk, 0);
}

void CMyPanel::sendCharacterPairs(const KeyRecord& key) {
    WCHAR c = key.param;
    UINT shiftState = 0;
    BYTE recordFlags = KSR_CHAR;
    if (slotActive(kShiftSlot)) {
        shiftState = KeyShiftAnyShiftFlag;
        recordFlags |= KSR_SHIFT;
    }
    if (slotActive(kControlSlot)) {
        shiftState |= KeyShiftAnyCtrlFlag;
        recordFlags |= KSR_CONTROL;
        if (iswctype(c, _ALPHA | _UPPER | _LOWER))
            c = withControl(c);
    }
    if (callback == nullptr)
        return;
    const CharPair single[] = {{c, key.vk}};
    const CharPair* pairs = c == kLigatureChar ? kLigaturePairs : single;
    const size_t count = c == kLigatureChar ? std::size(kLigaturePairs) : 1;
    for (size_t i = 0; i < count; ++i) {
        // Each call gets its own copies: the host may write through the pointers.
        UINT shiftDown = shiftState, charDown = pairs[i].ch;
        callback->SendCharEvents(pairs[i].vk, shiftState | kCharDownFlags, 1, &shiftDown,
                                 &charDown);
        UINT shiftUp = shiftState, charUp = pairs[i].ch;
        callback->SendCharEvents(pairs[i].vk, kCharUpFlags, 1, &shiftUp, &charUp);
        record(recordFlags | KSR_PRESS, pairs[i].vk, pairs[i].ch);
        record(recordFlags | KSR_RELEASE, pairs[i].vk, pairs[i].ch);
    }
}

void CMyPanel::PressKey() {
    if (pressedKey == nullptr || !layout)
        return;
    // An upward stroke, or a leftward one to a key other than backspace, acts with the key at
    // the same place of the alternate layout.
    if (gesture == kGestureUp || gesture == kGestureLeft) {
        pressedKey = alternateKey(*layout, altLayout.get(), *pressedKey);
        if (pressedKey == nullptr)
            return;
    }

    if (pressedKey->flags & KF_OUTPUT) {
        if (pressedKey->param != 0) {
            sendCharacterPairs(*pressedKey);
        } else if (pressedKey->vk != 0) {
            const BYTE vk = pressedKey->vk;
            // Shift-Delete would be a different command: Delete releases Shift first.
            if (vk == kVkDelete && slotActive(kShiftSlot))
                ToggleModifier(kShiftSlot);
            sendVirtualKeyPair(vk);
        }
    }

    // One-shot modifiers are released by an ordinary key.
    if (pressedKey == nullptr)
        return;
    if (!(pressedKey->flags & KF_NOT_ORDINARY) && (pressedKey->flags & KF_KIND_MASK)) {
        for (int s = 1; s <= kModifierSlots; ++s) {
            KeyRecord* modifier = modSlot[s - 1];
            if (modifier != nullptr && (modifier->flags & KF_ONESHOT) && latched[s - 1]) {
                ToggleModifier(s);
                if (pressedKey == nullptr)
                    return;
            }
        }
    }

    // The key's own slot. Only slots 1 to 10 exist, and only one the current layout has a key
    // in: a key of the alternate layout may carry a slot the current layout lacks.
    if (pressedKey == nullptr)
        return;
    if (pressedKey->hasModifierSlot() && (pressedKey->flags & KF_KIND_MASK) &&
        modSlot[pressedKey->slot() - 1] != nullptr) {
        ToggleModifier(pressedKey->slot());
    }

    if (pressedKey == nullptr)
        return;
    const WORD flags = pressedKey->flags;
    if (flags & KF_BACK) {
        SwitchLayout(-1);
    } else if (flags & KF_GOTO) {
        SwitchLayout(pressedKey->param & 0xFF);
    } else if (flags & KF_CALC) {
        CalcKey(*this);
    } else if (flags & KF_TASKS) {
        OnTaskKey(*this);
    } else if (flags & KF_MACRO) {
        OnMacroKey(*this);
    } else if (flags & KF_LAUNCH) {
        OnSpecialKey(*this);
    }
}

void CMyPanel::ToggleModifier(int s) {
    if (s < 1 || s > kModifierSlots || modSlot[s - 1] == nullptr)
        return;
    const KeyRecord modifier = *modSlot[s - 1];
    latched[s - 1] = latched[s - 1] ? 0 : 1;
    if (modifier.vk != 0 && callback != nullptr) {
        const bool nowLatched = latched[s - 1] != 0;
        callback->SendVirtualKey(modifier.vk, nowLatched ? 0 : KEYEVENTF_KEYUP);
        modifierKeyDown[s - 1] = nowLatched ? modifier.vk : 0;
        record(KSR_VKEY | (nowLatched ? KSR_PRESS : KSR_RELEASE), modifier.vk, 0);
    }
    if (modifier.flags & KF_GOTO) {
        SwitchLayout(modifier.param & 0xFF);
    } else if (modifier.flags & KF_BACK) {
        SwitchLayout(-1);
    }
}

void CMyPanel::releaseModifierKey(BYTE vk) {
    if (callback != nullptr) {
        callback->SendVirtualKey(vk, KEYEVENTF_KEYUP);
        record(KSR_VKEY | KSR_RELEASE, vk, 0);
    }
    for (BYTE& down : modifierKeyDown)
        if (down == vk)
            down = 0;
}

void CMyPanel::releaseModifierKeys() {
    for (const BYTE vk : modifierKeyDown)
        if (vk != 0)
            releaseModifierKey(vk);
}

void CMyPanel::SwitchLayout(int n) {
    bool shiftDown = slotActive(kShiftSlot);
    bool ctrlDown = slotActive(kControlSlot);
    const WORD leaving = layout ? layout->flags : 0;
    if (leaving & LF_RELEASE_ON_LEAVE) {
        if (shiftDown)
            releaseModifierKey(kVkShift);
        shiftDown = false;
        if (ctrlDown)
            releaseModifierKey(kVkControl);
        ctrlDown = false;
        // Every latch goes: the other modifiers the application holds down go up as well.
        releaseModifierKeys();
    }
    const auto shownSlots = modSlot;
    const auto shownHistory = layoutHistory;
    modSlot.fill(nullptr);
    if (leaving & LF_RELEASE_ON_LEAVE)
        latched.fill(0);

    int target = 0;
    if (n == -1) {
        target = layoutHistory[0];
        for (int i = 0; i + 1 < kLayoutHistoryDepth; ++i)
            layoutHistory[i] = layoutHistory[i + 1];
        layoutHistory[kLayoutHistoryDepth - 1] = 0;
    } else {
        for (int i = kLayoutHistoryDepth - 1; i > 0; --i)
            layoutHistory[i] = layoutHistory[i - 1];
        layoutHistory[0] = layout ? layout->index : 0;
        target = n;
    }

    if (loadLayout(*this, target, IfUnusable::KeepShown) == LayoutShown::Kept) {
        // The layout asked for cannot be shown: the one on show stays as it was.
        modSlot = shownSlots;
        layoutHistory = shownHistory;
        pressedKey = nullptr;
        MessageBeep(MB_ICONASTERISK);
        return;
    }
    pressedKey = nullptr;

    const WORD entering = layout ? layout->flags : 0;
    if (entering & LF_RELEASE_ON_ENTER) {
        if (shiftDown)
            releaseModifierKey(kVkShift);
        if (ctrlDown)
            releaseModifierKey(kVkControl);
        releaseModifierKeys();
        latched.fill(0);
    }
    if (entering & LF_TASKS)
        RefreshTaskList(*this);
    if ((entering & LF_MACROS) && recordSlot == -1)
        LoadMacros();
    if (entering & LF_LAUNCHER)
        RefreshLauncher(*this);
    fitToLayout();
    if (m_hWnd != nullptr)
        Invalidate(FALSE);
}
