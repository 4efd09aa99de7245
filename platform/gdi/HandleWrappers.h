// The framework's handle maps: which C++ wrapper object stands for a GDI handle or device
// context. A wrapper attached by the program is permanent; for other handles a temporary
// wrapper is made on demand and freed when its handle is deleted.
#pragma once

#include <memory>
#include <typeindex>

class HandleWrappers {
public:
    static void AttachPermanent(const void* handle, void* wrapper);
    static void DetachPermanent(const void* handle);
    // The permanent wrapper only; null when the program attached none.
    static void* FindPermanent(const void* handle);
    // The permanent wrapper, or else the temporary one of the given kind, made by make.
    static void* Lookup(const void* handle, std::type_index kind,
                        std::shared_ptr<void> (*make)(const void* handle));
    // The handle was deleted: its temporary wrappers go.
    static void Forget(const void* handle);

    template <class Base, class T> static T* FromHandle(const void* handle) {
        if (!handle) {
            return nullptr;
        }
        void* wrapper = Lookup(handle, typeid(T), [](const void* h) {
            auto* t = new T;
            static_cast<Base*>(t)->AttachTemporary(const_cast<void*>(h));
            Base* base = t;
            return std::shared_ptr<void>(static_cast<void*>(base), [](void* p) {
                auto* b = static_cast<Base*>(p);
                b->DetachTemporary();
                delete static_cast<T*>(b);
            });
        });
        return static_cast<T*>(static_cast<Base*>(wrapper));
    }
};
