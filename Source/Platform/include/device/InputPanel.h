// The device's input panel host as the Sip* calls reach it: the emulator's shell and the test
// host install one; without one the calls fail with ERROR_NOT_READY.
#pragma once

#include "../sip.h"

namespace device {

class InputPanelHost {
public:
    virtual ~InputPanelHost() = default;
    virtual bool currentInputMethod(CLSID& clsid) = 0;
    virtual bool getInfo(SIPINFO& info) = 0;
    // info.cbSize has been checked; the data block, if any, is the caller's until this returns.
    virtual bool setInfo(const SIPINFO& info) = 0;
    virtual bool showInputMethod(DWORD flags) = 0;
};

// Installs the host (null removes it). The host must outlive its installation.
void setInputPanelHost(InputPanelHost* host);
InputPanelHost* inputPanelHost();

}  // namespace device
