// "kvskin build": compiles a skin source folder (skin.json and the pictures it names) into a
// skin file. The same source gives the same bytes every time.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "skin/SkinWriter.h"

// Compiles skin.json text into the contents of a skin file; pictures named by the source are
// read from sourceDir. False with a message naming the file, the layout and the key.
bool buildSkinContents(std::string_view json, const std::string& fileName,
                       const std::filesystem::path& sourceDir, SkinFileContents& skin,
                       std::string& error);

// Builds sourceDir/skin.json into the host file outFile. Returns the tool's exit status (0, or
// 1 with the problem on err).
int buildCommand(const std::filesystem::path& sourceDir, const std::filesystem::path& outFile,
                 FILE* err);
