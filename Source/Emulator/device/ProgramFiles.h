// The built-in programs' part of a new device: their Start-menu shortcuts (Contacts and Calendar
// in the Programs folder, Puzzle and Memory in its Games folder) and the sample contacts file,
// which is written only where none exists. The folders must exist.
#pragma once

#include <string>
#include <vector>

// What could not be written; the device works without it.
std::vector<std::string> provisionProgramFiles();
