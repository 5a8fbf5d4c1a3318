// Containers that lie about themselves: sizes and counts running past their class or the
// file, names running past the end, counts far beyond what the bytes hold, nesting deeper
// than the stack, values larger than the caller's area. Each reads as a missing item or a
// failed open, and every file is exactly as long as its bytes.
#include <skin/EBFFile.h>

#include <DeviceTest.h>
#include <EBFBytes.h>

namespace {

using EBFHostileFile = DeviceTest;

const std::string kOne("\x01\0\0\0", 4);
const std::string kTwo("\x02\0\0\0", 4);

}  // namespace

TEST_F(EBFHostileFile, MainClassRunningPastTheFileFailsTheOpen) {
    std::string worked = ebfWorkedLayout();
    writeDeviceFile(u"\\truncated.ebf", worked.substr(0, 40));
    writeDeviceFile(u"\\header-only.ebf", worked.substr(0, 12));
    writeDeviceFile(u"\\empty.ebf", "");
    writeDeviceFile(u"\\name-past.ebf", std::string("\xFFMain", 5));
    for (auto path :
         {u"\\truncated.ebf", u"\\header-only.ebf", u"\\empty.ebf", u"\\name-past.ebf"}) {
        CEBFFile reader;
        EXPECT_FALSE(reader.OpenRead(path));
        EXPECT_EQ(reader.GetChildCount(), 1u);  // only the root frame
        DWORD a = 3;
        reader.Value(u"A", a, DWORD(3));
        EXPECT_EQ(a, 3u);
        EXPECT_TRUE(reader.Close());
    }
}

TEST_F(EBFHostileFile, ChildRunningPastItsClassMakesTheClassMissing) {
    // "Bad" claims 400 payload bytes; the file is long enough after it, its class is not.
    std::string bad = ebfItem("X", 0, 400, kOne);
    std::string sub = ebfItem("Bad", 1, uint32_t(bad.size()), bad);
    std::string main = ebfClass("MainClass", {ebfValue("A", kOne), sub, ebfValue("B", kTwo)});
    writeDeviceFile(u"\\f.ebf", main + std::string(600, '\0'));

    CEBFFile reader;
    ASSERT_TRUE(reader.OpenRead(u"\\f.ebf"));
    EXPECT_FALSE(reader.BeginClass(u"Bad"));
    EXPECT_EQ(reader.GetChildCount(), 3u);
    DWORD a = 0, b = 0;
    reader.Value(u"B", b);
    reader.Value(u"A", a);
    EXPECT_EQ(a, 1u);
    EXPECT_EQ(b, 2u);
}

TEST_F(EBFHostileFile, NameRunningPastItsClassMakesTheClassMissing) {
    // The child's length byte says 200 name bytes; the class holds 5.
    std::string sub = ebfItem("Sub", 1, 5,
                              std::string("\xC8"
                                          "abcd",
                                          5));
    writeDeviceFile(u"\\f.ebf", ebfClass("MainClass", {sub, ebfValue("A", kOne)}));

    CEBFFile reader;
    ASSERT_TRUE(reader.OpenRead(u"\\f.ebf"));
    EXPECT_FALSE(reader.BeginClass(u"Sub"));
    DWORD a = 0;
    reader.Value(u"A", a);
    EXPECT_EQ(a, 1u);
}

TEST_F(EBFHostileFile, HugeCountsNeverSpinASearch) {
    // Two real children, but the count claims four billion of them.
    std::string children = ebfValue("a", kOne) + ebfValue("b", kTwo);
    std::string sub = ebfItem("Sub", 0xFFFFFFFFu, uint32_t(children.size()), children);
    writeDeviceFile(u"\\sub.ebf", ebfClass("MainClass", {sub, ebfValue("A", kOne)}));
    CEBFFile reader;
    ASSERT_TRUE(reader.OpenRead(u"\\sub.ebf"));
    EXPECT_FALSE(reader.BeginClass(u"Sub"));
    DWORD a = 0;
    reader.Value(u"A", a);
    EXPECT_EQ(a, 1u);

    // The same lie in the main class fails the open.
    writeDeviceFile(u"\\main.ebf",
                    ebfItem("MainClass", 0xFFFFFFFFu, uint32_t(children.size()), children));
    CEBFFile mainReader;
    EXPECT_FALSE(mainReader.OpenRead(u"\\main.ebf"));
}

