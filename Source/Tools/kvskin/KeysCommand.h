// "kvskin keys": a layout's key table as tab-separated lines, for tests, scripts and authors.
#pragma once

#include <cstdio>
#include <filesystem>

#include "SkinFileAccess.h"

// Prints layout n of the class for `screen` from the host skin file to out: lines starting
// with "#" for the layout's class, size, flags, alternate and gesture keys, then the header
// "row col flags param vk left top right bottom" and one line per key (decimal numbers; flags
// and param also in hex). Returns the tool's exit status (0, or 1 with the problem on err).
int keysCommand(const std::filesystem::path& skinFile, ScreenSize screen, int n, FILE* out,
                FILE* err);
