// "kvskin check": loads a skin file as the panel would and reports everything that would make
// a layout unusable or a key misbehave, each problem with its class, layout, row and column.
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "SkinFileAccess.h"

// Checks the skin file at a device path: every dimension class (or only the one for
// `screen`), every layout in it, every key. Returns the problems found, in file order.
std::vector<SkinProblem> checkSkin(const std::u16string& devicePath,
                                   const std::optional<ScreenSize>& screen);

// Checks a host skin file, printing each problem on out. Returns the tool's exit status: 0
// when there is none, 1 otherwise.
int checkCommand(const std::filesystem::path& skinFile, const std::optional<ScreenSize>& screen,
                 FILE* out, FILE* err);
