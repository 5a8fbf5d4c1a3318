// CEBFFile: finding items by name with the wrapping per-class cursor, reading and writing
// values and classes, texts and embedded files. Every header is checked against the end of
// its enclosing class before anything is read from it, and a class opens only when its
// children fill it exactly, so no read leaves its item and no search outlasts its class.
#include "skin/EBFFile.h"

#include <winbase.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>

#include "skin/AnsiCodePage.h"

// Values are stored as they are held in memory, which the format defines as little-endian.
static_assert(std::endian::native == std::endian::little);
static_assert(sizeof(RECT) == 16);

namespace {

constexpr DWORD kLargestOffset = 0xFFFFFFFFu;
constexpr DWORD kCopyChunk = 64 * 1024;

// The 8-bit form of an item name, or false when it is too long to be stored.
bool storedName(std::u16string_view name, std::string& stored) {
    stored = ansiFromText(name);
    return stored.size() <= kEBFMaxNameBytes;
}

std::u16string_view fileNameOf(std::u16string_view path) {
    size_t separator = path.find_last_of(u"\\/");
    return separator == std::u16string_view::npos ? path : path.substr(separator + 1);
}

}  // namespace

CEBFFile::CEBFFile(std::u16string className) : className(std::move(className)) {
    resetStack();
}

CEBFFile::~CEBFFile() = default;

void CEBFFile::resetStack() {
    depth = 0;
    stack[0] = ClassFrame{u"Root", 0, 0, 0, mode ? 0u : 1u, 0};
}

bool CEBFFile::OpenRead(const std::u16string& path) {
    Close();
    mode = false;
    fileName = path;
    length = 0;
    resetStack();
    file.reset(_wfopen(path.c_str(), u"rb"));
    if (!file)
        return false;
    if (std::fseek(file.get(), 0, SEEK_END) != 0)
        return false;
    long bytes = std::ftell(file.get());
    if (bytes < 0)
        return false;
    // Items are addressed by 32-bit offsets: nothing beyond the last one can be reached.
    length = static_cast<DWORD>(std::min<uint64_t>(uint64_t(bytes), kLargestOffset));
    return BeginClass(className);
}

bool CEBFFile::OpenWrite(const std::u16string& path) {
    Close();
    mode = true;
    fileName = path;
    resetStack();
    std::string stored;
    if (!storedName(className, stored))
        return false;
    file.reset(_wfopen(path.c_str(), u"wb"));
    if (!file)
        return false;
    return beginWrittenClass(className);
}

bool CEBFFile::Close() {
    if (!file)
        return true;
    bool written = true;
    if (mode) {
        while (depth > 0)
            written = EndClass() && written;
    }
    written = std::fclose(file.release()) == 0 && written;
    resetStack();
    return written;
}

uint64_t CEBFFile::frameEnd(int frame) const {
    if (frame == 0)
        return length;
    return uint64_t(stack[frame].start) + stack[frame].size;
}

void CEBFFile::consume(ClassFrame& frame, DWORD itemBytes) {
    if (DWORD(frame.index) + 1 >= frame.count) {
        frame.index = 0;
        frame.cursor = frame.start;
    } else {
        frame.cursor += itemBytes;
        ++frame.index;
    }
}

bool CEBFFile::findItem(std::u16string_view name, FoundItem& item) {
    if (!file || mode)
        return false;
    ClassFrame& frame = stack[depth];
    uint64_t end = frameEnd(depth);
    // Each item takes at least a header's fixed bytes, so no more than that many fit; the
    // root holds exactly the main class.
    DWORD steps =
        depth == 0 ? frame.count : std::min<DWORD>(frame.count, frame.size / kEBFHeaderFixedBytes);
    DWORD startCursor = frame.cursor;
    LONG startIndex = frame.index;
    for (DWORD step = 0; step < steps; ++step) {
        EBFItemHeader header;
        if (readEBFItemHeader(file.get(), frame.cursor, end, header) != EBFFault::none)
            break;
        auto itemBytes = static_cast<DWORD>(header.itemBytes());
        if (ansiEquals(header.name, name)) {
            item = FoundItem{header.payloadOffset(), header.count, header.size, itemBytes};
            return true;
        }
        consume(frame, itemBytes);
    }
    frame.cursor = startCursor;
    frame.index = startIndex;
    return false;
}

bool CEBFFile::findValue(std::u16string_view name, DWORD size, DWORD capacity, FoundItem& item) {
    if (!findItem(name, item) || item.count != 0)
        return false;
    return size == 0 ? item.size <= capacity : item.size == size;
}

bool CEBFFile::readPayload(const FoundItem& item, void* data, DWORD bytes) {
    if (bytes == 0)
        return true;
    if (data == nullptr || bytes > item.size)
        return false;
    if (std::fseek(file.get(), static_cast<long>(item.payload), SEEK_SET) != 0)
        return false;
    return std::fread(data, 1, bytes, file.get()) == bytes;
}

