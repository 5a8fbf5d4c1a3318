// The device folder's record of provisioning.
#include "device/ProvisionRecord.h"

#include <device/AtomicFile.h>
#include <wchar16.h>

#include <charconv>
#include <cstring>
#include <fstream>

namespace {

constexpr uint64_t kFnvOffset = 0xCBF29CE484222325ull;
constexpr uint64_t kFnvPrime = 0x100000001B3ull;
// The records are a few lines; a file larger than this is not one of them.
constexpr std::uintmax_t kMaxRecordBytes = 1 << 20;

// Only plain files are read: opening a FIFO left where a file should be would wait for a writer
// that never comes.
bool isPlainFile(const std::filesystem::path& path) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(path, ignored);
}

std::string readSmallFile(const std::filesystem::path& path) {
    if (!isPlainFile(path))
        return {};
    std::error_code code;
    const std::uintmax_t size = std::filesystem::file_size(path, code);
    if (code || size > kMaxRecordBytes)
        return {};
    std::ifstream in(path, std::ios::binary);
    std::string text(static_cast<size_t>(size), '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    return text;
}

// Calls `line` with each line of `text`, its line break and surrounding blanks removed, skipping
// empty lines and "#" comments.
template <typename LineFn>
void forEachLine(std::string_view text, LineFn line) {
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view one = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        while (!one.empty() && (one.back() == '\r' || one.back() == ' ' || one.back() == '\t'))
            one.remove_suffix(1);
        while (!one.empty() && (one.front() == ' ' || one.front() == '\t'))
            one.remove_prefix(1);
        if (!one.empty() && one.front() != '#')
            line(one);
    }
}

// The next blank-separated field of `line`, removed from it.
std::string_view takeField(std::string_view& line) {
    const size_t end = line.find(' ');
    std::string_view field = line.substr(0, end);
    line.remove_prefix(end == std::string_view::npos ? line.size() : end + 1);
    return field;
}

bool parseNumber(std::string_view text, uint64_t& value, int base) {
    if (text.empty())
        return false;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::optional<FileDigest> digestOfFile(const std::filesystem::path& path) {
    if (!isPlainFile(path))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    FileDigest digest{0, kFnvOffset};
    char buffer[1 << 16];
    while (in) {
        in.read(buffer, sizeof(buffer));
        const std::streamsize got = in.gcount();
        for (std::streamsize i = 0; i < got; ++i) {
            digest.hash ^= static_cast<unsigned char>(buffer[i]);
            digest.hash *= kFnvPrime;
        }
        digest.size += static_cast<uint64_t>(got);
    }
    if (in.bad())
        return std::nullopt;
    return digest;
}

bool sameFileContents(const std::filesystem::path& a, const std::filesystem::path& b) {
    if (!isPlainFile(a) || !isPlainFile(b))
        return false;
    std::error_code code;
    const std::uintmax_t size = std::filesystem::file_size(a, code);
    if (code || std::filesystem::file_size(b, code) != size || code)
        return false;
    std::ifstream first(a, std::ios::binary);
    std::ifstream second(b, std::ios::binary);
    char one[1 << 16];
    char other[1 << 16];
    while (first && second) {
        first.read(one, sizeof(one));
        second.read(other, sizeof(other));
        if (first.gcount() != second.gcount() ||
            std::memcmp(one, other, static_cast<size_t>(first.gcount())) != 0)
            return false;
    }
    return first.eof() && second.eof();
}

void ProvisionRecord::load() {
    m_steps.clear();
    m_files.clear();
    readSteps(readSmallFile(m_stepsFile));
    readFiles(readSmallFile(m_filesFile));
}

bool ProvisionRecord::save(std::string& error) const {
    return device::replaceFileContents(m_stepsFile, stepsText(), error) &&
           device::replaceFileContents(m_filesFile, filesText(), error);
}

std::optional<FileDigest> ProvisionRecord::installed(std::u16string_view devicePath) const {
    auto found = m_files.find(devicePath);
    if (found == m_files.end())
        return std::nullopt;
    return found->second;
}

void ProvisionRecord::markInstalled(std::u16string_view devicePath, const FileDigest& digest) {
    m_files[std::u16string(devicePath)] = digest;
}

std::string ProvisionRecord::stepsText() const {
    std::string text = "# kvemu: the provisioning steps this device folder has been through\n";
    for (const std::string& step : m_steps)
        text += step + "\n";
    return text;
}

std::string ProvisionRecord::filesText() const {
    std::string text = "# kvemu: build files installed on this device: hash, size, device path\n";
    for (const auto& [path, digest] : m_files) {
        char fields[48];
        std::snprintf(fields, sizeof(fields), "%016llx %llu ",
                      static_cast<unsigned long long>(digest.hash),
                      static_cast<unsigned long long>(digest.size));
        text += fields + platform::toUtf8(path) + "\n";
    }
    return text;
}

void ProvisionRecord::readSteps(std::string_view text) {
    forEachLine(text, [&](std::string_view line) { m_steps.insert(std::string(line)); });
}

void ProvisionRecord::readFiles(std::string_view text) {
    forEachLine(text, [&](std::string_view line) {
        FileDigest digest;
        if (!parseNumber(takeField(line), digest.hash, 16) ||
            !parseNumber(takeField(line), digest.size, 10) || line.empty() || line[0] != '\\')
            return;
        const std::u16string path = platform::fromUtf8(line);
        if (!path.empty())
            m_files[path] = digest;
    });
}
