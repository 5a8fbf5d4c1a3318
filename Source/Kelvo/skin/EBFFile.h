// CEBFFile: reads and writes the hierarchical binary container of skin files, a tree of named
// items in which a class holds items and a value holds bytes. Items are found by name in the
// class that is open, each read by seeking to its place; the file is never loaded whole.
#pragma once

#include <windef.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "skin/EBFFormat.h"

// One open class. Frame 0 is the virtual class "Root" standing for the whole file.
struct ClassFrame {
    std::u16string name;
    DWORD start = 0;   // reading: offset of the first child; writing: offset of the count field
    DWORD cursor = 0;  // reading: offset of the child at which the next search begins
    LONG index = 0;    // number of the child at the cursor
    DWORD count = 0;   // children (reading: as stored; writing: written so far)
    DWORD size = 0;    // payload bytes (reading: as stored; writing: written so far)
};

struct EBFStreamCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

class CEBFFile {
public:
    explicit CEBFFile(std::u16string className = u"MainClass");
    virtual ~CEBFFile();
    CEBFFile(const CEBFFile&) = delete;
    CEBFFile& operator=(const CEBFFile&) = delete;

    // Opens a container and its main class for reading. False when the file cannot be opened
    // or its first item is not a well-formed class named like the main class; the file then
    // stays open until Close.
    bool OpenRead(const std::u16string& path);
    // Creates (or truncates) a container and starts its main class. False when the file
    // cannot be created or the class name cannot be stored.
    bool OpenWrite(const std::u16string& path);
    // Writing: ends every open class, so that all counts and sizes are patched. Then closes
    // the file. False when something could not be written.
    bool Close();

    // Reading: opens the named item of the current class (a value item opens as a class with
    // no children). False when it is missing, when its children do not fill it exactly, or
    // when the stack is full. Writing: starts a class item; false when its name cannot be
    // stored, the stack is full, or no main class is open.
    bool BeginClass(std::u16string_view name);
    // Leaves the current class (writing: patches its count and size). False when a patch
    // could not be written.
    bool EndClass();
    DWORD GetChildCount() const;

    // Scalars: reading stores the stored value, or the default when the item is missing, is a
    // class or has another size. Writing writes the value; the default is ignored.
    void Value(std::u16string_view name, BYTE& value, BYTE defaultValue = 0);
    void Value(std::u16string_view name, signed char& value, signed char defaultValue = 0);
    void Value(std::u16string_view name, bool& value, bool defaultValue = false);
    void Value(std::u16string_view name, WORD& value, WORD defaultValue = 0);
    void Value(std::u16string_view name, SHORT& value, SHORT defaultValue = 0);
    void Value(std::u16string_view name, DWORD& value, DWORD defaultValue = 0);
    void Value(std::u16string_view name, LONG& value, LONG defaultValue = 0);
    void Value(std::u16string_view name, FLOAT& value, FLOAT defaultValue = 0);
    void Value(std::u16string_view name, LONGLONG& value, LONGLONG defaultValue = 0);
    // A 16-byte block; with no default the block is left as it was when the item is missing.
    void Value(std::u16string_view name, RECT& value, const RECT* defaultValue = nullptr);

    // The general form. Reading: takes a stored value of exactly size bytes, or with size 0
    // one of any size up to capacity bytes; otherwise copies size bytes of the default, or
    // with none (or size 0) leaves the destination as it was. Writing: writes size bytes.
    // True when the value was read or written.
    bool RawValue(std::u16string_view name, DWORD size, void* data,
                  const void* defaultValue = nullptr, DWORD capacity = 0);
    // A block of any size up to size bytes, with no default. Returns the bytes read or
    // written (0 when missing or larger than the area).
    DWORD RawValue(std::u16string_view name, void* data, DWORD size);

    // Reading: the stored size of a value item of the current class, without reading it.
    // False when it is missing or a class (and always while writing).
    bool ValueSize(std::u16string_view name, DWORD& size);

    // Text in UTF-16LE. Reading: the stored text, or the default when missing or a class.
    void StringValue(std::u16string_view name, std::u16string& value,
                     const std::u16string& defaultValue = {});

    // Reading: reads a value of any size into buffer, replacing it by a larger one when the
    // stored size exceeds capacity. Returns the larger of capacity and the stored size; 0
    // when the item is missing or a class, and always 0 while writing.
    DWORD ReadAlloc(std::u16string_view name, DWORD capacity, std::unique_ptr<BYTE[]>& buffer);

    // Writing: embeds the file at path as a class named after its file name. Reading:
    // extracts the embedded file named like path's file name to path. True when a file was
    // embedded or written (an embedded empty file writes nothing).
    bool FileItem(const std::u16string& path);

private:
    struct FoundItem {
        DWORD payload = 0;
        DWORD count = 0;
        DWORD size = 0;
        DWORD itemBytes = 0;
    };

    void resetStack();
    uint64_t frameEnd(int frame) const;
    bool findItem(std::u16string_view name, FoundItem& item);
    bool findValue(std::u16string_view name, DWORD size, DWORD capacity, FoundItem& item);
    bool readPayload(const FoundItem& item, void* data, DWORD bytes);
    void consume(ClassFrame& frame, DWORD itemBytes);
    bool writeValue(std::u16string_view name, const void* data, DWORD size);
    bool beginWrittenClass(std::u16string_view name);
    bool embedFile(const std::u16string& path, std::u16string_view name);
    bool extractFile(const std::u16string& path, std::u16string_view name);
    template <typename T>
    void scalar(std::u16string_view name, T& value, T defaultValue);

    bool mode = true;
    std::u16string fileName;
    std::unique_ptr<FILE, EBFStreamCloser> file;
    std::u16string className;
    int depth = 0;
    std::array<ClassFrame, kEBFStackFrames> stack;
    // Reading: bytes in the file (capped at the largest 32-bit offset), the root's extent.
    DWORD length = 0;
};
