#include <gtest/gtest.h>

#include <set>

#include "sim/control/KeyNames.h"
#include "sim/frontend/KeypadPanel.h"

namespace {

TEST(KeypadPanelTest, EachDrawnKeyPressesItsOwnKeyAndTheGapsNone) {
    std::set<int> codes;
    for (const KeypadPanel::Key& key : KeypadPanel::Keys()) {
        SCOPED_TRACE(key.label);
        EXPECT_TRUE(KeyNames::NameOf(key.code) != "");
        codes.insert(key.code);
        EXPECT_GE(key.x, 0);
        EXPECT_LE(key.x + key.w, KeypadPanel::kWidth);
        EXPECT_LE(key.y + key.h, KeypadPanel::kHeight);
        // Corners and centre all land on this key: no two keys overlap.
        for (const auto& [x, y] : {std::pair{key.x, key.y},
                                   {key.x + key.w - 1, key.y + key.h - 1},
                                   {key.x + key.w / 2, key.y + key.h / 2}})
            EXPECT_EQ(KeypadPanel::KeyAt(x, y), key.code);
        EXPECT_EQ(KeypadPanel::KeyAt(key.x + key.w, key.y), std::nullopt); // the gap on its right
    }
    EXPECT_EQ(codes.size(), 12u);
    EXPECT_EQ(KeypadPanel::KeyAt(0, 0), std::nullopt);
}

} // namespace
