// The modal loop of TrackPopupMenu, on the thread that tracks a menu: the windows of the popup
// menu and of its open submenus, where their items lie, the selection, and the stylus and key
// messages that work them. The owner window measures and draws the owner-drawn items.
#pragma once

#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "platform/user/MenuRecord.h"

class MenuLoop {
public:
    explicit MenuLoop(HWND owner);
    // Closes whatever is still open.
    ~MenuLoop();
    MenuLoop(const MenuLoop&) = delete;
    MenuLoop& operator=(const MenuLoop&) = delete;

    // Shows the menu as TrackPopupMenu's flags place it at (x, y) and runs until an item is
    // chosen or the menu closes. False when the menu could not be shown.
    bool Run(HMENU menu, UINT flags, int x, int y);
    // The id of the item chosen, 0 when none was.
    UINT Chosen() const { return m_chosen; }

    // The loop running on the calling thread, if any.
    static MenuLoop* Current();
    // WM_PAINT of one of the loop's windows.
    void Paint(HWND window);

private:
    struct Level {
        HMENU menu = nullptr;
        HWND window = nullptr;
        std::vector<RECT> items; // client coordinates, by position
        int selected = -1;
    };

    // Sends WM_INITMENUPOPUP, measures the items and shows the popup where place puts a window
    // of the given size (kept on the screen). False when there is nothing to show.
    bool Show(HMENU menu, int position, const std::function<POINT(SIZE)>& place);
    bool OpenSubmenu(std::size_t level, int position, bool selectFirst);
    // Destroys the windows of this level and those above it.
    void CloseFrom(std::size_t level);
    SIZE Measure(HMENU menu, int position);
    void DrawItem(const Level& level, int position, UINT action);
    void Select(std::size_t level, int position);
    void Step(int direction);
    void Choose(const MenuItem& item);

    void Input(const MSG& msg);
    void Key(UINT key);
    void Pointer(UINT message, POINT screen);
    // The level and item position under a screen point, deepest level first; level -1 when
    // the point is outside every popup, position -1 when it is on no item.
    std::pair<int, int> HitTest(POINT screen) const;
    // The owner, the menus and their windows still exist.
    bool StillValid() const;
    // Tells the window manager what shows now, for the simulator's status.
    void Publish() const;

    HWND m_owner;
    std::vector<Level> m_levels;
    std::map<std::pair<HMENU, int>, SIZE> m_measured; // once per tracking
    bool m_done = false;
    UINT m_chosen = 0;
};
