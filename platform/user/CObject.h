// The root of the framework's class tree: what a dynamically creatable class derives from.
#pragma once

class CObject {
public:
    virtual ~CObject() = default;

protected:
    CObject() = default;
};
