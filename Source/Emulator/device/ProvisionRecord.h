// What provisioning has done to a device folder, kept beside the device: the steps it has
// been through (the mark "provisioned", one step name a line) and the content files it
// installed ("installed": each file's digest and device path), so that a later start can tell
// a file a build put there from one the user replaced.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

// A file's contents in brief: its size and a 64-bit hash, enough to tell two builds' files or
// a user's replacement apart (not a defence against someone who wants to fool it).
struct FileDigest {
    uint64_t size = 0;
    uint64_t hash = 0;
    bool operator==(const FileDigest&) const = default;
};

// Nothing when the file cannot be read.
std::optional<FileDigest> digestOfFile(const std::filesystem::path& path);
// Whether two files hold the same bytes (false when either cannot be read).
bool sameFileContents(const std::filesystem::path& a, const std::filesystem::path& b);

class ProvisionRecord {
public:
    ProvisionRecord() = default;
    ProvisionRecord(std::filesystem::path stepsFile, std::filesystem::path filesFile)
        : m_stepsFile(std::move(stepsFile)), m_filesFile(std::move(filesFile)) {}

    // Reads both files; missing ones are empty records, and lines that do not fit are skipped
    // (the files are ours, but they sit in a folder the user may edit).
    void load();
    // Writes both files, each replaced atomically. False with a message when that fails.
    bool save(std::string& error) const;

    bool stepDone(std::string_view step) const { return m_steps.count(std::string(step)) != 0; }
    void markStepDone(std::string_view step) { m_steps.insert(std::string(step)); }

    std::optional<FileDigest> installed(std::u16string_view devicePath) const;
    void markInstalled(std::u16string_view devicePath, const FileDigest& digest);

    // The files' texts, and reading them back (for the files and for tests).
    std::string stepsText() const;
    std::string filesText() const;
    void readSteps(std::string_view text);
    void readFiles(std::string_view text);

private:
    std::filesystem::path m_stepsFile;
    std::filesystem::path m_filesFile;
    std::set<std::string> m_steps;
    std::map<std::u16string, FileDigest, std::less<>> m_files;  // by device path
};
