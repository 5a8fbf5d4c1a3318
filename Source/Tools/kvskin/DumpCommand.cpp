// The dump prints the items as the container walk meets them; the walk checks each item
// before it is printed, so the tree stops at a broken item, which is reported by its path.
#include "DumpCommand.h"

#include <device/FileSystem.h>
#include <winbase.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <system_error>

#include <wchar16.h>
#include "ContainerWalk.h"

namespace {

constexpr DWORD kShortDumpBytes = 16;
constexpr DWORD kReadChunk = 4096;

struct StreamCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

// "1 item", "2 items".
std::string counted(uint32_t n, const char* what) {
    return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
}

// Prints each item as the walk meets it, indented two spaces per level.
class TreePrinter : public ContainerVisitor {
public:
    TreePrinter(FILE* file, DumpBytes bytes, FILE* out)
        : m_file(file), m_bytes(bytes), m_out(out) {}

    void classItem(const EBFItemHeader& item, int depth) override {
        std::fprintf(m_out, "%*s%s (class, %s, %s)\n", depth * 2, "",
                     printableName(item.name).c_str(), counted(item.count, "item").c_str(),
                     counted(item.size, "byte").c_str());
    }

    bool valueItem(const EBFItemHeader& item, int depth) override {
        std::fprintf(m_out, "%*s%s (value, %s)", depth * 2, "", printableName(item.name).c_str(),
                     counted(item.size, "byte").c_str());
        const DWORD shown =
            m_bytes == DumpBytes::all ? item.size : std::min(item.size, kShortDumpBytes);
        if (std::fseek(m_file, long(item.payloadOffset()), SEEK_SET) != 0)
            return false;
        BYTE chunk[kReadChunk];
        for (DWORD done = 0; done < shown;) {
            const DWORD piece = std::min(kReadChunk, shown - done);
            if (std::fread(chunk, 1, piece, m_file) != piece)
                return false;
            for (DWORD i = 0; i < piece; ++i)
                std::fprintf(m_out, " %02X", unsigned(chunk[i]));
            done += piece;
        }
        std::fputc('\n', m_out);
        return true;
    }

private:
    FILE* m_file;
    DumpBytes m_bytes;
    FILE* m_out;
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
    TreePrinter printer(stream.get(), bytes, out);
    const std::optional<ContainerFault> fault =
        walkContainer(stream.get(), DWORD(length), &printer);
    if (!fault)
        return 0;
    std::fflush(out);
    std::fprintf(err, "kvskin: %s\n", fault->text().c_str());
    return 1;
}
