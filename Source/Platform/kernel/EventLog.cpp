// The device's event log.
#include <device/Clock.h>
#include <device/EventLog.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <mutex>

#include <wchar16.h>
#include "kernel/DeviceReset.h"

namespace device {

namespace {

struct Log {
    std::mutex mutex;
    std::vector<Event> events;
    std::filesystem::path file;
    std::string fileError;
};

std::string cannotWrite(const std::filesystem::path& path) {
    return "cannot write the event log " + path.string() + ": " +
           (errno != 0 ? std::strerror(errno) : "the file does not take it");
}

Log& log() {
    static Log* instance = new Log;
    return *instance;
}

// A fresh device has logged nothing and writes its log nowhere but in memory.
const bool resetRegistered = platform::addResetStep(platform::ResetStage::Device, [] {
    auto& target = log();
    std::lock_guard lock(target.mutex);
    target.events.clear();
    target.file.clear();
    target.fileError.clear();
});

}  // namespace

void logEvent(std::u16string_view kind, std::u16string_view text) {
    auto& target = log();
    Event event{nowMs(), std::u16string(kind), std::u16string(text)};
    std::lock_guard lock(target.mutex);
    if (!target.file.empty()) {
        errno = 0;
        std::ofstream out(target.file, std::ios::app);
        out << event.timeMs << ' ' << platform::toUtf8(kind) << ' ' << platform::toUtf8(text)
            << '\n';
        if (!out.flush() && target.fileError.empty())
            target.fileError = cannotWrite(target.file);
    }
    target.events.push_back(std::move(event));
}

std::vector<Event> eventLog() {
    auto& target = log();
    std::lock_guard lock(target.mutex);
    return target.events;
}

std::vector<Event> eventsOfKind(std::u16string_view kind) {
    std::vector<Event> result;
    for (auto& event : eventLog()) {
        if (event.kind == kind)
            result.push_back(std::move(event));
    }
    return result;
}

void clearEventLog() {
    auto& target = log();
    std::lock_guard lock(target.mutex);
    target.events.clear();
}

bool appendEventLogTo(const std::filesystem::path& path, std::string& error) {
    auto& target = log();
    std::lock_guard lock(target.mutex);
    errno = 0;
    std::ofstream out(path, std::ios::app);
    if (!out) {
        error = cannotWrite(path);
        return false;
    }
    target.file = path;
    target.fileError.clear();
    return true;
}

void stopAppendingEventLog() {
    auto& target = log();
    std::lock_guard lock(target.mutex);
    target.file.clear();
    target.fileError.clear();
}

std::string eventLogFileError() {
    auto& target = log();
    std::lock_guard lock(target.mutex);
    return target.fileError;
}

}  // namespace device
