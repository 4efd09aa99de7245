#include <gtest/gtest.h>

#include "sim/control/StatusCondition.h"

namespace {

const nlohmann::json kStatus = nlohmann::json::parse(R"({
    "state": "idle", "focus": "Zentra", "progress": null, "time_ms": 2500,
    "items": [{"text": "Zentra"}, {"text": "Quilbar"}], "running": {"program": "\\a.exe"},
    "ok": true})");

TEST(StatusConditionTest, ConditionsReadThePathTheyName) {
    const struct {
        const char* condition;
        bool holds;
        const char* actual;
    } cases[] = {
        {"state=idle", true, "idle"},
        {"state!=idle", false, "idle"},
        {"state=Idle", false, "idle"},
        {"focus=Zentra", true, "Zentra"},
        {"items.1.text=Quilbar", true, "Quilbar"},
        {"items.2.text=Quilbar", false, "null"},
        {"items>=2", true, "2"},
        {"items>=3", false, "2"},
        {"items<=2", true, "2"},
        {"time_ms>=2500", true, "2500"},
        {"time_ms<=2499", false, "2500"},
        {"progress=null", true, "null"},
        {"progress!=null", false, "null"},
        {"running.program=\\a.exe", true, "\\a.exe"},
        {"ok=true", true, "true"},
        {"missing.deeper=null", true, "null"},
        {"state>=1", false, "idle"},  // a text is not a number
        {"state=a=b", false, "idle"}, // the value keeps later operators
        {"time_ms=2500", true, "2500"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.condition);
        std::string error;
        const auto condition = StatusCondition::Parse(c.condition, error);
        ASSERT_TRUE(condition) << error;
        EXPECT_EQ(condition->Holds(kStatus), c.holds);
        EXPECT_EQ(condition->Actual(kStatus), c.actual);
    }
}

TEST(StatusConditionTest, TextsThatAreNoConditionAreRefusedWithTheReason) {
    for (const char* text : {"state", "=idle", "items>=many", "items..text=a", "a.=b"}) {
        std::string error;
        EXPECT_FALSE(StatusCondition::Parse(text, error)) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
}

} // namespace
