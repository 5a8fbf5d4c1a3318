// Writing and reading well-formed containers: the exact bytes written, the search order with
// its wrap-around, value sizes and defaults, nested classes, texts, blocks and embedded files.
#include <skin/EBFFile.h>

#include <DeviceTest.h>
#include <EBFBytes.h>

#include <fstream>
#include <iterator>

namespace {

using EBFFile = DeviceTest;

std::string readHostFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST_F(EBFFile, WorkedLayoutIsWrittenByteForByteAndReadsBack) {
    CEBFFile writer;
    ASSERT_TRUE(writer.OpenWrite(u"\\worked.ebf"));
    DWORD a = 1;
    writer.Value(u"A", a);
    std::u16string b = u"xy";
    writer.StringValue(u"B", b);
    ASSERT_TRUE(writer.Close());

    std::string expected = std::string("\x09MainClass\x02\0\0\0\x1C\0\0\0", 18) +
                           std::string("\x01\x41\0\0\0\0\x04\0\0\0\x01\0\0\0", 14) +
                           std::string("\x01\x42\0\0\0\0\x04\0\0\0\x78\0\x79\0", 14);
    ASSERT_EQ(expected.size(), 46u);
    EXPECT_EQ(readHostFile(hostPath(u"\\worked.ebf")), expected);

    CEBFFile reader;
    ASSERT_TRUE(reader.OpenRead(u"\\worked.ebf"));
    EXPECT_EQ(reader.GetChildCount(), 2u);
    DWORD readA = 0;
    reader.Value(u"A", readA, DWORD(7));
    EXPECT_EQ(readA, 1u);
    std::u16string readB;
    reader.StringValue(u"B", readB, u"none");
    EXPECT_EQ(readB, u"xy");
    EXPECT_TRUE(reader.Close());
}

TEST_F(EBFFile, ValuesAreFoundInAnyOrderAndTheSameValueTwiceInARow) {
    CEBFFile writer;
    ASSERT_TRUE(writer.OpenWrite(u"\\order.ebf"));
    for (DWORD i = 0; i < 5; ++i) {
        DWORD v = 100 + i;
        writer.Value(std::u16string(1, char16_t(u'a' + i)), v);
    }
    ASSERT_TRUE(writer.Close());

    CEBFFile reader;
    ASSERT_TRUE(reader.OpenRead(u"\\order.ebf"));
    // Backwards, repeated, a missing one between, then forwards across the wrap.
    for (char16_t name : std::u16string(u"edcbbaxeaacz")) {
        DWORD v = 0;
        reader.Value(std::u16string(1, name), v, DWORD(1));
        DWORD expected = (name >= u'a' && name <= u'e') ? 100 + (name - u'a') : 1;
        EXPECT_EQ(v, expected) << char(name);
    }
}

TEST_F(EBFFile, ValueOfAnotherSizeOrAClassYieldsTheDefault) {
    CEBFFile writer;
    ASSERT_TRUE(writer.OpenWrite(u"\\sizes.ebf"));
    WORD shortValue = 0x1234;
    writer.Value(u"S", shortValue);
    ASSERT_TRUE(writer.BeginClass(u"C"));
    BYTE inner = 9;
    writer.Value(u"I", inner);
    ASSERT_TRUE(writer.EndClass());
    ASSERT_TRUE(writer.Close());

    CEBFFile reader;
    ASSERT_TRUE(reader.OpenRead(u"\\sizes.ebf"));
    DWORD asDword = 5;
    reader.Value(u"S", asDword, DWORD(77));
    EXPECT_EQ(asDword, 77u);
    WORD asWord = 0;
    reader.Value(u"S", asWord, WORD(1));
    EXPECT_EQ(asWord, 0x1234);
    BYTE classAsByte = 0;
    reader.Value(u"C", classAsByte, BYTE(3));
    EXPECT_EQ(classAsByte, 3);
    std::u16string classAsText;
    reader.StringValue(u"C", classAsText, u"fallback");
    EXPECT_EQ(classAsText, u"fallback");
    std::unique_ptr<BYTE[]> buffer;
    EXPECT_EQ(reader.ReadAlloc(u"C", 0, buffer), 0u);
    // No default: the block is left as it was.
    RECT rect{1, 2, 3, 4};
    reader.Value(u"S", rect);
    EXPECT_EQ(rect.left, 1);
    EXPECT_EQ(rect.bottom, 4);
}

TEST_F(EBFFile, EveryScalarBlockAndTextRoundTrips) {
    // Writes one value, then reads it back over a zeroed variable.
    auto roundTrip = [](auto value) {
        CEBFFile writer;
        EXPECT_TRUE(writer.OpenWrite(u"\\one.ebf"));
        writer.Value(u"v", value);
        EXPECT_TRUE(writer.Close());
        CEBFFile reader;
        EXPECT_TRUE(reader.OpenRead(u"\\one.ebf"));
        decltype(value) read{};
        reader.Value(u"v", read);
        return read;
    };
    EXPECT_EQ(roundTrip(BYTE(0xFE)), 0xFE);
    EXPECT_EQ(roundTrip(static_cast<signed char>(-3)), -3);
    EXPECT_TRUE(roundTrip(true));
    EXPECT_EQ(roundTrip(WORD(0xBEEF)), 0xBEEF);
    EXPECT_EQ(roundTrip(SHORT(-1234)), -1234);
    EXPECT_EQ(roundTrip(DWORD(0xDEADBEEF)), 0xDEADBEEFu);
    EXPECT_EQ(roundTrip(LONG(-123456)), -123456);
    EXPECT_EQ(roundTrip(FLOAT(2.5f)), 2.5f);
    EXPECT_EQ(roundTrip(LONGLONG(-0x123456789ABCLL)), -0x123456789ABCLL);
    RECT rect = roundTrip(RECT{-1, 2, 300, 400});
    EXPECT_EQ(rect.left, -1);
    EXPECT_EQ(rect.bottom, 400);

    CEBFFile writer;
    ASSERT_TRUE(writer.OpenWrite(u"\\blocks.ebf"));
    std::u16string text = u"\u0633\u0644\u0627\u0645", empty;
    writer.StringValue(u"text", text);
    writer.StringValue(u"empty", empty);
    char raw[] = "raw bytes";
    EXPECT_EQ(writer.RawValue(u"raw", raw, 9), 9u);
    std::unique_ptr<BYTE[]> unused;
    EXPECT_EQ(writer.ReadAlloc(u"raw", 0, unused), 0u);
    ASSERT_TRUE(writer.Close());

    CEBFFile reader;
    ASSERT_TRUE(reader.OpenRead(u"\\blocks.ebf"));
    std::u16string readText, readEmpty = u"not empty";
    reader.StringValue(u"text", readText);
    reader.StringValue(u"empty", readEmpty, u"default");
    EXPECT_EQ(readText, text);
    EXPECT_EQ(readEmpty, u"");
    // Any size up to the area, through both forms.
    char area[16] = {};
    EXPECT_EQ(reader.RawValue(u"raw", area, sizeof area), 9u);
    EXPECT_EQ(std::string(area, 9), "raw bytes");
    char general[16] = {};
    EXPECT_TRUE(reader.RawValue(u"raw", 0, general, nullptr, sizeof general));
    EXPECT_EQ(std::string(general, 9), "raw bytes");

    // ReadAlloc keeps a buffer that is large enough and replaces one that is not.
    auto buffer = std::make_unique<BYTE[]>(32);
    BYTE* kept = buffer.get();
    EXPECT_EQ(reader.ReadAlloc(u"raw", 32, buffer), 32u);
    EXPECT_EQ(buffer.get(), kept);
    auto small = std::make_unique<BYTE[]>(4);
    EXPECT_EQ(reader.ReadAlloc(u"raw", 4, small), 9u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(small.get()), 9), "raw bytes");
    EXPECT_EQ(reader.ReadAlloc(u"missing", 4, small), 0u);
}

