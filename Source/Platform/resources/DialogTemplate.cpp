// The reader of binary dialog templates. Templates come from module resources but are read as
// hostile bytes: every field and string is checked against the end before it is read.
#include <device/Resources.h>

namespace platform {

namespace {

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool word(uint16_t& out) {
        if (size_ - at_ < 2)
            return false;
        out = static_cast<uint16_t>(data_[at_] | (data_[at_ + 1] << 8));
        at_ += 2;
        return true;
    }
    bool dword(uint32_t& out) {
        uint16_t low = 0, high = 0;
        if (!word(low) || !word(high))
            return false;
        out = low | (static_cast<uint32_t>(high) << 16);
        return true;
    }
    bool shortValue(SHORT& out) {
        uint16_t value = 0;
        if (!word(value))
            return false;
        out = static_cast<SHORT>(value);
        return true;
    }
    bool rect(SHORT& x, SHORT& y, SHORT& cx, SHORT& cy) {
        return shortValue(x) && shortValue(y) && shortValue(cx) && shortValue(cy);
    }
    bool string(std::u16string& out) {
        uint16_t length = 0;
        if (!word(length))
            return false;
        if ((size_ - at_) / 2 < length)
            return false;
        out.resize(length);
        for (uint16_t i = 0; i < length; ++i) {
            uint16_t unit = 0;
            word(unit);
            out[i] = static_cast<char16_t>(unit);
        }
        return true;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

}  // namespace

std::optional<DialogTemplate> parseDialogTemplate(const uint8_t* data, size_t size) {
    if (data == nullptr)
        return std::nullopt;
    Reader in(data, size);
    uint32_t magic = 0;
    uint16_t version = 0, controlCount = 0;
    if (!in.dword(magic) || magic != kDialogTemplateMagic)
        return std::nullopt;
    if (!in.word(version) || version != kDialogTemplateVersion)
        return std::nullopt;
    DialogTemplate dialog;
    if (!in.word(controlCount) || !in.dword(dialog.style) || !in.dword(dialog.exStyle) ||
        !in.rect(dialog.x, dialog.y, dialog.cx, dialog.cy) || !in.word(dialog.pointSize) ||
        !in.string(dialog.fontName) || !in.string(dialog.title)) {
        return std::nullopt;
    }
    for (uint16_t i = 0; i < controlCount; ++i) {
        DialogControl control;
        uint16_t itemCount = 0;
        if (!in.dword(control.style) || !in.dword(control.exStyle) ||
            !in.rect(control.x, control.y, control.cx, control.cy) || !in.word(control.id) ||
            !in.string(control.className) || !in.string(control.text) || !in.word(itemCount)) {
            return std::nullopt;
        }
        for (uint16_t k = 0; k < itemCount; ++k) {
            std::u16string item;
            if (!in.string(item))
                return std::nullopt;
            control.items.push_back(std::move(item));
        }
        dialog.controls.push_back(std::move(control));
    }
    return dialog;
}

}  // namespace platform
