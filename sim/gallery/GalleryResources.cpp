#include "sim/gallery/GalleryResources.h"

#include "platform/kernel/Resources.h"

// Defined by the source that norvane-rc generates from Gallery.rc.
extern const ResourceModuleData GalleryResourceData;

HINSTANCE RegisterGalleryResources() {
    return RegisterResourceModule(kGalleryModulePath, GalleryResourceData);
}
