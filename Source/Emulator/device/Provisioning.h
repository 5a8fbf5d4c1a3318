// Provisioning a device folder at every start: the steps of ProvisionSteps.h run in order, each
// adding only what is missing (Provisioner.h says what and when), and the folder's record
// notes the steps that went through. The device's root and registry must be set up before.
#pragma once

#include <string>
#include <vector>

#include "device/ProvisionRecord.h"
#include "device/Provisioner.h"

struct ProvisionResult {
    bool ok = false;
    std::string error;                  // why provisioning failed (the device is unusable)
    std::vector<std::string> messages;  // what is missing and what was repaired
};

// Runs every step (stopping at one that fails) and marks in `record` those that completed;
// saving the record is the caller's.
ProvisionResult provisionDevice(const ProvisionSources& sources, ProvisionRecord& record,
                                RegistryStart registryStart);
