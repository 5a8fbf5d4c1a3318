// The Sip* calls: they check their arguments and pass them to whichever input panel host the
// device has installed.
#include <device/InputPanel.h>
#include <winbase.h>

#include <atomic>

#include "kernel/DeviceReset.h"

namespace {

std::atomic<device::InputPanelHost*> g_host{nullptr};

// A fresh device has no input panel host until its shell installs one.
const bool resetRegistered =
    platform::addResetStep(platform::ResetStage::Windows, [] { g_host.store(nullptr); });

device::InputPanelHost* hostOrFail() {
    device::InputPanelHost* host = g_host.load();
    if (host == nullptr)
        SetLastError(ERROR_NOT_READY);
    return host;
}

bool validInfo(const SIPINFO* info) {
    if (info == nullptr || info->cbSize != sizeof(SIPINFO) ||
        (info->dwImDataSize != 0 && info->pvImData == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return true;
}

}  // namespace

namespace device {

void setInputPanelHost(InputPanelHost* host) {
    g_host.store(host);
}

InputPanelHost* inputPanelHost() {
    return g_host.load();
}

}  // namespace device

BOOL SipGetCurrentIM(CLSID* pClsid) {
    if (pClsid == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto* host = hostOrFail();
    return host != nullptr && host->currentInputMethod(*pClsid);
}

BOOL SipGetInfo(SIPINFO* pSipInfo) {
    if (pSipInfo == nullptr || pSipInfo->cbSize != sizeof(SIPINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto* host = hostOrFail();
    return host != nullptr && host->getInfo(*pSipInfo);
}

BOOL SipSetInfo(SIPINFO* pSipInfo) {
    if (!validInfo(pSipInfo))
        return FALSE;
    auto* host = hostOrFail();
    return host != nullptr && host->setInfo(*pSipInfo);
}

BOOL SipShowIM(DWORD dwFlag) {
    if (dwFlag != SIPF_OFF && dwFlag != SIPF_ON) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto* host = hostOrFail();
    return host != nullptr && host->showInputMethod(dwFlag);
}
