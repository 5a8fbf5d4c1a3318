// The resource compiler on faulty sources: it fails, names the file and line of the fault, and
// writes no table; on good sources it writes one and the files it read for the build.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class Workspace {
public:
    Workspace() {
        folder_ = fs::temp_directory_path() /
                  ("rescomp-test-" + std::to_string(getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    ~Workspace() { fs::remove_all(folder_); }

    fs::path write(const std::string& name, const std::string& text) {
        std::ofstream(folder_ / name, std::ios::binary) << text;
        return folder_ / name;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(folder_ / name, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    bool exists(const std::string& name) const { return fs::exists(folder_ / name); }

    // Runs the compiler on resources.txt; returns its exit status and its messages.
    int compile(std::string& messages) {
        const std::string command =
            std::string(RESCOMP) + " '" + (folder_ / "resources.txt").string() + "' '" +
            (folder_ / "out.cpp").string() + "' '" + (folder_ / "out.d").string() + "' 2>'" +
            (folder_ / "messages").string() + "'";
        int status = std::system(command.c_str());
        messages = read("messages");
        return WEXITSTATUS(status);
    }

private:
    fs::path folder_;
};

}  // namespace

TEST(ResourceCompiler, FaultyManifestsFailNamingTheLine) {
    const std::pair<std::string, std::string> cases[] = {
        {"RCDATA 1 data.bin\nPICTURE 2 data.bin\n",
         "resources.txt:2: unknown resource kind PICTURE"},
        {"\n\nSTRING 5 \"unterminated\n", "resources.txt:3: unterminated string"},
        {"STRING 5 \"bad \\q escape\"\n", "resources.txt:1: unknown escape \\q"},
        {"STRING 70000 \"x\"\n", "resources.txt:1: resource number out of range"},
        {"STRING 5 \"a\"\nSTRING 5 \"b\"\n", "resources.txt:2: string 5 is also at"},
        {"RCDATA 7 data.bin\nRCDATA 7 data.bin\n", "resources.txt:2: the same resource as at"},
        {"RCDATA 7 missing.bin\n", "resources.txt:1: cannot read"},
        {"BITMAP 7 data.bin\n", "resources.txt:1: not a BMP file"},
        {"ICON 7 data.bin\n", "resources.txt:1: not an icon file"},
        {"CUSTOM 12 1 data.bin\n", "a CUSTOM type is a name"},
        {"RCDATA 7\n", "resources.txt:1: expected RCDATA NAME FILE"},
    };
    for (const auto& [manifest, expected] : cases) {
        Workspace space;
        space.write("data.bin", "abc");
        space.write("resources.txt", manifest);
        std::string messages;
        EXPECT_EQ(space.compile(messages), 1) << manifest;
        EXPECT_NE(messages.find(expected), std::string::npos) << manifest << "\n" << messages;
        EXPECT_FALSE(space.exists("out.cpp")) << manifest;
    }
}

TEST(ResourceCompiler, FaultyDialogSourcesFailNamingTheLine) {
    const std::pair<std::string, std::string> cases[] = {
        {"CAPTION \"x\"\n", "page.dlg:1: a dialog source starts with DIALOG"},
        {"DIALOG 0 0 10 10\nSTYLE WS_CHILD | WS_NOSUCH\n", "page.dlg:2: unknown style WS_NOSUCH"},
        {"DIALOG 0 0 10 10\nSTYLE WS_CHILD |\n", "page.dlg:2: style expression ends with '|'"},
        {"DIALOG 0 0 10 10\nSTYLE WS_CHILD WS_VISIBLE\n",
         "page.dlg:2: expected '|' between styles"},
        {"DIALOG 0 0 10 10\nITEM \"a\"\n", "page.dlg:2: ITEM before any CONTROL"},
        {"DIALOG 0 0 10 10\nCONTROL STATIC 1 \"a\" 1 2 3\n", "page.dlg:2: expected a number"},
        {"DIALOG 0 0 10 40000\n", "page.dlg:1: expected a number, found 40000"},
        {"DIALOG 0 0 10 10\nDIALOG 0 0 10 10\n", "page.dlg:2: a second DIALOG line"},
        {"DIALOG 0 0 10 10\nCAPTION \"a\" extra\n", "page.dlg:2: unexpected extra"},
        {"", "page.dlg: empty dialog source"},
    };
    for (const auto& [source, expected] : cases) {
        Workspace space;
        space.write("page.dlg", source);
        space.write("resources.txt", "DIALOG 100 page.dlg\n");
        std::string messages;
        EXPECT_EQ(space.compile(messages), 1) << source;
        EXPECT_NE(messages.find(expected), std::string::npos) << source << "\n" << messages;
    }
}

TEST(ResourceCompiler, GoodManifestWritesTheTableAndItsDependencies) {
    Workspace space;
    space.write("data.bin", "abc");
    // Files saved by Windows editors: a byte order mark and CRLF line ends.
    space.write("page.dlg",
                "\xEF\xBB\xBF"
                "DIALOG 0 0 10 10  # a comment\r\n");
    space.write("resources.txt",
                "\xEF\xBB\xBF# resources\r\nRCDATA 7 data.bin\r\n"
                "DIALOG \"PAGE\" page.dlg\r\nSTRING 3 \"three\"\r\n");
    std::string messages;
    ASSERT_EQ(space.compile(messages), 0) << messages;
    const std::string source = space.read("out.cpp");
    EXPECT_NE(source.find("KelvoResourceTable"), std::string::npos);
    EXPECT_NE(source.find("3u, kEntries"), std::string::npos);  // rcdata, dialog, string block
    const std::string deps = space.read("out.d");
    EXPECT_NE(deps.find("resources.txt"), std::string::npos);
    EXPECT_NE(deps.find("data.bin"), std::string::npos);
    EXPECT_NE(deps.find("page.dlg"), std::string::npos);
}
