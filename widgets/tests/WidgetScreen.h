// Test fixture: the device's screen in manual time with one framework window covering it. Static
// controls are made in that window and subclassed by the widget under test, as a dialog's data
// exchange binds them; pixels are read back from the framebuffer through a colour legend.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/user/CWnd.h"

class WidgetScreen {
public:
    // What the framebuffer shows where no window paints.
    static constexpr COLORREF kScreen = RGB(0x40, 0x40, 0x40);

    WidgetScreen();
    ~WidgetScreen();
    WidgetScreen(const WidgetScreen&) = delete;
    WidgetScreen& operator=(const WidgetScreen&) = delete;

    CWnd& Parent() { return m_parent; }
    // A visible "Static" child with the given id at rect (screen and parent client coordinates
    // are the same here), not yet painted.
    HWND AddStatic(int id, const RECT& rect, LPCTSTR text = L"", DWORD style = SS_LEFT);

    // Dispatches everything this thread has waiting: sent and posted messages, paints and the
    // timers that are due. Returns the messages dispatched, in order.
    std::vector<MSG> Pump();
    // Lets ms of device time pass, then pumps.
    std::vector<MSG> Run(DWORD ms);

    // The pixels of rect on the screen, one character per pixel; colours not in the legend
    // read '?'.
    static std::vector<std::string> Picture(const RECT& rect,
                                            const std::map<COLORREF, char>& legend);
    static COLORREF Pixel(int x, int y);

private:
    CWnd m_parent;
};

// The messages of one kind for one window among those dispatched.
std::vector<MSG> MessagesFor(const std::vector<MSG>& messages, HWND hwnd, UINT message);
