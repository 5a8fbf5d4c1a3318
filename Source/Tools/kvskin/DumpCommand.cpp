// The dump walks the container with the shared header reader, one class at a time: each item
// is checked against its class before it is printed, so a broken item is reported by the path
// of names that leads to it and its offset, and nothing is read outside the file.
#include "DumpCommand.h"

#include <device/FileSystem.h>
#include <winbase.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <memory>
#include <string>
#include <system_error>

#include <wchar16.h>
#include "skin/AnsiCodePage.h"
#include "skin/EBFFormat.h"

namespace {

constexpr DWORD kShortDumpBytes = 16;
constexpr DWORD kReadChunk = 4096;

struct StreamCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

// An item name for the console: control characters are shown as \xNN.
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

class Dumper {
public:
    Dumper(FILE* file, DWORD length, DumpBytes bytes, FILE* out, FILE* err)
        : m_file(file), m_length(length), m_bytes(bytes), m_out(out), m_err(err) {}

    bool dumpMain() {
        EBFItemHeader main;
        EBFFault fault = readEBFItemHeader(m_file, 0, m_length, main);
        std::string path = main.name.empty() ? "(main class)" : printableName(main.name);
        if (fault != EBFFault::none)
            return broken(path, 0, describeHeaderFault(fault, main, m_length, "the file"));
        if (main.count == 0 && main.size != 0)
            return broken(path, 0,
                          "it is a value of " + std::to_string(main.size) + " bytes, not a class");
        printClass(main, 0);
        if (!dumpChildren(main, path, 1))
            return false;
        if (main.end() < m_length)
            return broken(path, 0,
                          std::to_string(m_length - main.end()) + " bytes follow it in the file");
        return true;
    }

private:
    // Prints the children of a class at the given nesting depth (the main class's children
    // are at depth 1), and checks that they fill the class exactly.
    bool dumpChildren(const EBFItemHeader& owner, const std::string& ownerPath, int depth) {
        EBFChildWalk walk(m_file, owner.payloadOffset(), owner.count, owner.size);
        EBFItemHeader child;
        while (walk.next(child)) {
            std::string path = ownerPath + "/" + printableName(child.name);
            if (child.count == 0) {
                if (!printValue(child, depth))
                    return broken(path, child.offset, "its bytes could not be read");
                continue;
            }
            if (depth + 1 > kEBFMaxClassDepth)
                return broken(path, child.offset,
                              "classes nest deeper than " + std::to_string(kEBFMaxClassDepth));
            printClass(child, depth);
            if (!dumpChildren(child, path, depth + 1))
                return false;
        }
        uint64_t ownerEnd = uint64_t(owner.payloadOffset()) + owner.size;
        switch (walk.fault()) {
            case EBFFault::none:
                return true;
            case EBFFault::noRoomForItem:
                return broken(ownerPath, owner.offset,
                              "it claims " + std::to_string(owner.count) + " items but only " +
                                  std::to_string(walk.index()) + " fit in its " +
                                  std::to_string(owner.size) + " bytes");
            case EBFFault::bytesLeftOver:
                return broken(ownerPath, owner.offset,
                              "its " + std::to_string(owner.count) + " items end " +
                                  std::to_string(ownerEnd - walk.offset()) +
                                  " bytes before its size does");
            default: {
                std::string path = ownerPath + "/" +
                                   (child.name.empty() ? "#" + std::to_string(walk.index())
                                                       : printableName(child.name));
                return broken(path, walk.offset(),
                              describeHeaderFault(walk.fault(), child, ownerEnd, "its class"));
            }
        }
    }

    static std::string describeHeaderFault(EBFFault fault, const EBFItemHeader& item, uint64_t end,
                                           const std::string& where) {
        std::string ends = where + " (which ends at offset " + std::to_string(end) + ")";
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

    void printClass(const EBFItemHeader& item, int depth) {
        std::fprintf(m_out, "%*s%s (class, %" PRIu32 " items, %" PRIu32 " bytes)\n", depth * 2, "",
                     printableName(item.name).c_str(), item.count, item.size);
    }

    bool printValue(const EBFItemHeader& item, int depth) {
        std::fprintf(m_out, "%*s%s (value, %" PRIu32 " bytes)", depth * 2, "",
                     printableName(item.name).c_str(), item.size);
        DWORD shown = m_bytes == DumpBytes::all ? item.size : std::min(item.size, kShortDumpBytes);
        if (std::fseek(m_file, long(item.payloadOffset()), SEEK_SET) != 0)
            return false;
        BYTE chunk[kReadChunk];
        for (DWORD done = 0; done < shown;) {
            DWORD piece = std::min(kReadChunk, shown - done);
            if (std::fread(chunk, 1, piece, m_file) != piece)
                return false;
            for (DWORD i = 0; i < piece; ++i)
                std::fprintf(m_out, " %02X", unsigned(chunk[i]));
            done += piece;
        }
        std::fputc('\n', m_out);
        return true;
    }

    bool broken(const std::string& path, DWORD offset, const std::string& why) {
        std::fflush(m_out);
        std::fprintf(m_err, "kvskin: broken item %s at offset %" PRIu32 ": %s\n", path.c_str(),
                     offset, why.c_str());
        return false;
    }

    FILE* m_file;
    DWORD m_length;
    DumpBytes m_bytes;
    FILE* m_out;
    FILE* m_err;
};

}  // namespace

int dumpContainer(const std::filesystem::path& hostFile, DumpBytes bytes, FILE* out, FILE* err) {
    std::error_code error;
    auto file = std::filesystem::canonical(hostFile, error);
    if (error || !std::filesystem::is_regular_file(file, error)) {
        std::fprintf(err, "kvskin: cannot open %s: %s\n", hostFile.c_str(),
                     error ? error.message().c_str() : "not a file");
        return 1;
    }
    // The file's folder becomes the device's root, so that the container is read through the
    // device's own file calls; the dump only ever reads there.
    device::setDeviceRoot(file.parent_path());
    std::u16string devicePath = u"\\" + platform::fromUtf8(file.filename().string());
    std::unique_ptr<FILE, StreamCloser> stream(_wfopen(devicePath.c_str(), u"rb"));
    if (!stream || std::fseek(stream.get(), 0, SEEK_END) != 0) {
        std::fprintf(err, "kvskin: cannot open %s\n", hostFile.c_str());
        return 1;
    }
    long length = std::ftell(stream.get());
    if (length < 0) {
        std::fprintf(err, "kvskin: cannot read %s\n", hostFile.c_str());
        return 1;
    }
    if (uint64_t(length) > 0xFFFFFFFFu) {
        std::fprintf(err, "kvskin: %s is larger than a container can be (4 GiB)\n",
                     hostFile.c_str());
        return 1;
    }
    Dumper dumper(stream.get(), DWORD(length), bytes, out, err);
    return dumper.dumpMain() ? 0 : 1;
}
