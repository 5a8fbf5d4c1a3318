// Provisioning a device folder.
#include "device/Provisioning.h"

#include "device/ProvisionSteps.h"

ProvisionResult provisionDevice(const ProvisionSources& sources, ProvisionRecord& record,
                                RegistryStart registryStart) {
    Provisioner provisioner(sources, record, registryStart);
    for (const ProvisionStep& step : provisionSteps()) {
        provisioner.beginStep(step.name);
        step.ensure(provisioner);
        if (provisioner.failed())
            break;
        if (provisioner.stepComplete())
            record.markStepDone(step.name);
    }
    ProvisionResult result;
    result.ok = !provisioner.failed();
    result.error = provisioner.error();
    result.messages = std::move(provisioner.messages());
    return result;
}
