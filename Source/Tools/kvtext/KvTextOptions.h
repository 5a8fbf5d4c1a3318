// kvtext's command line: what to print for each paragraph and how wide its lines may be.
#pragma once

#include <string>
#include <vector>

namespace kvtext {

struct Options {
    int width = 0;  // pixels; 0 means no wrapping
    int fontHeight = 14;
    bool hex = false;
    bool levels = false;
    bool maps = false;
    bool base = false;
    bool help = false;
};

enum class ParseResult { Ok, Error };

// Fills `options` from the arguments after the program name; on an error `message` says why.
ParseResult parseOptions(const std::vector<std::string>& args, Options& options,
                         std::string& message);

extern const char* const kUsage;

}  // namespace kvtext
