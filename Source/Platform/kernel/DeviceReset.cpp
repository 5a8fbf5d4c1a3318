// The device reset: the steps every part of the platform registered, run stage by stage once
// no device process is left running.
#include "kernel/DeviceReset.h"

#include <device/Reset.h>

#include <mutex>
#include <vector>

namespace platform {

namespace {

struct ResetSteps {
    std::mutex mutex;
    std::vector<std::pair<ResetStage, std::function<void()>>> steps;
};

ResetSteps& resetSteps() {
    static auto* steps = new ResetSteps;
    return *steps;
}

}  // namespace

bool addResetStep(ResetStage stage, std::function<void()> step) {
    auto& registered = resetSteps();
    std::lock_guard lock(registered.mutex);
    registered.steps.emplace_back(stage, std::move(step));
    return true;
}

}  // namespace platform

bool device::resetDevice() {
    if (!runningProcesses().empty())
        return false;
    std::vector<std::pair<platform::ResetStage, std::function<void()>>> steps;
    {
        auto& registered = platform::resetSteps();
        std::lock_guard lock(registered.mutex);
        steps = registered.steps;
    }
    for (auto stage : {platform::ResetStage::Windows, platform::ResetStage::Libraries,
                       platform::ResetStage::Device}) {
        for (const auto& [stepStage, step] : steps) {
            if (stepStage == stage)
                step();
        }
    }
    return true;
}
