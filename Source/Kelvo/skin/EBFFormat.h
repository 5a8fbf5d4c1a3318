// The container's layout on disk, known only here: an item is a name length byte, that many
// name bytes, a 4-byte count and a 4-byte size (little-endian), then size payload bytes. Also
// the walk over a class's children that checks they fill the class exactly.
#pragma once

#include <windef.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

// Bytes of an item header besides its name: the length byte, the count and the size.
constexpr DWORD kEBFHeaderFixedBytes = 9;
// The longest name an item can have (its length is one byte).
constexpr size_t kEBFMaxNameBytes = 255;
// Frames in a container's class stack: the root and at most 49 nested classes below it.
constexpr int kEBFStackFrames = 50;
constexpr int kEBFMaxClassDepth = kEBFStackFrames - 1;

// What is wrong with an item or a class, if anything.
enum class EBFFault {
    none,
    noRoomForItem,  // fewer bytes remain in the enclosing class than an item header needs
    nameRunsPast,   // the name (or the count and size after it) runs past the enclosing class
    sizeRunsPast,   // the payload runs past the enclosing class
    bytesLeftOver,  // a class's children end before its size does
    readFailed,     // the file could not be read at that place
};

struct EBFItemHeader {
    DWORD offset = 0;  // of the name length byte
    std::string name;  // as stored: 8-bit ANSI text
    DWORD count = 0;   // 0 for a value; the number of children for a class
    DWORD size = 0;    // payload bytes

    DWORD payloadOffset() const { return offset + kEBFHeaderFixedBytes + DWORD(name.size()); }
    // Bytes the whole item occupies.
    uint64_t itemBytes() const { return kEBFHeaderFixedBytes + uint64_t(name.size()) + size; }
    uint64_t end() const { return offset + itemBytes(); }
};

// Reads the header of the item at offset, which must lie wholly, payload included, before
// limit (the end of the enclosing class or of the file). On a fault the header holds what
// could be read (the name and sizes when only the payload runs past).
EBFFault readEBFItemHeader(FILE* file, DWORD offset, uint64_t limit, EBFItemHeader& header);

// Writes an item header at the file's position. The name must be at most 255 bytes.
bool writeEBFItemHeader(FILE* file, std::string_view name, DWORD count, DWORD size);

// Writes the count and size fields of a header at the file's position (to patch a class).
bool writeEBFCountAndSize(FILE* file, DWORD count, DWORD size);

// Steps through the children of a class one header at a time: exactly count items, each
// inside the class, which together fill its size. The walk ends at the first fault, so it
// never takes more steps than items of 9 bytes fit in the class.
class EBFChildWalk {
public:
    EBFChildWalk(FILE* file, DWORD firstChild, DWORD count, DWORD size);

    // Reads the next child's header. False at the end of the children or at a fault; on a
    // fault, child holds what could be read of the broken item.
    bool next(EBFItemHeader& child);

    EBFFault fault() const { return m_fault; }
    // Number of the child being read (after a fault, of the broken one; count when the
    // children are done).
    DWORD index() const { return m_index; }
    // Offset of the child being read (after a fault, where the broken one starts).
    DWORD offset() const { return m_offset; }

private:
    FILE* m_file;
    DWORD m_offset;
    uint64_t m_end;
    DWORD m_count;
    DWORD m_index = 0;
    EBFFault m_fault = EBFFault::none;
    bool m_done = false;
};

// Whether a class's children (count of them from firstChild) fill its size exactly: what the
// walk above checks, without looking inside the children.
bool ebfChildrenFillClass(FILE* file, DWORD firstChild, DWORD count, DWORD size);
