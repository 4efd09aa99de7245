#include "platform/user/WindowTree.h"

#include <nlohmann/json.hpp>

#include "platform/kernel/CString.h"
#include "platform/user/ListBox.h"
#include "platform/user/WinUser.h"
#include "platform/user/WindowManager.h"

namespace {

nlohmann::json Describe(WindowManager& wm, WindowRecord& w) {
    const RECT r = wm.WindowScreenRect(w);
    const MessageQueue* q = wm.Queue(w.threadId);
    nlohmann::json children = nlohmann::json::array();
    for (HWND child : w.children)
        if (WindowRecord* c = wm.Find(child))
            children.push_back(Describe(wm, *c));
    nlohmann::json described{{"hwnd", reinterpret_cast<std::uintptr_t>(w.hwnd)},
                             {"class", CString(w.className).ToUtf8()},
                             {"thread", w.threadId},
                             {"id", w.id},
                             {"text", CString(w.text).ToUtf8()},
                             {"rect", {r.left, r.top, r.right, r.bottom}},
                             {"visible", wm.VisibleChain(w)},
                             {"focused", q && q->focus == w.hwnd},
                             {"children", std::move(children)}};
    if (w.className == L"ListBox" && !w.extra.empty()) {
        nlohmann::json lines = nlohmann::json::array();
        for (const std::wstring& line : ListBoxLinesOf(w.extra[0]))
            lines.push_back(CString(line).ToUtf8());
        described["lines"] = std::move(lines);
    }
    return described;
}

} // namespace

nlohmann::json DescribeWindowTree() {
    auto& wm = WindowManager::Instance();
    std::lock_guard lock(wm.Mutex());
    nlohmann::json tree = nlohmann::json::array();
    for (HWND top : wm.TopLevel())
        if (WindowRecord* w = wm.Find(top))
            tree.push_back(Describe(wm, *w));
    return tree;
}
