// The walk goes one class at a time with EBFChildWalk, the same check the library's reader
// makes, and describes each fault in words that name the item's class or the file.
#include "ContainerWalk.h"

#include <wchar16.h>
#include "skin/AnsiCodePage.h"

namespace {

class Walker {
public:
    Walker(FILE* file, DWORD length, ContainerVisitor* visitor)
        : m_file(file), m_length(length), m_visitor(visitor) {}

    std::optional<ContainerFault> walkMain() {
        EBFItemHeader main;
        const EBFFault fault = readEBFItemHeader(m_file, 0, m_length, main);
        const std::string path = main.name.empty() ? "(main class)" : printableName(main.name);
        if (fault != EBFFault::none)
            return ContainerFault{path, 0, describeHeaderFault(fault, main, m_length, "the file")};
        if (main.count == 0 && main.size != 0)
            return ContainerFault{
                path, 0, "it is a value of " + std::to_string(main.size) + " bytes, not a class"};
        if (m_visitor != nullptr)
            m_visitor->classItem(main, 0);
        if (auto broken = walkChildren(main, path, 1))
            return broken;
        if (main.end() < m_length)
            return ContainerFault{
                path, 0, std::to_string(m_length - main.end()) + " bytes follow it in the file"};
        return std::nullopt;
    }

private:
    // The children of a class at the given depth (the main class's children are at depth 1),
    // which must fill the class exactly.
    std::optional<ContainerFault> walkChildren(const EBFItemHeader& owner,
                                               const std::string& ownerPath, int depth) {
        EBFChildWalk walk(m_file, owner.payloadOffset(), owner.count, owner.size);
        EBFItemHeader child;
        while (walk.next(child)) {
            const std::string path = ownerPath + "/" + printableName(child.name);
            if (child.count == 0) {
                if (m_visitor != nullptr && !m_visitor->valueItem(child, depth))
                    return ContainerFault{path, child.offset, "its bytes could not be read"};
                continue;
            }
            if (depth + 1 > kEBFMaxClassDepth)
                return ContainerFault{
                    path, child.offset,
                    "classes nest deeper than " + std::to_string(kEBFMaxClassDepth)};
            if (m_visitor != nullptr)
                m_visitor->classItem(child, depth);
            if (auto broken = walkChildren(child, path, depth + 1))
                return broken;
        }
        const uint64_t ownerEnd = uint64_t(owner.payloadOffset()) + owner.size;
        switch (walk.fault()) {
            case EBFFault::none:
                return std::nullopt;
            case EBFFault::noRoomForItem:
                return ContainerFault{ownerPath, owner.offset,
                                      "it claims " + std::to_string(owner.count) +
                                          " items but only " + std::to_string(walk.index()) +
                                          " fit in its " + std::to_string(owner.size) + " bytes"};
            case EBFFault::bytesLeftOver:
                return ContainerFault{ownerPath, owner.offset,
                                      "its " + std::to_string(owner.count) + " items end " +
                                          std::to_string(ownerEnd - walk.offset()) +
                                          " bytes before its size does"};
            default: {
                const std::string path = ownerPath + "/" +
                                         (child.name.empty() ? "#" + std::to_string(walk.index())
                                                             : printableName(child.name));
                return ContainerFault{
                    path, walk.offset(),
                    describeHeaderFault(walk.fault(), child, ownerEnd, "its class")};
            }
        }
    }

    static std::string describeHeaderFault(EBFFault fault, const EBFItemHeader& item, uint64_t end,
                                           const std::string& where) {
        const std::string ends = where + " (which ends at offset " + std::to_string(end) + ")";
        switch (fault) {
            case EBFFault::noRoomForItem:
                return "its header runs past the end of " + ends;
            case EBFFault::nameRunsPast:
                return "its name runs past the end of " + ends;
            case EBFFault::sizeRunsPast:
                return "its " + std::to_string(item.size) + " bytes run past the end of " + ends;
            default:
                return "the file could not be read there";
        }
    }

    FILE* m_file;
    DWORD m_length;
    ContainerVisitor* m_visitor;
};

}  // namespace

std::string ContainerFault::text() const {
    return "broken item " + path + " at offset " + std::to_string(offset) + ": " + why;
}

std::optional<ContainerFault> walkContainer(FILE* file, DWORD length, ContainerVisitor* visitor) {
    return Walker(file, length, visitor).walkMain();
}

std::string printableName(const std::string& stored) {
    std::u16string text = textFromAnsi(stored);
    std::u16string shown;
    for (char16_t unit : text) {
        if (unit < 0x20 || (unit >= 0x7F && unit < 0xA0) || unit == u'\\') {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", unsigned(unit));
            shown += platform::fromUtf8(escape);
        } else {
            shown += unit;
        }
    }
    return platform::toUtf8(shown);
}