bool CEBFFile::BeginClass(std::u16string_view name) {
    if (!file || depth + 1 >= kEBFStackFrames)
        return false;
    if (mode)
        return depth > 0 && beginWrittenClass(name);
    FoundItem item;
    if (!findItem(name, item))
        return false;
    if (item.count != 0 && !ebfChildrenFillClass(file.get(), item.payload, item.count, item.size))
        return false;
    ++depth;
    stack[depth] =
        ClassFrame{std::u16string(name), item.payload, item.payload, 0, item.count, item.size};
    return true;
}

bool CEBFFile::beginWrittenClass(std::u16string_view name) {
    std::string stored;
    if (!storedName(name, stored))
        return false;
    long here = std::ftell(file.get());
    if (here < 0 || uint64_t(here) + kEBFHeaderFixedBytes + stored.size() > kLargestOffset)
        return false;
    if (!writeEBFItemHeader(file.get(), stored, 0, 0))
        return false;
    ++depth;
    auto countField = static_cast<DWORD>(here + 1 + long(stored.size()));
    stack[depth] = ClassFrame{std::u16string(name), countField, countField, 0, 0, 0};
    return true;
}

bool CEBFFile::EndClass() {
    if (!file || depth == 0)
        return true;
    ClassFrame& frame = stack[depth];
    ClassFrame& parent = stack[depth - 1];
    --depth;
    if (!mode) {
        consume(parent, DWORD(frame.start - parent.cursor) + frame.size);
        return true;
    }
    long here = std::ftell(file.get());
    bool patched = here >= 0 && std::fseek(file.get(), long(frame.start), SEEK_SET) == 0 &&
                   writeEBFCountAndSize(file.get(), frame.count, frame.size) &&
                   std::fseek(file.get(), here, SEEK_SET) == 0;
    DWORD nameBytes = static_cast<DWORD>(ansiFromText(frame.name).size());
    parent.count += 1;
    parent.size += kEBFHeaderFixedBytes + nameBytes + frame.size;
    return patched;
}

DWORD CEBFFile::GetChildCount() const {
    return stack[depth].count;
}

bool CEBFFile::writeValue(std::u16string_view name, const void* data, DWORD size) {
    if (!file || !mode || depth == 0 || (data == nullptr && size != 0))
        return false;
    std::string stored;
    if (!storedName(name, stored))
        return false;
    long here = std::ftell(file.get());
    uint64_t itemBytes = kEBFHeaderFixedBytes + uint64_t(stored.size()) + size;
    if (here < 0 || uint64_t(here) + itemBytes > kLargestOffset)
        return false;
    if (!writeEBFItemHeader(file.get(), stored, 0, size))
        return false;
    if (size != 0 && std::fwrite(data, 1, size, file.get()) != size)
        return false;
    stack[depth].size += static_cast<DWORD>(itemBytes);
    stack[depth].count += 1;
    return true;
}

bool CEBFFile::RawValue(std::u16string_view name, DWORD size, void* data, const void* defaultValue,
                        DWORD capacity) {
    if (mode)
        return writeValue(name, data, size);
    FoundItem item;
    if (findValue(name, size, capacity, item) && readPayload(item, data, item.size)) {
        consume(stack[depth], item.itemBytes);
        return true;
    }
    if (defaultValue != nullptr && data != nullptr && size != 0)
        std::memcpy(data, defaultValue, size);
    return false;
}

DWORD CEBFFile::RawValue(std::u16string_view name, void* data, DWORD size) {
    if (mode)
        return writeValue(name, data, size) ? size : 0;
    FoundItem item;
    if (!findValue(name, 0, size, item) || !readPayload(item, data, item.size))
        return 0;
    consume(stack[depth], item.itemBytes);
    return item.size;
}

bool CEBFFile::ValueSize(std::u16string_view name, DWORD& size) {
    FoundItem item;
    if (mode || !findItem(name, item) || item.count != 0)
        return false;
    size = item.size;
    return true;
}

template <typename T>
void CEBFFile::scalar(std::u16string_view name, T& value, T defaultValue) {
    RawValue(name, sizeof(T), &value, &defaultValue);
}

