#include "res/NorvaneAppResources.h"

#include "platform/kernel/Resources.h"

// Defined by the source that norvane-rc generates from NorvaneApp.rc.
extern const ResourceModuleData NorvaneAppResources;

HINSTANCE RegisterNorvaneAppResources() {
    return RegisterResourceModule(kNorvaneAppModulePath, NorvaneAppResources);
}
