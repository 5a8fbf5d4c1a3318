// Plays the built-in demo on a running device: builds the demo script for the device's skin
// and screen, runs it, then tells what Notes holds and where the screenshots are.
#pragma once

#include <filesystem>
#include <ostream>

class Emulator;

// The runner's exit status (2 also when the demo cannot be built for this skin).
int runDemo(Emulator& emulator, const std::filesystem::path& outFolder, std::ostream& out,
            std::ostream& errors);