TEST_F(EBFFile, ChildCountOfTheMainClassCountsDirectChildrenOnly) {
    CEBFFile writer;
    ASSERT_TRUE(writer.OpenWrite(u"\\children.ebf"));
    DWORD v = 1;
    writer.Value(u"first", v);
    ASSERT_TRUE(writer.BeginClass(u"inner"));
    for (int i = 0; i < 4; ++i)
        writer.Value(std::u16string(1, char16_t(u'0' + i)), v);
    EXPECT_EQ(writer.GetChildCount(), 4u);
    ASSERT_TRUE(writer.EndClass());
    writer.Value(u"last", v);
    EXPECT_EQ(writer.GetChildCount(), 3u);
    ASSERT_TRUE(writer.Close());

    CEBFFile reader;
    ASSERT_TRUE(reader.OpenRead(u"\\children.ebf"));
    EXPECT_EQ(reader.GetChildCount(), 3u);
    ASSERT_TRUE(reader.BeginClass(u"inner"));
    EXPECT_EQ(reader.GetChildCount(), 4u);
    ASSERT_TRUE(reader.EndClass());
    EXPECT_EQ(reader.GetChildCount(), 3u);
}

TEST_F(EBFFile, WrongMainClassFailsTheOpenAndTheObjectOpensAgain) {
    CEBFFile skinWriter(u"KELVO_SKIN");
    ASSERT_TRUE(skinWriter.OpenWrite(u"\\skin.ksk"));
    ASSERT_TRUE(skinWriter.Close());
    writeDeviceFile(u"\\worked.ebf", ebfWorkedLayout());

    CEBFFile reader;
    EXPECT_FALSE(reader.OpenRead(u"\\skin.ksk"));
    EXPECT_TRUE(reader.Close());
    EXPECT_FALSE(reader.OpenRead(u"\\missing.ebf"));
    ASSERT_TRUE(reader.OpenRead(u"\\worked.ebf"));
    DWORD a = 0;
    reader.Value(u"A", a);
    EXPECT_EQ(a, 1u);

    CEBFFile skinReader(u"KELVO_SKIN");
    EXPECT_TRUE(skinReader.OpenRead(u"\\skin.ksk"));
    EXPECT_EQ(skinReader.GetChildCount(), 0u);
}

