// The device's event log: what the device did that a test or the emulator wants to see
// (processes started, beeps, ...). Kept in memory; the emulator can also append it to a file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace device {

struct Event {
    uint64_t timeMs;      // device clock
    std::u16string kind;  // "process", "beep", ...
    std::u16string text;
};

void logEvent(std::u16string_view kind, std::u16string_view text);
std::vector<Event> eventLog();
std::vector<Event> eventsOfKind(std::u16string_view kind);
void clearEventLog();
// From now on every event is also appended, one line each, to `path` (UTF-8).
void appendEventLogTo(const std::filesystem::path& path);

}  // namespace device
