#include "platform/user/AfxFindResourceHandle.h"

#include "platform/kernel/Resources.h"

HINSTANCE AfxFindResourceHandle(LPCTSTR name, LPCTSTR type) {
    HINSTANCE resources = AfxGetResourceHandle();
    if (FindResource(resources, name, type)) {
        return resources;
    }
    HINSTANCE executable = AfxGetInstanceHandle();
    if (executable != resources && FindResource(executable, name, type)) {
        return executable;
    }
    return resources;
}
