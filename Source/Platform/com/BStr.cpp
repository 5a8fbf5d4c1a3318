// BSTR allocation: a header holding the byte length sits right before the text, which is
// always followed by a zero unit, so that a BSTR is also an ordinary UTF-16 string.
#include <oleauto.h>

#include <cstdlib>
#include <cstring>

namespace {

// The length sits in the last four bytes of an eight-byte header, so the text stays aligned.
constexpr size_t kHeaderSize = 8;

// BSTR lengths are 32-bit byte counts.
constexpr UINT kMaxLength = (0xFFFFFFFFu - kHeaderSize - sizeof(OLECHAR)) / sizeof(OLECHAR);

BYTE* blockOf(BSTR text) {
    return reinterpret_cast<BYTE*>(text) - kHeaderSize;
}

}  // namespace

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
    if (length > kMaxLength)
        return nullptr;
    size_t bytes = static_cast<size_t>(length) * sizeof(OLECHAR);
    auto* block = static_cast<BYTE*>(std::malloc(kHeaderSize + bytes + sizeof(OLECHAR)));
    if (block == nullptr)
        return nullptr;
    DWORD byteLength = static_cast<DWORD>(bytes);
    std::memcpy(block + kHeaderSize - sizeof(DWORD), &byteLength, sizeof(DWORD));
    BSTR result = reinterpret_cast<BSTR>(block + kHeaderSize);
    if (text != nullptr) {
        std::memcpy(result, text, bytes);
    } else {
        std::memset(result, 0, bytes);
    }
    result[length] = 0;
    return result;
}

BSTR SysAllocString(const OLECHAR* text) {
    if (text == nullptr)
        return nullptr;
    UINT length = 0;
    while (text[length] != 0)
        ++length;
    return SysAllocStringLen(text, length);
}

UINT SysStringByteLen(BSTR text) {
    if (text == nullptr)
        return 0;
    DWORD byteLength = 0;
    std::memcpy(&byteLength, blockOf(text) + kHeaderSize - sizeof(DWORD), sizeof(DWORD));
    return byteLength;
}

UINT SysStringLen(BSTR text) {
    return SysStringByteLen(text) / sizeof(OLECHAR);
}

void SysFreeString(BSTR text) {
    if (text != nullptr)
        std::free(blockOf(text));
}