TEST_F(EBFFile, NestedClassesHaveTheirCountsAndSizesPatched) {
    CEBFFile writer;
    ASSERT_TRUE(writer.OpenWrite(u"\\nested.ebf"));
    ASSERT_TRUE(writer.BeginClass(u"P"));
    ASSERT_TRUE(writer.BeginClass(u"0"));
    BYTE one = 1;
    writer.Value(u"x", one);
    writer.Value(u"y", one);
    ASSERT_TRUE(writer.EndClass());
    ASSERT_TRUE(writer.BeginClass(u"1"));
    ASSERT_TRUE(writer.EndClass());
    ASSERT_TRUE(writer.EndClass());
    std::u16string help = u"h";
    writer.StringValue(u"HFN", help);
    // Close ends the main class itself.
    ASSERT_TRUE(writer.Close());

    std::string expected = ebfClass(
        "MainClass", {ebfClass("P", {ebfClass("0", {ebfValue("x", "\x01"), ebfValue("y", "\x01")}),
                                     ebfClass("1", {})}),
                      ebfValue("HFN", std::string("h\0", 2))});
    EXPECT_EQ(readHostFile(hostPath(u"\\nested.ebf")), expected);

    CEBFFile reader;
    ASSERT_TRUE(reader.OpenRead(u"\\nested.ebf"));
    ASSERT_TRUE(reader.BeginClass(u"P"));
    EXPECT_EQ(reader.GetChildCount(), 2u);
    ASSERT_TRUE(reader.BeginClass(u"1"));
    EXPECT_EQ(reader.GetChildCount(), 0u);
    ASSERT_TRUE(reader.EndClass());
    ASSERT_TRUE(reader.BeginClass(u"0"));
    BYTE y = 0;
    reader.Value(u"y", y);
    EXPECT_EQ(y, 1);
    ASSERT_TRUE(reader.EndClass());
    ASSERT_TRUE(reader.EndClass());
    // "P" is looked up only in its own class: the main class has no "x".
    BYTE x = 5;
    reader.Value(u"x", x, BYTE(5));
    EXPECT_EQ(x, 5);
    std::u16string readHelp;
    reader.StringValue(u"HFN", readHelp);
    EXPECT_EQ(readHelp, u"h");
}

TEST_F(EBFFile, EmbeddedFilesRoundTrip) {
    std::string picture;
    for (int i = 0; i < 70000; ++i)
        picture += static_cast<char>(i * 7);
    writeDeviceFile(u"\\Source\\pic.png", picture);
    writeDeviceFile(u"\\Source\\empty.txt", "");

    CEBFFile writer;
    ASSERT_TRUE(writer.OpenWrite(u"\\files.ebf"));
    EXPECT_TRUE(writer.FileItem(u"\\Source\\pic.png"));
    EXPECT_TRUE(writer.FileItem(u"\\Source\\empty.txt"));
    EXPECT_FALSE(writer.FileItem(u"\\Source\\absent.bin"));
    ASSERT_TRUE(writer.Close());

    ASSERT_TRUE(std::filesystem::create_directories(hostPath(u"\\Out")));
    CEBFFile reader;
    ASSERT_TRUE(reader.OpenRead(u"\\files.ebf"));
    EXPECT_EQ(reader.GetChildCount(), 2u);
    EXPECT_TRUE(reader.FileItem(u"\\Out\\pic.png"));
    EXPECT_EQ(readHostFile(hostPath(u"\\Out\\pic.png")), picture);
    // An empty file is embedded but extracting it writes nothing; an absent one is skipped.
    EXPECT_FALSE(reader.FileItem(u"\\Out\\empty.txt"));
    EXPECT_FALSE(std::filesystem::exists(hostPath(u"\\Out\\empty.txt")));
    EXPECT_FALSE(reader.FileItem(u"\\Out\\absent.bin"));
    EXPECT_FALSE(std::filesystem::exists(hostPath(u"\\Out\\absent.bin")));
    // The class was left on every path: the main class is current again.
    EXPECT_EQ(reader.GetChildCount(), 2u);
    ASSERT_TRUE(reader.BeginClass(u"pic.png"));
    DWORD size = 0;
    reader.Value(u"FileSize", size);
    EXPECT_EQ(size, picture.size());
}

