// How the device is put back as it starts (device/Reset.h): each part of the platform that
// keeps device-wide state registers, beside that state, a step that brings it back.
#pragma once

#include <functional>

namespace platform {

// Steps run stage by stage, so that a later stage finds nothing that still uses what it
// clears: windows and everything tied to them first, then the libraries whose code they ran,
// then the device's settings and tables.
enum class ResetStage { Windows, Libraries, Device };

// Registers `step` to run at every device reset. Returns true, so that a file can register
// from a namespace-scope initializer.
bool addResetStep(ResetStage stage, std::function<void()> step);

}  // namespace platform
