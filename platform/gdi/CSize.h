// The framework's size: a SIZE with comparison.
#pragma once

#include "platform/kernel/WinTypes.h"

class CSize : public SIZE {
public:
    CSize() = default;
    CSize(int width, int height) : SIZE{width, height} {}
    CSize(const SIZE& s) : SIZE(s) {}

    friend bool operator==(const CSize& a, const CSize& b) { return a.cx == b.cx && a.cy == b.cy; }
};