TEST_F(EBFHostileFile, ChildrenThatDoNotFillTheirClassMakeItMissing) {
    std::string two = ebfValue("a", kOne) + ebfValue("b", kTwo);
    // Count 1 while two children fill the size; count 3 while only two are there; count 2
    // with bytes left over after them.
    std::string tooFew = ebfItem("Few", 1, uint32_t(two.size()), two);
    std::string tooMany = ebfItem("Many", 3, uint32_t(two.size()), two);
    std::string leftOver = ebfItem("Over", 2, uint32_t(two.size() + 5), two + "12345");
    std::string good = ebfClass("Good", {ebfValue("a", kOne), ebfValue("b", kTwo)});
    writeDeviceFile(u"\\f.ebf", ebfClass("MainClass", {tooFew, tooMany, leftOver, good}));

    CEBFFile reader;
    ASSERT_TRUE(reader.OpenRead(u"\\f.ebf"));
    EXPECT_FALSE(reader.BeginClass(u"Few"));
    EXPECT_FALSE(reader.BeginClass(u"Many"));
    EXPECT_FALSE(reader.BeginClass(u"Over"));
    ASSERT_TRUE(reader.BeginClass(u"Good"));
    DWORD b = 0;
    reader.Value(u"b", b);
    EXPECT_EQ(b, 2u);
}

TEST_F(EBFHostileFile, NestingDeeperThanTheStackStopsAtTheFiftiethClass) {
    // Fifty classes nested in one another below the root, a value in the innermost.
    std::string item = ebfClass("c", {ebfValue("v", kOne)});
    for (int level = 0; level < 48; ++level)
        item = ebfClass("c", {item});
    writeDeviceFile(u"\\deep.ebf", ebfClass("MainClass", {item}));

    CEBFFile reader;
    ASSERT_TRUE(reader.OpenRead(u"\\deep.ebf"));
    for (int level = 2; level <= 49; ++level)
        ASSERT_TRUE(reader.BeginClass(u"c")) << level;
    EXPECT_FALSE(reader.BeginClass(u"c"));
    EXPECT_EQ(reader.GetChildCount(), 1u);
    // Leaving works all the way up, and the way down again.
    for (int level = 49; level >= 2; --level)
        ASSERT_TRUE(reader.EndClass());
    ASSERT_TRUE(reader.BeginClass(u"c"));
}

TEST_F(EBFHostileFile, ValueLargerThanTheCallersAreaCountsAsMissing) {
    writeDeviceFile(u"\\f.ebf", ebfClass("MainClass", {ebfValue("P", std::string(40, 'p')),
                                                       ebfValue("D", "dd")}));
    CEBFFile reader;
    ASSERT_TRUE(reader.OpenRead(u"\\f.ebf"));
    char area[8] = "unset..";
    EXPECT_EQ(reader.RawValue(u"P", area, sizeof area), 0u);
    EXPECT_FALSE(reader.RawValue(u"P", 0, area, "default", sizeof area));
    EXPECT_EQ(std::string(area), "unset..");
    EXPECT_EQ(reader.RawValue(u"D", area, sizeof area), 2u);
    EXPECT_EQ(std::string(area, 2), "dd");
}

TEST_F(EBFHostileFile, SizesBeyondTheFileAreNeverAllocated) {
    // A value claiming nearly 4 GiB inside a class claiming the same: the open fails and
    // nothing is read or allocated on the header's word.
    std::string huge = ebfItem("P", 0, 0xFFFFFF00u, "tiny");
    writeDeviceFile(u"\\f.ebf",
                    ebfItem("MainClass", 1, uint32_t(huge.size()) + 0xFFFFFF00u - 4, huge));
    CEBFFile reader;
    EXPECT_FALSE(reader.OpenRead(u"\\f.ebf"));
    auto buffer = std::make_unique<BYTE[]>(4);
    BYTE* kept = buffer.get();
    EXPECT_EQ(reader.ReadAlloc(u"P", 4, buffer), 0u);
    EXPECT_EQ(buffer.get(), kept);
    std::u16string text = u"keep";
    reader.StringValue(u"P", text, u"default");
    EXPECT_EQ(text, u"default");

    // A text or allocated read inside a sound class gets exactly the bytes that are there.
    writeDeviceFile(u"\\odd.ebf", ebfClass("MainClass", {ebfValue("T", std::string("a\0b", 3))}));
    CEBFFile oddReader;
    ASSERT_TRUE(oddReader.OpenRead(u"\\odd.ebf"));
    oddReader.StringValue(u"T", text);
    EXPECT_EQ(text, u"a");
    std::unique_ptr<BYTE[]> none;
    EXPECT_EQ(oddReader.ReadAlloc(u"T", 100, none), 3u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(none.get()), 3), std::string("a\0b", 3));
}

TEST_F(EBFHostileFile, EmbeddedFileWhoseDataDisagreesWithItsSizeIsNotExtracted) {
    std::string lying = ebfClass("pic.png", {ebfValue("FileSize", std::string("\x10\0\0\0", 4)),
                                             ebfValue("FileData", "only eight")});
    writeDeviceFile(u"\\f.ebf", ebfClass("MainClass", {lying}));
    CEBFFile reader;
    ASSERT_TRUE(reader.OpenRead(u"\\f.ebf"));
    EXPECT_FALSE(reader.FileItem(u"\\pic.png"));
    EXPECT_FALSE(std::filesystem::exists(hostPath(u"\\pic.png")));
    EXPECT_EQ(reader.GetChildCount(), 1u);
}
