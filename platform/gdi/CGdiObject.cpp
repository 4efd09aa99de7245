#include "platform/gdi/CGdiObject.h"

#include "platform/gdi/HandleWrappers.h"

CGdiObject::~CGdiObject() {
    DeleteObject();
}

BOOL CGdiObject::Attach(HGDIOBJ object) {
    if (!object || m_hObject) {
        return FALSE;
    }
    m_hObject = object;
    HandleWrappers::AttachPermanent(object, this);
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ object = m_hObject;
    if (object) {
        HandleWrappers::DetachPermanent(object);
    }
    m_hObject = nullptr;
    return object;
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject) {
        return FALSE;
    }
    return ::DeleteObject(Detach());
}

BOOL CGdiObject::CreateStockObject(int index) {
    return Attach(::GetStockObject(index));
}

int CGdiObject::GetObject(int size, LPVOID buffer) const {
    return ::GetObject(m_hObject, size, buffer);
}

UINT CGdiObject::GetObjectType() const {
    return UINT(::GetObjectType(m_hObject));
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ object) {
    return HandleWrappers::FromHandle<CGdiObject, CGdiObject>(object);
}
