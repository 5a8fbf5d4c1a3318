// "kvskin dump": prints a container's item tree, or where and why it is not well formed.
#pragma once

#include <cstdio>
#include <filesystem>

enum class DumpBytes { first16, all };

// Dumps the container at a host path to out (standard output); problems go to err. Returns the
// tool's exit status: 0 for a well-formed container, 1 otherwise.
int dumpContainer(const std::filesystem::path& hostFile, DumpBytes bytes, FILE* out, FILE* err);
