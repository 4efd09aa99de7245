// Test fixture: a memory device context on a small bitmap of a known background, read back as
// rows of characters, one per pixel, through a colour legend.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/gdi/WinGdi.h"

class Canvas {
public:
    Canvas(int width, int height, COLORREF background);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return m_dc; }
    HBITMAP bitmap() const { return m_bitmap; }
    // Each pixel as its legend character; colours not in the legend read '?'.
    std::vector<std::string> Picture(const std::map<COLORREF, char>& legend) const;
    // Every pixel's colour, row by row.
    std::vector<COLORREF> Pixels() const;

private:
    int m_width;
    int m_height;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_previous;
};
