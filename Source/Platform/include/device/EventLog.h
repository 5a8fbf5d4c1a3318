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
// From now on every event is also appended, one line each, to `path` (UTF-8). False with
// `error` when the file cannot be opened for appending; no file is attached then.
bool appendEventLogTo(const std::filesystem::path& path, std::string& error);
// Stops appending to a file.
void stopAppendingEventLog();
// The first failure to append an event to the file since it was attached; empty while every
// event has been written.
std::string eventLogFileError();

}  // namespace device
