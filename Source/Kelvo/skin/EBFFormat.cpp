// Reading and writing container item headers, and the checked walk over a class's children.
#include "skin/EBFFormat.h"

namespace {

void putLittleEndian32(BYTE* out, DWORD value) {
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<BYTE>(value >> (8 * i));
}

DWORD getLittleEndian32(const BYTE* in) {
    return DWORD(in[0]) | DWORD(in[1]) << 8 | DWORD(in[2]) << 16 | DWORD(in[3]) << 24;
}

}  // namespace

EBFFault readEBFItemHeader(FILE* file, DWORD offset, uint64_t limit, EBFItemHeader& header) {
    header = EBFItemHeader{};
    header.offset = offset;
    if (offset > limit || limit - offset < kEBFHeaderFixedBytes)
        return EBFFault::noRoomForItem;
    if (std::fseek(file, static_cast<long>(offset), SEEK_SET) != 0)
        return EBFFault::readFailed;
    int length = std::fgetc(file);
    if (length == EOF)
        return EBFFault::readFailed;
    uint64_t room = limit - offset;
    if (room < kEBFHeaderFixedBytes + DWORD(length))
        return EBFFault::nameRunsPast;
    BYTE rest[kEBFMaxNameBytes + 8];
    size_t restBytes = size_t(length) + 8;
    if (std::fread(rest, 1, restBytes, file) != restBytes)
        return EBFFault::readFailed;
    header.name.assign(reinterpret_cast<const char*>(rest), size_t(length));
    header.count = getLittleEndian32(rest + length);
    header.size = getLittleEndian32(rest + length + 4);
    if (room - kEBFHeaderFixedBytes - DWORD(length) < header.size)
        return EBFFault::sizeRunsPast;
    return EBFFault::none;
}

bool writeEBFItemHeader(FILE* file, std::string_view name, DWORD count, DWORD size) {
    if (name.size() > kEBFMaxNameBytes)
        return false;
    BYTE header[kEBFMaxNameBytes + kEBFHeaderFixedBytes];
    header[0] = static_cast<BYTE>(name.size());
    name.copy(reinterpret_cast<char*>(header + 1), name.size());
    putLittleEndian32(header + 1 + name.size(), count);
    putLittleEndian32(header + 5 + name.size(), size);
    size_t bytes = name.size() + kEBFHeaderFixedBytes;
    return std::fwrite(header, 1, bytes, file) == bytes;
}

bool writeEBFCountAndSize(FILE* file, DWORD count, DWORD size) {
    BYTE fields[8];
    putLittleEndian32(fields, count);
    putLittleEndian32(fields + 4, size);
    return std::fwrite(fields, 1, sizeof fields, file) == sizeof fields;
}

EBFChildWalk::EBFChildWalk(FILE* file, DWORD firstChild, DWORD count, DWORD size)
    : m_file(file), m_offset(firstChild), m_end(uint64_t(firstChild) + size), m_count(count) {}

bool EBFChildWalk::next(EBFItemHeader& child) {
    if (m_done)
        return false;
    if (m_index == m_count) {
        m_done = true;
        if (m_offset != m_end)
            m_fault = EBFFault::bytesLeftOver;
        return false;
    }
    EBFFault fault = readEBFItemHeader(m_file, m_offset, m_end, child);
    if (fault != EBFFault::none) {
        m_fault = fault;
        m_done = true;
        return false;
    }
    // The child lies inside the class, so its end fits the class's 32-bit offsets.
    m_offset = static_cast<DWORD>(child.end());
    ++m_index;
    return true;
}

bool ebfChildrenFillClass(FILE* file, DWORD firstChild, DWORD count, DWORD size) {
    EBFChildWalk walk(file, firstChild, count, size);
    EBFItemHeader child;
    while (walk.next(child)) {
    }
    return walk.fault() == EBFFault::none;
}
