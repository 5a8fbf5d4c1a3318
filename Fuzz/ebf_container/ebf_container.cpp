// Fuzzes the container reader: the input becomes a device file that CEBFFile opens, and every
// item is visited through it: each class opened and left, each value read at every size, as
// text and into an allocated buffer, each class extracted as an embedded file. The item names
// come from the shared header reader walking the same file.
#include <device/FileSystem.h>
#include <winbase.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "skin/AnsiCodePage.h"
#include "skin/EBFFile.h"
#include "skin/EBFFormat.h"

namespace {

constexpr char16_t kInputPath[] = u"\\in\\input.ebf";

struct StreamCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using Stream = std::unique_ptr<FILE, StreamCloser>;

bool writeInput(const uint8_t* data, size_t size) {
    CreateDirectoryW(u"\\in", nullptr);
    CreateDirectoryW(u"\\out", nullptr);
    Stream out(_wfopen(kInputPath, u"wb"));
    if (!out)
        return false;
    return size == 0 || std::fwrite(data, 1, size, out.get()) == size;
}

// Whether a name can be a file name in the output folder.
bool plainFileName(std::u16string_view name) {
    if (name.empty() || name == u"." || name == u"..")
        return false;
    for (char16_t c : name) {
        bool plain = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                     (c >= u'0' && c <= u'9') || c == u'.' || c == u'_';
        if (!plain)
            return false;
    }
    return true;
}

void readEveryWay(CEBFFile& container, std::u16string_view name) {
    BYTE byteValue = 0;
    signed char signedChar = 0;
    bool flag = false;
    WORD word = 0;
    SHORT shortValue = 0;
    DWORD dword = 0;
    LONG longValue = 0;
    FLOAT floatValue = 0;
    LONGLONG longLong = 0;
    RECT rect{};
    RECT defaultRect{1, 2, 3, 4};
    container.Value(name, byteValue, BYTE(1));
    container.Value(name, signedChar, static_cast<signed char>(-1));
    container.Value(name, flag, true);
    container.Value(name, word, WORD(2));
    container.Value(name, shortValue, SHORT(-2));
    container.Value(name, dword, DWORD(4));
    container.Value(name, longValue, LONG(-4));
    container.Value(name, floatValue, FLOAT(1));
    container.Value(name, longLong, LONGLONG(8));
    container.Value(name, rect, &defaultRect);
    container.Value(name, rect);
    BYTE area[24];
    container.RawValue(name, 0, area, nullptr, sizeof area);
    container.RawValue(name, area, sizeof area);
    std::u16string text;
    container.StringValue(name, text, u"default");
    std::unique_ptr<BYTE[]> buffer;
    container.ReadAlloc(name, 0, buffer);
    auto small = std::make_unique<BYTE[]>(8);
    container.ReadAlloc(name, 8, small);
    container.GetChildCount();
}

// Visits the children of a class that the container has open, at a nesting depth.
void visitChildren(CEBFFile& container, FILE* file, const EBFItemHeader& owner, int depth) {
    container.GetChildCount();
    EBFChildWalk walk(file, owner.payloadOffset(), owner.count, owner.size);
    EBFItemHeader child;
    while (walk.next(child)) {
        std::u16string name = textFromAnsi(child.name);
        readEveryWay(container, name);
        if (container.BeginClass(name)) {
            if (child.count != 0 && depth < kEBFMaxClassDepth)
                visitChildren(container, file, child, depth + 1);
            else
                readEveryWay(container, u"FileSize");
            container.EndClass();
        }
        if (child.count != 0 && plainFileName(name))
            container.FileItem(u"\\out\\" + name);
    }
    // A name that is nowhere makes every search go all the way round.
    readEveryWay(container, u"\x01missing");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!writeInput(data, size))
        return 0;
    Stream structure(_wfopen(kInputPath, u"rb"));
    if (!structure)
        return 0;
    EBFItemHeader main;
    EBFFault fault = readEBFItemHeader(structure.get(), 0, size, main);

    // Open under the first item's own name, so that any name reaches the walk.
    CEBFFile container(fault == EBFFault::sizeRunsPast || fault == EBFFault::none
                           ? textFromAnsi(main.name)
                           : u"MainClass");
    if (container.OpenRead(kInputPath) && fault == EBFFault::none)
        visitChildren(container, structure.get(), main, 1);
    else
        readEveryWay(container, u"MainClass");
    container.EndClass();
    container.EndClass();
    container.Close();
    return 0;
}