TEST_F(EBFFile, NamesAreStoredInTheAnsiCodePageAndLongOnesAreRefused) {
    CEBFFile writer;
    ASSERT_TRUE(writer.OpenWrite(u"\\names.ebf"));
    BYTE v = 1;
    writer.Value(u"\u20ACx", v);           // the euro sign is 0x80 in the code page
    writer.Value(u"\u0641\U0001F600", v);  // neither exists in it: both become '?'
    std::u16string longName(256, u'n');
    writer.Value(longName, v);
    EXPECT_FALSE(writer.RawValue(longName, 1, &v));
    EXPECT_FALSE(writer.BeginClass(longName));
    writer.Value(std::u16string(255, u'n'), v);
    EXPECT_EQ(writer.GetChildCount(), 3u);
    ASSERT_TRUE(writer.Close());

    std::string bytes = readHostFile(hostPath(u"\\names.ebf"));
    EXPECT_EQ(bytes.substr(18, 3), "\x02\x80x");
    EXPECT_EQ(bytes.substr(18 + 12, 3), "\x02??");

    CEBFFile reader;
    ASSERT_TRUE(reader.OpenRead(u"\\names.ebf"));
    BYTE euro = 0, unknown = 0, longest = 0;
    reader.Value(u"\u20ACx", euro);
    reader.Value(u"??", unknown);
    reader.Value(std::u16string(255, u'n'), longest);
    EXPECT_EQ(euro, 1);
    EXPECT_EQ(unknown, 1);
    EXPECT_EQ(longest, 1);
    // Case matters.
    BYTE upper = 0;
    reader.Value(u"\u20ACX", upper, BYTE(4));
    EXPECT_EQ(upper, 4);
}

TEST_F(EBFFile, WritingFailsCleanlyWhereNothingCanBeWritten) {
    CEBFFile writer;
    EXPECT_FALSE(writer.OpenWrite(u"\\no such folder\\x.ebf"));
    DWORD v = 1;
    EXPECT_FALSE(writer.RawValue(u"A", sizeof v, &v));
    EXPECT_FALSE(writer.BeginClass(u"C"));
    EXPECT_TRUE(writer.Close());

    CEBFFile longMain(std::u16string(300, u'm'));
    EXPECT_FALSE(longMain.OpenWrite(u"\\long.ebf"));
    EXPECT_FALSE(std::filesystem::exists(hostPath(u"\\long.ebf")));

    // Once the main class is ended nothing more goes into the file.
    ASSERT_TRUE(writer.OpenWrite(u"\\ended.ebf"));
    ASSERT_TRUE(writer.EndClass());
    EXPECT_FALSE(writer.RawValue(u"A", sizeof v, &v));
    EXPECT_FALSE(writer.BeginClass(u"C"));
    ASSERT_TRUE(writer.Close());
    EXPECT_EQ(readHostFile(hostPath(u"\\ended.ebf")), ebfClass("MainClass", {}));
}

TEST_F(EBFFile, TheFiftiethNestedClassIsRefusedWhenWriting) {
    CEBFFile writer;
    ASSERT_TRUE(writer.OpenWrite(u"\\deep.ebf"));
    // The main class is the first nested class; 48 more fit below it.
    for (int level = 2; level <= 49; ++level)
        ASSERT_TRUE(writer.BeginClass(u"c")) << level;
    EXPECT_FALSE(writer.BeginClass(u"c"));
    BYTE v = 1;
    EXPECT_TRUE(writer.RawValue(u"v", 1, &v));
    ASSERT_TRUE(writer.Close());

    CEBFFile reader;
    ASSERT_TRUE(reader.OpenRead(u"\\deep.ebf"));
    for (int level = 2; level <= 49; ++level)
        ASSERT_TRUE(reader.BeginClass(u"c")) << level;
    BYTE read = 0;
    reader.Value(u"v", read);
    EXPECT_EQ(read, 1);
}
