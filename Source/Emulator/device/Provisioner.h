// What a provisioning step works with: the build's files, the device folder's record, and the
// "ensure" operations each step is made of. Every operation only adds what is missing or keeps
// a build's program current; none deletes a file or a value of the user's.
//
// Every step runs at every start. What a step adds for the user (folders, shortcuts, registry
// values, content files such as the default skin) is added only while the step is being
// provisioned: on the folder's first start, when the step is new to the folder, or when the
// folder's record of it was lost. A start after that leaves what the user removed removed;
// registry values come back only when the registry itself started empty. Program files
// (libraries, programs) are kept as this build has them on every start.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "device/ProvisionRecord.h"

struct ProvisionSources {
    std::filesystem::path kelvoLibrary;   // host path of Kelvo.dll
    std::filesystem::path helperProgram;  // host path of KvHelper.exe
    std::filesystem::path skinFile;       // host path of the default skin (Kelvo.ksk)
    std::filesystem::path skinHelpFile;   // host path of its help file (Kelvo.htm)
};

// Whether the device's registry started from its file or empty (the file was missing).
enum class RegistryStart { FromFile, Empty };

// Whether the device can work without what an operation adds: a required piece that fails
// stops provisioning with an error; an optional one becomes a warning.
enum class Need { Required, Optional };

class Provisioner {
public:
    Provisioner(const ProvisionSources& sources, ProvisionRecord& record,
                RegistryStart registryStart)
        : m_sources(sources), m_record(record), m_registryStart(registryStart) {}

    const ProvisionSources& sources() const { return m_sources; }

    // Whether the step now running is being provisioned (see above).
    bool provisioning() const { return m_provisioning; }

    // A device folder, made when missing while provisioning.
    void ensureFolder(std::u16string_view devicePath, Need need);
    // A shortcut file ("NN#target"), written when missing while provisioning.
    void ensureShortcut(std::u16string_view devicePath, std::u16string_view target, Need need);
    // A file whose bytes the build makes (sample data), written when missing while
    // provisioning; one that is there, whatever it holds, is the user's.
    void ensureFile(std::u16string_view devicePath, std::string_view bytes, Need need);
    // A registry value, set when the value is missing, while provisioning or when the
    // registry started empty. A value that is there, whatever it holds, is the user's.
    void ensureValue(HKEY root, std::u16string_view keyPath, std::u16string_view name, DWORD type,
                     const std::vector<BYTE>& data, Need need);
    // REG_SZ text, stored with its terminating zero as most writers do, or without it as the
    // keyboard itself writes "CurSkin".
    enum class Terminator { Included, Omitted };
    void ensureText(HKEY root, std::u16string_view keyPath, std::u16string_view name,
                    std::u16string_view text, Terminator terminator, Need need);

    // A program file of the build (a library, a program): the device's copy is replaced by
    // the build's whenever it is missing or differs, on every start (never the user's: it is
    // not recorded). True when it was.
    bool installProgramFile(const std::filesystem::path& hostFile, std::u16string_view devicePath,
                            Need need);
    // A content file of the build that the user may replace (the default skin, its help
    // file): installed when missing while provisioning; on a later start a copy that still
    // holds what was installed is brought up to the build's, and one the user replaced is
    // kept.
    void installContentFile(const std::filesystem::path& hostFile, std::u16string_view devicePath,
                            Need need);

    // A message for the user: something missing the device works without, or a repair made.
    void tell(std::string message) { m_messages.push_back(std::move(message)); }
    // The device cannot work; the remaining steps do not run.
    void fail(std::string message);
    bool failed() const { return !m_error.empty(); }

    // Used by provisionDevice around each step.
    void beginStep(std::string_view name);
    // True when the step ran without a failure and without anything missing, so that it is
    // recorded as done.
    bool stepComplete() const { return !failed() && !m_stepIncomplete; }
    const std::string& error() const { return m_error; }
    std::vector<std::string>& messages() { return m_messages; }

private:
    void problem(Need need, std::string message);
    bool copyIntoDevice(const std::filesystem::path& hostFile, std::u16string_view devicePath,
                        Need need);

    const ProvisionSources& m_sources;
    ProvisionRecord& m_record;
    RegistryStart m_registryStart;
    bool m_provisioning = false;
    bool m_stepIncomplete = false;
    std::string m_error;
    std::vector<std::string> m_messages;
};
