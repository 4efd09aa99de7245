#include "widgets/QCheckTick.h"

void QCheckTick::Draw(CDC* pDC, LPCRECT box) {
    const CPoint c = CRect(box).CenterPoint();
    CPen pen(PS_SOLID, 2, RGB(0, 0, 0));
    CPen* previous = pDC->SelectObject(&pen);
    pDC->MoveTo(c.x - 4, c.y);
    pDC->LineTo(c.x - 1, c.y + 3);
    pDC->LineTo(c.x + 6, c.y - 4);
    pDC->SelectObject(previous);
}
