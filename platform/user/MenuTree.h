// The popup menus on the screen as the simulator's status report reads them; not part of the
// platform's API.
#pragma once

#include <nlohmann/json_fwd.hpp>

// Every level of every menu being tracked, the top popup first, each as {menu (the handle as a
// number), hwnd, rect (screen: left, top, right, bottom), items: [{id, text, owner_drawn,
// checked, grayed, separator, selected, submenu}]}. text is the item's own text; the platform
// keeps none for an owner-drawn item, whose text is "". Reads the window manager's state
// directly, without messages, so it never waits for the tracking thread.
nlohmann::json DescribeOpenMenus();
