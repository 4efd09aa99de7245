// The texts of owner-drawn menu items in the status: folded from the kit's "menu.item" records
// and joined to the platform's list of open menus, alone and with a menu really tracked.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include <nlohmann/json.hpp>

#include "platform/kernel/DeviceClock.h"
#include "platform/kernel/EventLog.h"
#include "platform/user/CWnd.h"
#include "platform/user/MenuTree.h"
#include "sim/status/MenuItemTexts.h"
#include "widgets/QOwnerDrawMenu.h"

namespace {

void Item(std::uint64_t menu, std::uint64_t id, const std::string& text) {
    EventLog::Instance().Record("menu.item", {{"menu", menu}, {"id", id}, {"text", text}});
}

nlohmann::json OpenItem(std::uint64_t id, bool ownerDrawn, bool separator = false,
                        const std::string& text = "") {
    return {{"id", id}, {"text", text}, {"owner_drawn", ownerDrawn}, {"separator", separator}};
}

TEST(MenuItemTextsTest, OwnerDrawnItemsTakeTheTextLastReportedForTheirMenuAndId) {
    EventLog::Instance().Clear();
    Item(5, 1, "Red");
    MenuItemTexts texts; // what the log held already counts
    Item(5, 2, "Blue");
    Item(5, 1, "Crimson");
    Item(6, 3, "Elsewhere");
    Item(5, 0, "Separator text");
    Item(5, 4, "Ignored: the platform's own text wins");
    EventLog::Instance().Record("menu.item", {{"menu", "5"}, {"id", 9}, {"text", "bad"}});
    const nlohmann::json open = {
        {{"menu", 5},
         {"items",
          {OpenItem(1, true), OpenItem(0, true, true), OpenItem(2, true), OpenItem(3, true),
           OpenItem(4, false, false, "Plain"), OpenItem(9, true)}}}};
    const nlohmann::json named = texts.Named(open);
    std::vector<std::string> shown;
    for (const auto& item : named[0]["items"])
        shown.push_back(item["text"]);
    EXPECT_EQ(shown, (std::vector<std::string>{"Crimson", "", "Blue", "", "Plain", ""}));
}

// An owner window that runs a check when the menu loop dispatches WM_USER to it.
class InspectingOwner : public CWnd {
public:
    std::function<void()> inspect;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_USER && inspect)
            inspect();
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST(MenuItemTextsTest, TrackedKitMenuShowsItsItemsTextsInTheStatus) {
    DeviceClock::Instance().SetManual();
    EventLog::Instance().Clear();
    MenuItemTexts texts;
    InspectingOwner owner;
    ASSERT_TRUE(owner.CreateEx(0, AfxWndClassName(), L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 240,
                               320, nullptr, nullptr));
    QOwnerDrawMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AddTitle(L"Colours");
    menu.AddItem(11, L"Red", MF_CHECKED);
    menu.AddSeparator(L"unseen");
    menu.AddItem(12, L"Blue", MF_GRAYED);

    nlohmann::json seen;
    owner.inspect = [&] { seen = texts.Named(DescribeOpenMenus()); };
    owner.PostMessage(WM_KEYDOWN, VK_DOWN);
    owner.PostMessage(WM_KEYDOWN, VK_DOWN);
    owner.PostMessage(WM_USER);
    owner.PostMessage(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 20, 30, &owner), 0);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0]["rect"][0], 20);
    EXPECT_EQ(seen[0]["rect"][1], 30);
    const nlohmann::json& items = seen[0]["items"];
    ASSERT_EQ(items.size(), 4u);
    const std::string texts4[] = {"Colours", "Red", "", "Blue"};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(items[i]["text"], texts4[i]) << i;
        EXPECT_EQ(items[i]["selected"], i == 1) << i;
    }
    EXPECT_EQ(items[1]["checked"], true);
    EXPECT_EQ(items[3]["grayed"], true);
    EXPECT_EQ(items[2]["separator"], true);
    EXPECT_TRUE(texts.Named(DescribeOpenMenus()).empty());
    menu.ReleaseItemData(&menu);
    owner.DestroyWindow();
    DeviceClock::Instance().SetScaled(1.0);
}

} // namespace
