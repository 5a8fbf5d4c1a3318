// The fresh device every case starts on (FreshDevice.cpp), and what the fixture shares of it:
// how long processes get to end, and how running ones are named in a failure.
#pragma once

#include <string>

namespace testsupport {

// How long (real time) the processes of a case get to end after it.
inline constexpr unsigned kProcessEndLimitMs = 10000;
// The programs of the device's running processes, for messages ("\Windows\Notes.exe, ...").
std::string runningPrograms();

}  // namespace testsupport
