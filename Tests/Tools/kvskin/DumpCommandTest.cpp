// Runs the built kvskin tool on containers the test writes and checks what it prints and how
// it exits: the tree of a good file, the broken item of a bad one, usage errors.
#include <DeviceTest.h>
#include <EBFBytes.h>

#include <sys/wait.h>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>

namespace {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string readHostFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class KvskinDump : public DeviceTest {
protected:
    // Writes a container into the "skins" folder of the test's root, returning its host path.
    std::string container(const std::string& name, const std::string& bytes) {
        std::u16string devicePath = u"\\skins\\" + std::u16string(name.begin(), name.end());
        writeDeviceFile(devicePath, bytes);
        return hostPath(devicePath).string();
    }

    ToolRun run(const std::string& arguments) {
        auto out = m_root / "out.txt";
        auto err = m_root / "err.txt";
        std::string command = std::string("'") + KVSKIN_PATH + "' " + arguments + " >'" +
                              out.string() + "' 2>'" + err.string() + "'";
        int raw = std::system(command.c_str());
        ToolRun result;
        result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        result.out = readHostFile(out);
        result.err = readHostFile(err);
        return result;
    }

    std::set<std::string> skinsFolder() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_root / "skins"))
            names.insert(entry.path().filename().string());
        return names;
    }
};

std::string shellQuoted(const std::string& path) {
    return "'" + path + "'";
}

}  // namespace

TEST_F(KvskinDump, WorkedLayoutPrintsItsTreeAndTouchesNothing) {
    std::string file = container("Worked.ebf", ebfWorkedLayout());
    auto before = skinsFolder();
    ToolRun result = run("dump " + shellQuoted(file));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out,
              "MainClass (class, 2 items, 28 bytes)\n"
              "  A (value, 4 bytes) 01 00 00 00\n"
              "  B (value, 4 bytes) 78 00 79 00\n");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(skinsFolder(), before);
}

TEST_F(KvskinDump, NestedClassesIndentAndFullPrintsEveryByte) {
    std::string picture;
    for (int i = 0; i < 20; ++i)
        picture += static_cast<char>(0xE0 + i);
    std::string bytes =
        ebfClass("KELVO_SKIN",
                 {ebfClass("P", {ebfClass("0", {ebfValue("P", picture), ebfValue("D", "")})})});
    std::string file = container("nested.ksk", bytes);
    std::string first16 = " E0 E1 E2 E3 E4 E5 E6 E7 E8 E9 EA EB EC ED EE EF";
    std::string tree =
        "KELVO_SKIN (class, 1 item, 60 bytes)\n"
        "  P (class, 1 item, 50 bytes)\n"
        "    0 (class, 2 items, 40 bytes)\n"
        "      P (value, 20 bytes)";
    std::string tail = "\n      D (value, 0 bytes)\n";

    ToolRun brief = run("dump " + shellQuoted(file));
    EXPECT_EQ(brief.status, 0);
    EXPECT_EQ(brief.out, tree + first16 + tail);

    ToolRun full = run("dump --full " + shellQuoted(file));
    EXPECT_EQ(full.status, 0);
    EXPECT_EQ(full.out, tree + first16 + " F0 F1 F2 F3" + tail);
}

TEST_F(KvskinDump, BrokenFilesNameTheBrokenItemAndExitOne) {
    std::string worked = ebfWorkedLayout();
    ToolRun truncated =
        run("dump " + shellQuoted(container("truncated.ebf", worked.substr(0, 40))));
    EXPECT_EQ(truncated.status, 1);
    EXPECT_NE(truncated.err.find("MainClass at offset 0"), std::string::npos) << truncated.err;

    // B claims 6 bytes where its class holds 4.
    std::string badB = worked;
    badB[32 + 6] = 6;
    ToolRun inner = run("dump " + shellQuoted(container("badB.ebf", badB)));
    EXPECT_EQ(inner.status, 1);
    EXPECT_NE(inner.err.find("MainClass/B at offset 32"), std::string::npos) << inner.err;
    EXPECT_EQ(inner.out,
              "MainClass (class, 2 items, 28 bytes)\n  A (value, 4 bytes) 01 00 00 00\n");

    // The count claims a third item the size does not hold; trailing bytes after the class.
    std::string threeItems = worked;
    threeItems[10] = 3;
    ToolRun count = run("dump " + shellQuoted(container("count.ebf", threeItems)));
    EXPECT_EQ(count.status, 1);
    EXPECT_NE(count.err.find("MainClass at offset 0: it claims 3 items but only 2 fit"),
              std::string::npos)
        << count.err;
    ToolRun trailing = run("dump " + shellQuoted(container("trailing.ebf", worked + "xyz")));
    EXPECT_EQ(trailing.status, 1);
    EXPECT_NE(trailing.err.find("3 bytes follow it"), std::string::npos) << trailing.err;

    ToolRun missing = run("dump " + shellQuoted((m_root / "skins" / "absent.ebf").string()));
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("cannot open"), std::string::npos);
}

TEST_F(KvskinDump, UsageErrorsExitTwoAndHelpExitsZero) {
    std::string file = container("Worked.ebf", ebfWorkedLayout());
    for (const std::string& arguments : std::vector<std::string>{
             "", "inspect " + shellQuoted(file), "dump", "dump --fast " + shellQuoted(file),
             "dump " + shellQuoted(file) + " " + shellQuoted(file)}) {
        ToolRun result = run(arguments);
        EXPECT_EQ(result.status, 2) << arguments;
        EXPECT_NE(result.err.find("usage: kvskin dump FILE [--full]"), std::string::npos)
            << arguments;
        EXPECT_EQ(result.out, "") << arguments;
    }
    ToolRun help = run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage: kvskin dump FILE [--full]"), std::string::npos);
    EXPECT_EQ(help.err, "");
}

TEST_F(KvskinDump, ClassesNestedDeeperThanTheReaderCanOpenAreBroken) {
    // Classes "c" nested inside the main class, a value in the innermost.
    auto nested = [](int classes) {
        std::string item = ebfClass("c", {ebfValue("v", "\x01")});
        for (int level = 1; level < classes; ++level)
            item = ebfClass("c", {item});
        return ebfClass("MainClass", {item});
    };
    ToolRun deepest = run("dump " + shellQuoted(container("48.ebf", nested(48))));
    EXPECT_EQ(deepest.status, 0) << deepest.err;
    EXPECT_NE(deepest.out.find(std::string(2 * 49, ' ') + "v (value, 1 byte) 01\n"),
              std::string::npos);

    ToolRun tooDeep = run("dump " + shellQuoted(container("49.ebf", nested(49))));
    EXPECT_EQ(tooDeep.status, 1);
    std::string path = "MainClass";
    for (int level = 0; level < 49; ++level)
        path += "/c";
    EXPECT_NE(tooDeep.err.find("broken item " + path + " at offset"), std::string::npos)
        << tooDeep.err;
}
