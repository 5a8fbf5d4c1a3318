// "kvskin render": a layout's picture as a PNG file, as the panel decodes it; with the key
// rectangles outlined and numbered by row and column for authors.
#pragma once

#include <cstdio>
#include <filesystem>

#include "SkinFileAccess.h"

enum class KeyOutlines { Hidden, Shown };

// Renders layout n of the class for `screen` from the host skin file into the host file
// outFile. Returns the tool's exit status (0, or 1 with the problem on err).
int renderCommand(const std::filesystem::path& skinFile, ScreenSize screen, int n,
                  const std::filesystem::path& outFile, KeyOutlines outlines, FILE* err);
