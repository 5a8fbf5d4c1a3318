// Feeds arbitrary bytes to the UTF-16 text readers, as pasted or loaded text reaches them:
// UTF-8 and code page decoding, wcstod and wcstol, case-insensitive comparison and %s output.
// Decoded text must survive a UTF-8 round trip, and every end pointer must stay in its text.
#include <wchar16.h>
#include <winnls.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

void readNumbers(const std::u16string& text, int base) {
    const WCHAR* start = text.c_str();
    size_t length = wcslen(start);
    WCHAR* end = nullptr;
    wcstod(start, &end);
    check(end >= start && end <= start + length);
    wcstol(start, &end, base);
    check(end >= start && end <= start + length);
    wcstoul(start, &end, base);
    check(end >= start && end <= start + length);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::u16string decoded = platform::fromUtf8(bytes);
    check(platform::fromUtf8(platform::toUtf8(decoded)) == decoded);

    // The same bytes taken as raw UTF-16 units, lone surrogates and all.
    std::u16string units(size / 2, u'\0');
    if (!units.empty())
        std::memcpy(units.data(), data, units.size() * 2);
    std::string utf8 = platform::toUtf8(units);
    check(platform::toUtf8(platform::fromUtf8(utf8)) == utf8);

    int base = size > 0 ? data[0] % 38 : 10;
    readNumbers(decoded, base);
    readNumbers(units, base);

    for (UINT codePage : {CP_UTF8, CP_ACP}) {
        int needed = size > 0 ? MultiByteToWideChar(codePage, 0, bytes.data(),
                                                    static_cast<int>(size), nullptr, 0)
                              : 0;
        if (needed > 0) {
            std::vector<WCHAR> out(static_cast<size_t>(needed));
            check(MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(size), out.data(),
                                      needed) == needed);
            if (codePage == CP_UTF8)
                check(std::u16string(out.begin(), out.end()) == decoded);
        }
        if (!units.empty()) {
            int narrow =
                WideCharToMultiByte(codePage, 0, units.data(), static_cast<int>(units.size()),
                                    nullptr, 0, nullptr, nullptr);
            std::vector<char> out(static_cast<size_t>(narrow > 0 ? narrow : 1));
            WideCharToMultiByte(codePage, 0, units.data(), static_cast<int>(units.size()),
                                out.data(), narrow, nullptr, nullptr);
        }
    }

    check((_wcsicmp(decoded.c_str(), units.c_str()) == 0) ==
          (_wcsicmp(units.c_str(), decoded.c_str()) == 0));
    check(lstrcmpiW(decoded.c_str(), decoded.c_str()) == 0);
    std::u16string shown =
        platform::formatText(u"%s|%.3s|%-5s", units.c_str(), decoded.c_str(), units.c_str());
    check(shown.size() >= 2);
    WCHAR small[8];
    _snwprintf(small, 8, u"%s", decoded.c_str());
    swprintf(small, 8, u"%s", units.c_str());
    return 0;
}
