// A framework class that can be created by name at run time (documents, frames, views). A
// class is made dynamically creatable by giving it a default constructor and a
// `static constexpr const char* kRuntimeClassName`; RuntimeClass<T>() is its descriptor.
#pragma once

#include "platform/kernel/WinTypes.h"
#include "platform/user/CObject.h"

struct CRuntimeClass {
    LPCSTR m_lpszClassName = nullptr;
    CObject* (*m_pfnCreateObject)() = nullptr;

    // A new object of the class, owned by the caller; null when the class cannot be created.
    CObject* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
};

template <class T> CRuntimeClass* RuntimeClass() {
    static CRuntimeClass descriptor{T::kRuntimeClassName, []() -> CObject* { return new T; }};
    return &descriptor;
}
