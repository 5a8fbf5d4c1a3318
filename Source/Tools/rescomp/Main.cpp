// rescomp MANIFEST OUTPUT.cpp [DEPFILE]: compiles a module's resources.txt into a C++ source
// with the resources' bytes and the module's KelvoResourceTable(); with DEPFILE also writes the
// list of files read, for the build to know when to run again. Exits 1 with a message naming
// the file and line of the first fault.
#include <cstdio>
#include <fstream>
#include <string>

#include "Manifest.h"
#include "ResourceBuilder.h"
#include "SourceWriter.h"
#include "TextReader.h"

namespace {

std::string escapeForDepfile(const std::string& path) {
    std::string out;
    for (char c : path) {
        if (c == ' ' || c == '#' || c == '\\')
            out.push_back('\\');
        if (c == '$')
            out.push_back('$');
        out.push_back(c);
    }
    return out;
}

// Writes `text` to `path` unless the file already holds exactly that text, so that an
// unchanged table is not recompiled.
bool writeIfChanged(const std::string& path, const std::string& text) {
    {
        std::ifstream old(path, std::ios::binary);
        if (old) {
            std::string current((std::istreambuf_iterator<char>(old)),
                                std::istreambuf_iterator<char>());
            if (current == text)
                return true;
        }
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: rescomp MANIFEST OUTPUT.cpp [DEPFILE]\n");
        return 2;
    }
    const std::string manifest = argv[1];
    const std::string output = argv[2];
    try {
        auto entries = rescomp::readManifest(manifest);
        auto built = rescomp::buildResources(entries);
        if (!writeIfChanged(output, rescomp::resourceSource(built.resources, manifest))) {
            std::fprintf(stderr, "rescomp: cannot write %s\n", output.c_str());
            return 1;
        }
        if (argc == 4) {
            std::string deps = escapeForDepfile(output) + ": " + escapeForDepfile(manifest);
            for (const std::string& input : built.inputs)
                deps += " \\\n  " + escapeForDepfile(input);
            deps += "\n";
            std::ofstream depfile(argv[3], std::ios::binary | std::ios::trunc);
            depfile << deps;
        }
    } catch (const rescomp::CompileError& error) {
        std::fprintf(stderr, "%s\n", error.message.c_str());
        return 1;
    }
    return 0;
}
