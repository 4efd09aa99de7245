#include "Canvas.h"

Canvas::Canvas(int width, int height, COLORREF background)
    : m_width(width), m_height(height), m_dc(CreateCompatibleDC(nullptr)),
      m_bitmap(CreateCompatibleBitmap(m_dc, width, height)),
      m_previous(SelectObject(m_dc, m_bitmap)) {
    HBRUSH brush = CreateSolidBrush(background);
    const RECT all{0, 0, width, height};
    FillRect(m_dc, &all, brush);
    DeleteObject(brush);
}

Canvas::~Canvas() {
    SelectObject(m_dc, m_previous);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
}

std::vector<std::string> Canvas::Picture(const std::map<COLORREF, char>& legend) const {
    std::vector<std::string> rows;
    for (int y = 0; y < m_height; ++y) {
        std::string row;
        for (int x = 0; x < m_width; ++x) {
            const auto it = legend.find(GetPixel(m_dc, x, y));
            row += it == legend.end() ? '?' : it->second;
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<COLORREF> Canvas::Pixels() const {
    std::vector<COLORREF> pixels;
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            pixels.push_back(GetPixel(m_dc, x, y));
        }
    }
    return pixels;
}
