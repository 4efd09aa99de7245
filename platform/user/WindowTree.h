// The window tree as the simulator's status report reads it; not part of the platform's API.
#pragma once

#include <nlohmann/json_fwd.hpp>

// Every window, top-level windows top first, each as {hwnd, class, thread (the owning thread's
// id), id, text, rect (screen: left, top, right, bottom), visible, focused, children: [...]}; a
// list box also has its "lines". Reads the window manager's state directly, without messages, so it
// never waits for a busy thread.
nlohmann::json DescribeWindowTree();
