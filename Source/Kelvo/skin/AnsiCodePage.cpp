// Container names in the ANSI code page, through the platform's code-page conversion.
#include "skin/AnsiCodePage.h"

#include <winnls.h>

std::u16string textFromAnsi(std::string_view bytes) {
    if (bytes.empty()) return {};
    std::u16string text(bytes.size(), u'\0');  // one code unit per byte in this code page
    int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                                     text.data(), static_cast<int>(text.size()));
    text.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return text;
}

std::string ansiFromText(std::u16string_view text) {
    if (text.empty()) return {};
    std::string bytes(text.size(), '\0');  // at most one byte per code unit
    int length = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                     bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr);
    bytes.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return bytes;
}

bool ansiEquals(std::string_view bytes, std::u16string_view text) {
    return bytes.size() == text.size() && textFromAnsi(bytes) == text;
}