void CEBFFile::Value(std::u16string_view name, BYTE& value, BYTE defaultValue) {
    scalar(name, value, defaultValue);
}
void CEBFFile::Value(std::u16string_view name, signed char& value, signed char defaultValue) {
    scalar(name, value, defaultValue);
}
void CEBFFile::Value(std::u16string_view name, bool& value, bool defaultValue) {
    // Read through a byte: a stored byte other than 0 or 1 is no valid bool.
    BYTE stored = value ? 1 : 0;
    scalar(name, stored, BYTE(defaultValue ? 1 : 0));
    value = stored != 0;
}
void CEBFFile::Value(std::u16string_view name, WORD& value, WORD defaultValue) {
    scalar(name, value, defaultValue);
}
void CEBFFile::Value(std::u16string_view name, SHORT& value, SHORT defaultValue) {
    scalar(name, value, defaultValue);
}
void CEBFFile::Value(std::u16string_view name, DWORD& value, DWORD defaultValue) {
    scalar(name, value, defaultValue);
}
void CEBFFile::Value(std::u16string_view name, LONG& value, LONG defaultValue) {
    scalar(name, value, defaultValue);
}
void CEBFFile::Value(std::u16string_view name, FLOAT& value, FLOAT defaultValue) {
    scalar(name, value, defaultValue);
}
void CEBFFile::Value(std::u16string_view name, LONGLONG& value, LONGLONG defaultValue) {
    scalar(name, value, defaultValue);
}
void CEBFFile::Value(std::u16string_view name, RECT& value, const RECT* defaultValue) {
    RawValue(name, sizeof(RECT), &value, defaultValue);
}

void CEBFFile::StringValue(std::u16string_view name, std::u16string& value,
                           const std::u16string& defaultValue) {
    if (mode) {
        if (value.size() <= kLargestOffset / 2)
            writeValue(name, value.data(), static_cast<DWORD>(value.size() * 2));
        return;
    }
    FoundItem item;
    if (!findItem(name, item) || item.count != 0) {
        value = defaultValue;
        return;
    }
    // The item lies inside the file, so its size is bytes the file really holds.
    std::u16string text(item.size / 2, u'\0');
    if (!readPayload(item, text.data(), DWORD(text.size() * 2))) {
        value = defaultValue;
        return;
    }
    value = std::move(text);
    consume(stack[depth], item.itemBytes);
}

DWORD CEBFFile::ReadAlloc(std::u16string_view name, DWORD capacity,
                          std::unique_ptr<BYTE[]>& buffer) {
    if (mode)
        return 0;
    if (!buffer)
        capacity = 0;
    FoundItem item;
    if (!findItem(name, item) || item.count != 0)
        return 0;
    if (item.size <= capacity) {
        if (!readPayload(item, buffer.get(), item.size))
            return 0;
        consume(stack[depth], item.itemBytes);
        return capacity;
    }
    // The stored size is bounded by the bytes the file holds, never by the header alone.
    std::unique_ptr<BYTE[]> larger(new (std::nothrow) BYTE[item.size]);
    if (!larger || !readPayload(item, larger.get(), item.size))
        return 0;
    buffer = std::move(larger);
    consume(stack[depth], item.itemBytes);
    return item.size;
}

bool CEBFFile::FileItem(const std::u16string& path) {
    if (!file)
        return false;
    std::u16string_view name = fileNameOf(path);
    return mode ? embedFile(path, name) : extractFile(path, name);
}

bool CEBFFile::embedFile(const std::u16string& path, std::u16string_view name) {
    std::unique_ptr<FILE, EBFStreamCloser> source(_wfopen(path.c_str(), u"rb"));
    if (!source || std::fseek(source.get(), 0, SEEK_END) != 0)
        return false;
    long bytes = std::ftell(source.get());
    if (bytes < 0 || uint64_t(bytes) > kLargestOffset || std::fseek(source.get(), 0, SEEK_SET) != 0)
        return false;
    auto fileSize = static_cast<DWORD>(bytes);
    std::unique_ptr<BYTE[]> data(new (std::nothrow) BYTE[fileSize == 0 ? 1 : fileSize]);
    if (!data || std::fread(data.get(), 1, fileSize, source.get()) != fileSize)
        return false;
    if (!BeginClass(name))
        return false;
    bool written = writeValue(u"FileSize", &fileSize, sizeof fileSize) &&
                   writeValue(u"FileData", data.get(), fileSize);
    return EndClass() && written;
}

bool CEBFFile::extractFile(const std::u16string& path, std::u16string_view name) {
    if (!BeginClass(name))
        return false;
    DWORD fileSize = 0;
    Value(u"FileSize", fileSize, DWORD(0));
    bool extracted = false;
    FoundItem item;
    if (fileSize != 0 && findValue(u"FileData", fileSize, 0, item)) {
        std::unique_ptr<FILE, EBFStreamCloser> target(_wfopen(path.c_str(), u"wb"));
        // Copied in pieces: the embedded file is never held in memory whole.
        std::unique_ptr<BYTE[]> chunk(new (std::nothrow) BYTE[kCopyChunk]);
        bool copied = target && chunk;
        for (DWORD done = 0; copied && done < fileSize;) {
            DWORD piece = std::min(kCopyChunk, fileSize - done);
            FoundItem part{item.payload + done, 0, piece, 0};
            copied = readPayload(part, chunk.get(), piece) &&
                     std::fwrite(chunk.get(), 1, piece, target.get()) == piece;
            done += piece;
        }
        if (target)
            copied = std::fclose(target.release()) == 0 && copied;
        if (copied) {
            consume(stack[depth], item.itemBytes);
            extracted = true;
        }
    }
    EndClass();
    return extracted;
}
